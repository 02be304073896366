#include "dbf/table_mend.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/little_endian.h"
#include "dbf/system_path.h"

namespace dbf {
namespace {

constexpr uint8_t kEndOfFile = 0x1A;

// Copies all of `source` to a new file `backup_path` (never replacing one)
// and makes the copy durable before the original is touched.
void CopyToBackup(DiskFile& source, const std::string& table_path, const std::string& backup_path) {
  const std::string system_path = SystemPath(backup_path);
  const int fd = ::open(system_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) {
      throw DbfError(
          FormatMessage("Cannot mend %s: the backup %s exists already", table_path, backup_path));
    }
    throw DbfError(FormatMessage("Error writing to %s", backup_path), errno);
  }
  const auto fail = [&](int error) {
    ::close(fd);
    ::unlink(system_path.c_str());
    throw DbfError(FormatMessage("Error writing to %s", backup_path), error);
  };
  std::vector<uint8_t> block(1 << 16);
  uint64_t offset = 0;
  for (;;) {
    const size_t got = source.Read(offset, block.data(), block.size());
    if (got == 0) break;
    size_t done = 0;
    while (done < got) {
      const ssize_t n = ::write(fd, block.data() + done, got - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) fail(n < 0 ? errno : ENOSPC);
      done += static_cast<size_t>(n);
    }
    offset += got;
  }
  if (::fsync(fd) != 0) fail(errno);
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(system_path.c_str());
    throw DbfError(FormatMessage("Error writing to %s", backup_path), error);
  }
}

}  // namespace

TableMendReport MendTableFile(const std::string& path) {
  DbfFile table;
  table.Open(path, false, true);  // validates header and descriptors
  DiskFile& file = table.disk();
  TableMendReport report;
  report.path = table.path();
  const uint64_t size = file.FileSize();
  const uint32_t h = table.header_length();
  const uint32_t r = table.record_length();
  if (size < h) {
    throw DbfError(FormatMessage("Cannot mend %s: the file ends inside its header", report.path));
  }
  report.record_count = table.record_count();
  report.old_header_count = Load32(&table.header_image()[4]);
  const uint64_t records_end = h + uint64_t{report.record_count} * r;
  const uint64_t tail = size - records_end;
  uint8_t mark = 0;
  const bool sound_tail =
      tail == 0 || (tail == 1 && file.Read(records_end, &mark, 1) == 1 && mark == kEndOfFile);
  const bool count_right = report.old_header_count == report.record_count;
  if (sound_tail && count_right) return report;

  const std::string backup = report.path + ".bak";
  CopyToBackup(file, report.path, backup);
  report.backup_path = backup;
  if (!sound_tail) {
    file.Truncate(records_end);
    file.Write(records_end, &kEndOfFile, 1);
    report.partial_record_bytes = tail;
    report.end_mark_added = true;
  }
  if (!count_right) {
    uint8_t count[4];
    Store32(count, report.record_count);
    file.Write(4, count, sizeof count);
  }
  file.Flush();
  return report;
}

}  // namespace dbf
