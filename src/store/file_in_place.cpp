#include "store/file_in_place.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "store/ansi_text.h"

namespace store {
namespace {

// Writes all of `text` at offset 0; errno of the failure, 0 on success.
int WriteAll(int fd, const std::string& text) {
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t n =
        ::pwrite(fd, text.data() + written, text.size() - written, static_cast<off_t>(written));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    written += static_cast<size_t>(n);
  }
  return 0;
}

int Replace(int fd, const std::string& text) {
  if (const int error = WriteAll(fd, text)) return error;
  if (::ftruncate(fd, static_cast<off_t>(text.size())) != 0) return errno;
  if (::fsync(fd) != 0) return errno;
  return 0;
}

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error_number) {
  throw FileWriteError(what + " nelze zapsat do souboru " + path + " (" +
                       FileErrorReason(error_number) + ").");
}

}  // namespace

std::string FileErrorReason(int error_number) {
  switch (error_number) {
    case EACCES:
    case EPERM:
      return Ansi("přístup odepřen");
    case EROFS:
      return Ansi("disk je jen pro čtení");
    case ENOSPC:
    case EDQUOT:
      return Ansi("na disku není místo");
    case ENOENT:
    case ENOTDIR:
      return Ansi("složka neexistuje");
    case EISDIR:
      return Ansi("je to složka");
    case ETXTBSY:
    case EBUSY:
      return Ansi("soubor je používán");
    default:
      return Ansi("chyba systému č. ") + std::to_string(error_number);
  }
}

void RewriteFileInPlace(const std::string& path, const std::string& old_text,
                        const std::string& text, const std::string& what) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) Fail(what, path, errno);
  const int error = Replace(fd, text);
  if (error != 0) Replace(fd, old_text);  // best effort: the file as it was
  const bool closed = ::close(fd) == 0;
  if (error != 0) Fail(what, path, error);
  if (!closed) Fail(what, path, errno);
}

}  // namespace store
