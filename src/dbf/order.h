#ifndef SALDEX_DBF_ORDER_H_
#define SALDEX_DBF_ORDER_H_

#include <cstdint>

namespace dbf {

// The candidate sequence the cursor moves through: record-number order
// (NaturalOrder) or the key order of a selected tag within its range. Every
// call that returns true has read the candidate into the table file's record
// buffer (DbfFile::record(), recno()); false means there is no candidate in
// that direction and the order keeps its position. Skipping deleted records
// is the cursor's business, not the order's.
class Order {
 public:
  virtual ~Order() = default;

  virtual bool First() = 0;
  virtual bool Last() = 0;
  virtual bool Next() = 0;
  virtual bool Prior() = 0;

  // Positions the order on record `recno`, whose image is `record`, without
  // reading it (for a tag: on its key and record number). Returns whether
  // the record belongs to the order; one that does not stays shown as a
  // record outside the order. REQUIRES: `record` is R bytes.
  virtual bool Seat(uint32_t recno, const uint8_t* record) = 0;

  // Reads record `recno` (ignoring order and range) and positions the order
  // on it. Returns false when there is no such record.
  virtual bool GoToRecord(uint32_t recno) = 0;

  // Whether the order reads through the table's ReadAheadBuffer.
  virtual bool natural() const = 0;
};

}  // namespace dbf

#endif  // SALDEX_DBF_ORDER_H_
