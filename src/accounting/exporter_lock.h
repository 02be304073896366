#ifndef SALDEX_ACCOUNTING_EXPORTER_LOCK_H_
#define SALDEX_ACCOUNTING_EXPORTER_LOCK_H_

#include <cstdint>
#include <string>

namespace accounting {

// Keeps exports into one Saldex 2 directory apart: a write lock on one byte
// of KPOHLED.DBF that only exporters take, held for a whole export run, so
// the existence test and the append of an invoice are never split by another
// exporter (F10 in another window, a scheduled batch export).
//
// The byte lies at kExporterLockOffset, above every offset of the table lock
// protocols (all below 2^32) and beside the share-mode byte 2^40 that every
// open of the table holds (dbf/disk_file.cpp), so Saldex 2's record, append
// and index locks and the table's share mode never meet it. It is an
// open-file-description lock on a descriptor of its own: it conflicts with
// another exporter in this or any other process and the operating system
// drops it when the process ends, so a crashed export never leaves it behind.
class ExporterLock {
 public:
  static constexpr uint64_t kExporterLockOffset = (uint64_t{1} << 40) + 1;

  ExporterLock() = default;
  ~ExporterLock();
  ExporterLock(const ExporterLock&) = delete;
  ExporterLock& operator=(const ExporterLock&) = delete;

  // Takes the lock on the receivables file `table_path` (code page 1250,
  // found without regard to case) without waiting; false when another exporter holds it. Raises
  // DbfError "Access denied to file %s" when the file cannot be opened for writing, "Can not Lock
  // file %s" when its file system refuses locks.
  bool TryAcquire(const std::string& table_path);
  // Releases the lock; nothing when not held.
  void Release();
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_EXPORTER_LOCK_H_
