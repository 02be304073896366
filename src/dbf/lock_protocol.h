#ifndef SALDEX_DBF_LOCK_PROTOCOL_H_
#define SALDEX_DBF_LOCK_PROTOCOL_H_

#include <cstdint>

namespace dbf {

// Byte-range lock protocols shared with the other programs that use the same
// tables. All offsets and lengths are 32-bit (the high parts are always 0).
//
//  Protocol   base        append lock   whole-table length
//  Default    0x40000000  0x7FFFFFFE    0x3FFFFFFF
//  DB4Lock    0x40000000  0xEFFFFFFF    0xB0000000
//  ClipLock   1000000000  1000000000    1000000000      (decimal)
//  FoxLock    as Default
//
//  Lock (n = record number,    Default / FoxLock          DB4Lock              ClipLock
//        H, R = header and
//        record length)
//  record n, index open        0x7FFFFFFE - n, 1           0xEFFFFFFF - n - 1, 1  1000000000 + n, 1
//  record n, no index open     0x40000000 + H + (n-1)*R, 1 as with an index       as with an index
//  append lock of a table      0x7FFFFFFE, 1               0xEFFFFFFF, 1          1000000000, 1
//  index lock of an index file 0x7FFFFFFD, 1               0xEFFFFFFE, 2          1000000000, 1
enum class LockProtocol { kDefault, kDb4Lock, kClipLock, kFoxLock };

struct LockRange {
  uint32_t offset = 0;
  uint32_t length = 0;
  friend bool operator==(const LockRange&, const LockRange&) = default;
};

struct LockConstants {
  uint32_t base;
  uint32_t append_offset;
  uint32_t whole_table_length;
};

LockConstants ConstantsOf(LockProtocol protocol);
LockRange RecordLockRange(LockProtocol protocol, uint32_t recno, bool index_open,
                          uint32_t header_length, uint32_t record_length);
LockRange AppendLockRange(LockProtocol protocol);
LockRange IndexLockRange(LockProtocol protocol);

// Index locks are retried: at most kIndexLockAttempts tries, kIndexLockPauseMs apart.
constexpr int kIndexLockAttempts = 5000 / 50;
constexpr int kIndexLockPauseMs = 50;

}  // namespace dbf

#endif  // SALDEX_DBF_LOCK_PROTOCOL_H_
