#ifndef SALDEX_INDEX_TAG_ORDER_H_
#define SALDEX_INDEX_TAG_ORDER_H_

#include "dbf/order.h"

namespace dbf {
class DbfFile;
}

namespace idx {

class CdxTag;
class IndexSet;

// The cursor's candidate sequence in the key order of a tag within its range. Each move reads
// the record it lands on. With ClipLock the index files are locked around every move and
// released after it.
// REQUIRES: the table, the set and the tag outlive the order; the tag has a key source.
class TagOrder : public dbf::Order {
 public:
  TagOrder(dbf::DbfFile& file, IndexSet& set, CdxTag& tag) : file_(file), set_(set), tag_(tag) {}

  bool First() override;
  bool Last() override;
  bool Next() override;
  bool Prior() override;
  bool Seat(uint32_t recno, const uint8_t* record) override;
  bool GoToRecord(uint32_t recno) override;
  bool natural() const override { return false; }

  CdxTag& tag() { return tag_; }

 private:
  template <typename Move>
  bool Moved(Move move);

  dbf::DbfFile& file_;
  IndexSet& set_;
  CdxTag& tag_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_TAG_ORDER_H_
