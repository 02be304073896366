#ifndef SALDEX_STORE_LOCK_WITH_RETRY_H_
#define SALDEX_STORE_LOCK_WITH_RETRY_H_

#include <functional>
#include <string>

#include "store/operator.h"

namespace store {

inline constexpr int kRecordLockTries = 10;

// Locks the current record of a table: up to kRecordLockTries calls of
// `try_lock` (true: locked), pending window messages run after each, no
// other pause. An exception from a try ends the tries as a failure. On
// failure shows "Nelze zamknout zaznam v tabulce " + `table_name` and
// returns false.
bool LockWithRetry(const std::function<bool()>& try_lock, const std::string& table_name,
                   Operator& op);

}  // namespace store

#endif  // SALDEX_STORE_LOCK_WITH_RETRY_H_
