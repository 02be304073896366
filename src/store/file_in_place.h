#ifndef SALDEX_STORE_FILE_IN_PLACE_H_
#define SALDEX_STORE_FILE_IN_PLACE_H_

#include <stdexcept>
#include <string>

namespace store {

// A file that could not be written; the message is the operator's Czech text.
class FileWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Replaces the contents of the file `path` by `text` through the file
// itself: no file is created beside it, so the directory may be read-only,
// and owner, group, permissions, links and extended attributes stay. A
// missing file is created (with the process's umask). `old_text` is what the
// file holds now: when a write fails part way it is written back. Throws
// FileWriteError naming `what` and the path.
void RewriteFileInPlace(const std::string& path, const std::string& old_text,
                        const std::string& text, const std::string& what);

// Czech words for the reason of a failed file operation.
std::string FileErrorReason(int error_number);

}  // namespace store

#endif  // SALDEX_STORE_FILE_IN_PLACE_H_
