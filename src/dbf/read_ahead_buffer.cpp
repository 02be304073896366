#include "dbf/read_ahead_buffer.h"

#include <algorithm>
#include <cstring>

#include "dbf/disk_file.h"

namespace dbf {

void ReadAheadBuffer::Enable(uint32_t header_length, uint32_t record_length) {
  const size_t record = std::max<size_t>(record_length, 1);
  const size_t records = std::max<size_t>(kTargetSize / record, 1);
  enabled_ = true;
  header_length_ = header_length;
  data_.assign(records * record, 0);
  window_offset_ = 0;
  window_length_ = 0;
}

void ReadAheadBuffer::Disable() {
  enabled_ = false;
  std::vector<uint8_t>().swap(data_);
  window_offset_ = 0;
  window_length_ = 0;
}

size_t ReadAheadBuffer::Read(DiskFile& file, uint64_t offset, uint8_t* dest, size_t length) {
  if (!enabled_ || offset < header_length_ || length > data_.size()) {
    return file.Read(offset, dest, length);
  }
  if (!Holds(offset, length)) Refill(file, offset);
  const size_t start = static_cast<size_t>(offset - window_offset_);
  const size_t available = std::min(length, window_length_ - start);
  std::memcpy(dest, data_.data() + start, available);
  return available;
}

void ReadAheadBuffer::Refill(DiskFile& file, uint64_t offset) {
  window_length_ = 0;  // stays empty if the read below fails
  const size_t got = file.Read(offset, data_.data(), data_.size());
  window_offset_ = offset;
  window_length_ = got;
}

void ReadAheadBuffer::NoteWrite(uint64_t offset, const uint8_t* src, size_t length) {
  if (!enabled_ || window_length_ == 0) return;
  const uint64_t window_end = window_offset_ + window_length_;
  const uint64_t begin = std::max(offset, window_offset_);
  const uint64_t end = std::min(offset + length, window_end);
  if (begin >= end) return;
  std::memcpy(data_.data() + (begin - window_offset_), src + (begin - offset), end - begin);
}

}  // namespace dbf
