#ifndef SALDEX_DBF_RECORD_BUFFER_H_
#define SALDEX_DBF_RECORD_BUFFER_H_

#include <charconv>
#include <cstdint>
#include <cstring>
#include <vector>

namespace dbf {

// One row of the cursor: the raw record bytes exactly as in the file (always a
// valid record image), the calculated-field area, the physical record number
// and the bookmark (the record number as decimal text, NUL-terminated, in an
// 11-byte slot).
struct RecordBuffer {
  std::vector<uint8_t> bytes;       // R bytes
  std::vector<uint8_t> calculated;  // calculated-field area (no calculated fields yet)
  uint32_t recno = 0;               // 0: no record (empty cursor, new record)
  bool has_bookmark = false;
  char bookmark[11] = {};

  void Resize(size_t record_length) { bytes.assign(record_length, ' '); }
  // Copies a record image and sets its number and bookmark. No allocation.
  void Assign(const uint8_t* record, uint32_t number) {
    std::memcpy(bytes.data(), record, bytes.size());
    SetRecno(number);
  }
  void SetRecno(uint32_t number) {
    recno = number;
    has_bookmark = number != 0;
    const auto result = std::to_chars(bookmark, bookmark + sizeof bookmark - 1, number);
    *result.ptr = '\0';
  }
  void Clear() {
    std::fill(bytes.begin(), bytes.end(), ' ');
    SetRecno(0);
    has_bookmark = false;
  }
};

}  // namespace dbf

#endif  // SALDEX_DBF_RECORD_BUFFER_H_
