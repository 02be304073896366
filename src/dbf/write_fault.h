#ifndef SALDEX_DBF_WRITE_FAULT_H_
#define SALDEX_DBF_WRITE_FAULT_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace dbf {

// Test hook of the file layer: while armed, DiskFile::Write to the named file
// behaves as on a disk that fills up or fails part way. The first
// `bytes_before_failure` bytes (summed over all writes to the file) are
// written; the write that would pass them writes what is left of the budget
// (a short write) and then fails with `error_number` (ENOSPC, EIO, ...).
// That one system write fails; a fault armed `lasting` then fails every
// later write to the file as well (a disk that stays full), otherwise it is
// spent and later writes go through, so a test can see what the engine puts
// back after the failure.
// Truncation is not affected.
//
// Process-wide and not thread-safe; only tests arm it.
class WriteFault {
 public:
  // `file_name` is the last path component, compared without regard to
  // case; an empty name matches every file.
  static void Arm(const std::string& file_name, uint64_t bytes_before_failure, int error_number,
                  bool lasting = false);
  static void Disarm();

  // Used by DiskFile::Write before each system write of `length` bytes to
  // `path`: the number of bytes it may write (== length when not armed);
  // 0 with *error_number set when the write must fail now.
  static size_t Allow(const std::string& path, size_t length, int* error_number);
};

// Arms a WriteFault for the lifetime of the object.
class ScopedWriteFault {
 public:
  ScopedWriteFault(const std::string& file_name, uint64_t bytes_before_failure, int error_number,
                   bool lasting = false) {
    WriteFault::Arm(file_name, bytes_before_failure, error_number, lasting);
  }
  ~ScopedWriteFault() { WriteFault::Disarm(); }
  ScopedWriteFault(const ScopedWriteFault&) = delete;
  ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;
};

}  // namespace dbf

#endif  // SALDEX_DBF_WRITE_FAULT_H_
