#include "dbf/dbf_checker.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "dbf/disk_file.h"
#include "dbf/little_endian.h"

namespace dbf {
namespace {

constexpr size_t kHeaderSize = 32;
constexpr size_t kDescriptorSize = 32;
constexpr uint32_t kVfpAreaSize = 263;
constexpr uint8_t kTerminator = 0x0D;
constexpr uint8_t kEndOfFile = 0x1A;

bool IsAcceptedVersion(uint8_t v) {
  return v == 0x03 || v == 0x04 || v == 0x30 || v == 0x83 || v == 0x8B || v == 0xF5;
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

std::string Text(uint64_t value) {
  return std::to_string(value);
}

// The descriptors: a terminator before the last one, width 0 and fields past
// the record are faults.
void CheckDescriptors(const std::vector<uint8_t>& raw, uint32_t count, uint32_t record_length,
                      TableCheckReport& report) {
  uint64_t end = 1;  // after the deletion flag
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* d = &raw[i * kDescriptorSize];
    if (d[0] == kTerminator) {
      report.faults.push_back(
          "header length does not fit the field descriptors: the terminator "
          "0x0D stands after field " +
          Text(i) + " of the " + Text(count) + " it makes room for");
      return;
    }
    const void* nul = std::memchr(d, 0, 10);
    const std::string name(reinterpret_cast<const char*>(d),
                           nul ? static_cast<const uint8_t*>(nul) - d : 10);
    const uint32_t width = d[11] == 'C' ? d[16] + 256u * d[17] : d[16];
    if (width == 0) report.faults.push_back("field " + name + " has width 0");
    end += width;
  }
  if (end > record_length) {
    report.faults.push_back("fields end at byte " + Text(end) + ", past the record length " +
                            Text(record_length));
  } else if (end < record_length) {
    report.notes.push_back("fields end at byte " + Text(end) + " of a record of " +
                           Text(record_length));
  }
}

}  // namespace

TableCheckReport CheckTableFile(const std::string& path) {
  TableCheckReport report;
  DiskFile file;
  file.Open(path, true, false);
  const uint64_t size = file.FileSize();
  uint8_t header[kHeaderSize] = {};
  if (file.Read(0, header, kHeaderSize) < kHeaderSize) {
    report.faults.push_back("the file ends inside the 32-byte header");
    return report;
  }
  const uint8_t version = header[0];
  if (!IsAcceptedVersion(version)) {
    report.faults.push_back("version byte " + Hex(version) + " is not accepted");
    return report;
  }
  const uint32_t header_length = Load16(&header[8]);
  const uint32_t record_length = Load16(&header[10]);
  const uint32_t fixed = version == 0x30 ? 33 + kVfpAreaSize : 33;
  if (record_length == 0) report.faults.push_back("record length is 0");
  if (header_length < fixed) {
    report.faults.push_back("header length " + Text(header_length) + " is below " + Text(fixed));
    return report;
  }
  if ((header_length - fixed) % kDescriptorSize != 0) {
    report.faults.push_back(
        "header length " + Text(header_length) + " does not fit the field descriptors: " +
        Text((header_length - fixed) % kDescriptorSize) + " bytes beyond whole descriptors");
  }
  const uint32_t count = (header_length - fixed) / kDescriptorSize;
  // The descriptors and the terminator after them.
  std::vector<uint8_t> raw(count * kDescriptorSize + 1);
  if (file.Read(kHeaderSize, raw.data(), raw.size()) < raw.size()) {
    report.faults.push_back("the file ends inside the field descriptors");
    return report;
  }
  CheckDescriptors(raw, count, record_length, report);
  if (raw.back() != kTerminator) {
    report.faults.push_back("header terminator 0x0D missing at offset " +
                            Text(kHeaderSize + count * kDescriptorSize) + " (found " +
                            Hex(raw.back()) + ")");
  }
  if (record_length == 0) return report;
  if (size < header_length) {
    report.faults.push_back("the file ends at byte " + Text(size) + ", inside its header of " +
                            Text(header_length) + " bytes");
    return report;
  }
  const uint64_t whole = (size - header_length) / record_length;
  const uint64_t tail = (size - header_length) % record_length;
  uint8_t mark = 0;
  const bool eof_mark = tail == 1 && file.Read(size - 1, &mark, 1) == 1 && mark == kEndOfFile;
  if (tail != 0 && !eof_mark) {
    report.faults.push_back("last record cut: " + Text(tail) + " bytes after record " +
                            Text(whole) + " are neither a whole record nor the end-of-file mark");
  }
  if (tail == 0) report.notes.push_back("no end-of-file mark after the last record");
  const uint32_t stored = Load32(&header[4]);
  if (stored != whole) {
    report.faults.push_back("header record count " + Text(stored) + " differs from the " +
                            Text(whole) + " whole records the file size gives");
  }
  return report;
}

}  // namespace dbf
