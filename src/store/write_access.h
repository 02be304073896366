#ifndef SALDEX_STORE_WRITE_ACCESS_H_
#define SALDEX_STORE_WRITE_ACCESS_H_

#include <optional>
#include <string>

namespace store {

// Why this process may not write to `path` (a file or a directory, code page
// 1250, found without regard to case): the operating system's reason, such
// as "Permission denied" or "Read-only file system" (code page 1250).
// nullopt when it may write, and when the path does not exist.
std::optional<std::string> WriteRefusal(const std::string& path);

}  // namespace store

#endif  // SALDEX_STORE_WRITE_ACCESS_H_
