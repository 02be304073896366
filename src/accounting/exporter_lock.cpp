#include "accounting/exporter_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "dbf/errors.h"
#include "dbf/file_names.h"
#include "dbf/system_path.h"

namespace accounting {

ExporterLock::~ExporterLock() {
  Release();
}

bool ExporterLock::TryAcquire(const std::string& table_path) {
  Release();
  // Every exporter locks the one file, however its name is spelled.
  const std::optional<std::string> found = dbf::FindFileIgnoringCase(table_path);
  const int fd = ::open(dbf::SystemPath(found.value_or(table_path)).c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) throw dbf::DbfError(dbf::FormatMessage("Access denied to file %s", table_path));
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(kExporterLockOffset);
  lock.l_len = 1;
  int result;
  do {
    result = ::fcntl(fd, F_OFD_SETLK, &lock);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    const int error = errno;
    ::close(fd);
    // Refused because another descriptor holds it; anything else is a file
    // system that cannot lock.
    if (error == EAGAIN || error == EACCES) return false;
    throw dbf::DbfError(dbf::FormatMessage("Can not Lock file %s", table_path));
  }
  fd_ = fd;
  return true;
}

void ExporterLock::Release() {
  if (fd_ < 0) return;
  // Closing the descriptor drops its lock.
  ::close(fd_);
  fd_ = -1;
}

}  // namespace accounting
