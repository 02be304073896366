#ifndef SALDEX_DBF_READ_AHEAD_BUFFER_H_
#define SALDEX_DBF_READ_AHEAD_BUFFER_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dbf {

class DiskFile;

// Window of whole records for reading in natural order. Its size is 32768
// bytes rounded down to whole records (at least one). A record read at an
// offset the window holds is served from it; any other record refills the
// window with one read of the full size starting at that record. Writes go to
// the file; the caller reports them so that a copy inside the window stays
// current. Records of other programs inside the window show the state of the
// file when the window was filled.
class ReadAheadBuffer {
 public:
  static constexpr size_t kTargetSize = 32768;

  void Enable(uint32_t header_length, uint32_t record_length);
  void Disable();
  bool enabled() const { return enabled_; }

  // Reads `length` bytes at `offset` (a record, offset >= header length)
  // through the window. Returns the bytes available (fewer at the end).
  size_t Read(DiskFile& file, uint64_t offset, uint8_t* dest, size_t length);
  // Whether the window holds `length` bytes at `offset`.
  bool Holds(uint64_t offset, size_t length) const {
    return offset >= window_offset_ && offset - window_offset_ <= window_length_ &&
           length <= window_length_ - (offset - window_offset_);
  }
  // The bytes at `offset` inside the window, valid until the next Refill,
  // Read, Enable or Disable. REQUIRES: Holds(offset, length) for the length
  // the caller reads.
  const uint8_t* At(uint64_t offset) const { return data_.data() + (offset - window_offset_); }
  // Fills the window with one read of its full size starting at `offset`
  // (fewer bytes at the end of the file). REQUIRES: enabled().
  void Refill(DiskFile& file, uint64_t offset);
  size_t window_size() const { return data_.size(); }
  // Updates the buffered copy of bytes just written to the file.
  void NoteWrite(uint64_t offset, const uint8_t* src, size_t length);
  // Forgets the window (the next read refills it).
  void Invalidate() { window_length_ = 0; }

 private:
  bool enabled_ = false;
  uint32_t header_length_ = 0;
  std::vector<uint8_t> data_;
  uint64_t window_offset_ = 0;
  size_t window_length_ = 0;
};

}  // namespace dbf

#endif  // SALDEX_DBF_READ_AHEAD_BUFFER_H_
