#ifndef SALDEX_DBF_DISK_FILE_H_
#define SALDEX_DBF_DISK_FILE_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "dbf/lock_protocol.h"

namespace dbf {

// One open table or index file: positioned I/O, an emulated share mode and a
// counted byte-range lock that holds at most one range at a time.
//
// Share modes: a shared open holds a read lock on the byte at 2^40, an
// exclusive open a write lock there (open-file-description locks, never
// blocking), so an exclusive open is refused while any handle has the file
// open and a shared open while someone holds it exclusively.
// Byte-range locks are fcntl(F_OFD_SETLK) write locks (read locks on a handle
// opened read-only); they conflict between processes and between two handles
// of one process, and vanish when the handle closes.
//
// An exclusive read-only open uses a descriptor opened for reading and
// writing (only ever read through), because only such a descriptor can hold
// the write lock that keeps everyone else out. When the OS refuses write
// access, the file is opened read-only in shared mode instead (shared()
// then reports true): a mode that is not actually exclusive must not skip
// the locks and header refreshes that shared use needs.
//
// A process that inherited an open DiskFile through fork() shares its locks
// with the parent; Close() in such a process only closes its descriptor and
// never releases the parent's locks.
//
// Not thread-safe; one DiskFile is used by one thread.
class DiskFile {
 public:
  DiskFile() = default;
  ~DiskFile();
  DiskFile(const DiskFile&) = delete;
  DiskFile& operator=(const DiskFile&) = delete;

  // Opens an existing file (its name found without regard to case when the
  // exact name does not exist). Raises DbfError "File %s could not be found"
  // or "Access denied to file %s". Registers the file in OpenFileRegistry.
  void Open(const std::string& path, bool shared, bool read_write);
  // Releases the lock (whatever its count) and closes. Safe when not open.
  void Close();
  bool is_open() const { return fd_ >= 0; }

  // Returns the bytes read (fewer at the end of the file). Raises
  // "Error on Read of file %s" on an operating-system failure.
  size_t Read(uint64_t offset, void* buffer, size_t length);
  // Raises "Error writing to %s" unless every byte was written; a failing
  // system call adds its reason (": No space left on device") and errno
  // (DbfError::os_error). Some of the bytes may have been written then.
  // WriteFault (write_fault.h) injects such failures in tests.
  void Write(uint64_t offset, const void* buffer, size_t length);
  // Cuts (or extends with zero bytes) the file to `size` bytes. Raises
  // "Error writing to %s" with the system's reason.
  void Truncate(uint64_t size);
  // Raises "Error getting FileSize for file %s".
  uint64_t FileSize();
  // Raises "Error on Flush for file %s" (with the system's reason).
  void Flush();

  // A read-only shared mapping of the file's first kMappedHeadSize bytes,
  // made on first use and dropped by Close. It shows the bytes as any
  // process writes them (one page cache), without a system call per read,
  // for header words polled on every move such as a change counter. nullptr
  // when the file is shorter than `needed` bytes or cannot be mapped.
  static constexpr size_t kMappedHeadSize = 4096;
  const volatile uint8_t* MappedHead(size_t needed);

  // Counted lock (see the contract in the class comment): exclusive files
  // only count; a shared file asks the OS at count 0, and above 0 succeeds
  // only for the remembered range. Never waits.
  bool LockRange(uint32_t offset, uint32_t length);
  bool LockRange(dbf::LockRange range) { return LockRange(range.offset, range.length); }
  bool LockWholeFile() { return LockRange(0, 0x7FFFFFFF); }
  // Releases one level; the OS lock goes at count 1. Raises
  // "Error in Unlock of file %s" when the OS refuses.
  void Unlock();

  const std::string& path() const { return path_; }
  bool shared() const { return shared_; }
  bool read_write() const { return read_write_; }
  int32_t lock_count() const { return lock_count_; }
  dbf::LockRange locked_range() const { return range_; }

 private:
  std::string path_;
  int fd_ = -1;
  bool shared_ = true;
  bool read_write_ = false;
  int32_t lock_count_ = 0;
  dbf::LockRange range_;
  long owner_process_ = 0;  // process that opened the file
  void* mapped_head_ = nullptr;

  bool OsLock(short type, uint64_t offset, uint64_t length);
  [[noreturn]] void Fail(const char* pattern) const;
  // As Fail, adding the system's reason for `error_number` when it is not 0.
  [[noreturn]] void FailWithReason(const char* pattern, int error_number) const;
};

}  // namespace dbf

#endif  // SALDEX_DBF_DISK_FILE_H_
