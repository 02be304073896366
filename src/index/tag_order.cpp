#include "index/tag_order.h"

#include "dbf/dbf_file.h"
#include "index/cdx_tag.h"
#include "index/index_set.h"
#include "index/tag_key_source.h"

namespace idx {

template <typename Move>
bool TagOrder::Moved(Move move) {
  uint32_t recno = 0;
  if (set_.locks_seeks()) {
    IndexLockScope lock(set_);
    recno = move();
  } else {
    recno = move();
  }
  return recno != 0 && file_.GoTo(recno);
}

bool TagOrder::First() {
  return Moved([&] { return tag_.First(); });
}

bool TagOrder::Last() {
  return Moved([&] { return tag_.Last(); });
}

bool TagOrder::Next() {
  return Moved([&] { return tag_.Next(); });
}

bool TagOrder::Prior() {
  return Moved([&] { return tag_.Prior(); });
}

bool TagOrder::Seat(uint32_t recno, const uint8_t* record) {
  if (recno == 0 || tag_.key_source() == nullptr) {
    tag_.Reset();
    return false;
  }
  TagKeySource& source = *tag_.key_source();
  const std::string key = tag_.KeyOf(source.Key(record));
  if (set_.locks_seeks()) {
    IndexLockScope lock(set_);
    return tag_.Seat(key, recno) && source.For(record);
  }
  return tag_.Seat(key, recno) && source.For(record);
}

bool TagOrder::GoToRecord(uint32_t recno) {
  if (recno == 0 || !file_.GoTo(recno)) return false;
  Seat(recno, file_.record());
  return true;
}

}  // namespace idx
