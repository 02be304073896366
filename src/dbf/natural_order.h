#ifndef SALDEX_DBF_NATURAL_ORDER_H_
#define SALDEX_DBF_NATURAL_ORDER_H_

#include "dbf/order.h"

namespace dbf {

class DbfFile;

// Record-number order: the physical records 1..count. The position is kept
// here, so seating the order on a record costs no read.
class NaturalOrder : public Order {
 public:
  explicit NaturalOrder(DbfFile& file) : file_(file) {}

  bool First() override;
  bool Last() override;
  bool Next() override;
  bool Prior() override;
  bool Seat(uint32_t recno, const uint8_t* record) override;
  bool GoToRecord(uint32_t recno) override;
  bool natural() const override { return true; }

  uint32_t position() const { return position_; }

 private:
  bool Read(uint32_t recno);

  DbfFile& file_;
  uint32_t position_ = 0;  // 0: before the first record
};

}  // namespace dbf

#endif  // SALDEX_DBF_NATURAL_ORDER_H_
