#include "dbf/natural_order.h"

#include "dbf/dbf_file.h"

namespace dbf {

bool NaturalOrder::Read(uint32_t recno) {
  if (!file_.GoTo(recno)) return false;
  position_ = recno;
  return true;
}

bool NaturalOrder::First() {
  return Read(1);
}

bool NaturalOrder::Last() {
  if (!file_.GoTo(DbfFile::Move::kLast)) return false;
  position_ = file_.recno();
  return true;
}

bool NaturalOrder::Next() {
  return Read(position_ + 1);
}

bool NaturalOrder::Prior() {
  if (position_ <= 1) return false;
  return Read(position_ - 1);
}

bool NaturalOrder::Seat(uint32_t recno, const uint8_t* /*record*/) {
  position_ = recno;
  return true;
}

bool NaturalOrder::GoToRecord(uint32_t recno) {
  return Read(recno);
}

}  // namespace dbf
