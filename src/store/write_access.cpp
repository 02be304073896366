#include "store/write_access.h"

#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <cerrno>

#include "dbf/file_names.h"
#include "dbf/system_path.h"

namespace store {

std::optional<std::string> WriteRefusal(const std::string& path) {
  const std::optional<std::string> found = dbf::FindFileIgnoringCase(path);
  const std::string system_path = dbf::SystemPath(found ? *found : path);
  // The effective user decides, as it does for the open that follows.
  if (::faccessat(AT_FDCWD, system_path.c_str(), W_OK, AT_EACCESS) == 0) return std::nullopt;
  const int error = errno;
  if (error == ENOENT) return std::nullopt;
  return dbf::ProgramPath(::strerror(error));
}

}  // namespace store
