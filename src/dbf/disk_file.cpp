#include "dbf/disk_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "dbf/errors.h"
#include "dbf/file_names.h"
#include "dbf/open_file_registry.h"
#include "dbf/system_path.h"
#include "dbf/write_fault.h"

namespace dbf {
namespace {

// One byte far above every 32-bit lock-protocol offset: a shared open holds a
// read lock on it, an exclusive open a write lock.
constexpr uint64_t kShareModeByte = uint64_t{1} << 40;

constexpr uint64_t kMaxOffset = static_cast<uint64_t>(std::numeric_limits<off_t>::max());

bool WriteAccessRefused(int error) {
  return error == EACCES || error == EPERM || error == EROFS || error == ETXTBSY;
}

}  // namespace

DiskFile::~DiskFile() {
  Close();
}

void DiskFile::Fail(const char* pattern) const {
  throw DbfError(FormatMessage(pattern, path_));
}

void DiskFile::FailWithReason(const char* pattern, int error_number) const {
  throw DbfError(FormatMessage(pattern, path_), error_number);
}

bool DiskFile::OsLock(short type, uint64_t offset, uint64_t length) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(offset);
  lock.l_len = static_cast<off_t>(length);
  lock.l_pid = 0;
  return ::fcntl(fd_, F_OFD_SETLK, &lock) == 0;
}

void DiskFile::Open(const std::string& path, bool shared, bool read_write) {
  Close();
  path_ = path;
  shared_ = shared;
  read_write_ = read_write;
  lock_count_ = 0;
  range_ = {};

  const std::optional<std::string> found = FindFileIgnoringCase(path);
  if (!found) Fail("File %s could not be found");

  // See the class comment for the exclusive read-only case.
  const bool need_write_descriptor = read_write || !shared;
  const std::string system_path = SystemPath(*found);
  int fd = ::open(system_path.c_str(), (need_write_descriptor ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (fd < 0 && !read_write && !shared && WriteAccessRefused(errno)) {
    shared_ = true;
    fd = ::open(system_path.c_str(), O_RDONLY | O_CLOEXEC);
  }
  if (fd < 0) {
    if (errno == ENOENT) Fail("File %s could not be found");
    Fail("Access denied to file %s");
  }
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    Fail("Access denied to file %s");
  }
  fd_ = fd;
  if (!OsLock(shared_ ? F_RDLCK : F_WRLCK, kShareModeByte, 1)) {
    ::close(fd_);
    fd_ = -1;
    Fail("Access denied to file %s");
  }
  owner_process_ = static_cast<long>(::getpid());
  OpenFileRegistry::Add(this);
}

void DiskFile::Close() {
  if (fd_ < 0) return;
  OpenFileRegistry::Remove(this);
  // Closing the descriptor releases every lock of this handle anyway, so an
  // unlock refusal here is not reported. A forked child must not unlock: the
  // locks belong to the descriptor it shares with its parent.
  if (lock_count_ > 0 && owner_process_ == static_cast<long>(::getpid())) {
    lock_count_ = 1;
    try {
      Unlock();
    } catch (const DbfError&) {
    }
  }
  if (mapped_head_ != nullptr) {
    ::munmap(mapped_head_, kMappedHeadSize);
    mapped_head_ = nullptr;
  }
  ::close(fd_);
  fd_ = -1;
  lock_count_ = 0;
}

size_t DiskFile::Read(uint64_t offset, void* buffer, size_t length) {
  if (fd_ < 0 || offset > kMaxOffset || length > kMaxOffset - offset) {
    Fail("Error on Read of file %s");
  }
  auto* dest = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < length) {
    const ssize_t n = ::pread(fd_, dest + done, length - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      FailWithReason("Error on Read of file %s", errno);
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

void DiskFile::Write(uint64_t offset, const void* buffer, size_t length) {
  // An exclusive read-only file has a writable descriptor; it is still read-only.
  if (!read_write_ || offset > kMaxOffset || length > kMaxOffset - offset) {
    Fail("Error writing to %s");
  }
  if (fd_ < 0) Fail("Error writing to %s");
  const auto* src = static_cast<const uint8_t*>(buffer);
  size_t done = 0;
  while (done < length) {
    int injected = 0;
    const size_t allowed = WriteFault::Allow(path_, length - done, &injected);
    if (allowed == 0) FailWithReason("Error writing to %s", injected);
    const ssize_t n = ::pwrite(fd_, src + done, allowed, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) FailWithReason("Error writing to %s", errno);
    // A regular file takes no byte only when no room is left for it.
    if (n == 0) FailWithReason("Error writing to %s", ENOSPC);
    done += static_cast<size_t>(n);
  }
}

void DiskFile::Truncate(uint64_t size) {
  if (fd_ < 0 || !read_write_ || size > kMaxOffset) Fail("Error writing to %s");
  while (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
    if (errno != EINTR) FailWithReason("Error writing to %s", errno);
  }
}

uint64_t DiskFile::FileSize() {
  struct stat info;
  if (::fstat(fd_, &info) != 0) Fail("Error getting FileSize for file %s");
  return static_cast<uint64_t>(info.st_size);
}

const volatile uint8_t* DiskFile::MappedHead(size_t needed) {
  if (mapped_head_ == nullptr) {
    // Bytes of the mapped page past the end of the file read as zero; only a
    // page wholly past the end would fault, hence the minimum length.
    if (needed > kMappedHeadSize || FileSize() < needed) return nullptr;
    void* map = ::mmap(nullptr, kMappedHeadSize, PROT_READ, MAP_SHARED, fd_, 0);
    if (map == MAP_FAILED) return nullptr;
    mapped_head_ = map;
  }
  return static_cast<const volatile uint8_t*>(mapped_head_);
}

void DiskFile::Flush() {
  if (fd_ < 0) Fail("Error on Flush for file %s");
  if (::fsync(fd_) != 0) FailWithReason("Error on Flush for file %s", errno);
}

bool DiskFile::LockRange(uint32_t offset, uint32_t length) {
  if (fd_ < 0) return false;
  const dbf::LockRange wanted{offset, length};
  if (!shared_) {
    ++lock_count_;
    range_ = wanted;
    return true;
  }
  if (lock_count_ > 0) {
    if (wanted != range_) return false;
    ++lock_count_;
    return true;
  }
  range_ = wanted;
  // A zero length would lock to the end of all offsets with fcntl.
  if (length == 0) return false;
  if (!OsLock(read_write_ ? F_WRLCK : F_RDLCK, offset, length)) return false;
  lock_count_ = 1;
  return true;
}

void DiskFile::Unlock() {
  if (lock_count_ <= 0) return;
  if (shared_ && lock_count_ == 1 && !OsLock(F_UNLCK, range_.offset, range_.length)) {
    Fail("Error in Unlock of file %s");
  }
  --lock_count_;
}

}  // namespace dbf
