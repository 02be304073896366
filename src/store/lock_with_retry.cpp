#include "store/lock_with_retry.h"

#include <exception>

namespace store {

bool LockWithRetry(const std::function<bool()>& try_lock, const std::string& table_name,
                   Operator& op) {
  bool locked = false;
  try {
    for (int attempt = 0; attempt < kRecordLockTries && !locked; ++attempt) {
      locked = try_lock();
      op.ProcessMessages();
    }
  } catch (const std::exception&) {
    locked = false;
  }
  if (!locked) op.ShowMessage("Nelze zamknout zaznam v tabulce " + table_name, kApplicationTitle);
  return locked;
}

}  // namespace store
