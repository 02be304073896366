#include "dbf/lock_protocol.h"

namespace dbf {
namespace {

constexpr uint32_t kClipBase = 1000000000u;

}  // namespace

LockConstants ConstantsOf(LockProtocol protocol) {
  switch (protocol) {
    case LockProtocol::kDb4Lock:
      return {0x40000000u, 0xEFFFFFFFu, 0xB0000000u};
    case LockProtocol::kClipLock:
      return {kClipBase, kClipBase, kClipBase};
    case LockProtocol::kDefault:
    case LockProtocol::kFoxLock:
      break;
  }
  return {0x40000000u, 0x7FFFFFFEu, 0x3FFFFFFFu};
}

// Offsets wrap modulo 2^32 like the 32-bit arithmetic of the other programs.
LockRange RecordLockRange(LockProtocol protocol, uint32_t recno, bool index_open,
                          uint32_t header_length, uint32_t record_length) {
  switch (protocol) {
    case LockProtocol::kDb4Lock:
      return {0xEFFFFFFFu - recno - 1u, 1};
    case LockProtocol::kClipLock:
      return {kClipBase + recno, 1};
    case LockProtocol::kDefault:
    case LockProtocol::kFoxLock:
      break;
  }
  if (index_open) return {0x7FFFFFFEu - recno, 1};
  return {0x40000000u + header_length + (recno - 1u) * record_length, 1};
}

LockRange AppendLockRange(LockProtocol protocol) {
  return {ConstantsOf(protocol).append_offset, 1};
}

LockRange IndexLockRange(LockProtocol protocol) {
  switch (protocol) {
    case LockProtocol::kDb4Lock:
      return {0xEFFFFFFEu, 2};
    case LockProtocol::kClipLock:
      return {kClipBase, 1};
    case LockProtocol::kDefault:
    case LockProtocol::kFoxLock:
      break;
  }
  return {0x7FFFFFFDu, 1};
}

}  // namespace dbf
