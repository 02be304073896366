#ifndef SALDEX_INDEX_SORT_RUN_H_
#define SALDEX_INDEX_SORT_RUN_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace idx {

// An ordered sequence of (sort key, record number) pairs held in memory in 16 KiB pages, each
// key stored as the bytes that differ from the previous key:
//
//   OFFSET  SIZE  MEANING
//   0       1     key length (0..250); 0xFF ends the page
//   1       1     bytes shared with the previous key (0 for the first pair of the run)
//   2       n     the other key length - shared bytes
//   2 + n   4     record number (LE)
//
// A pair never spans pages.
class SortRun {
 public:
  static constexpr size_t kPageSize = 16384;
  static constexpr size_t kMaxKeyLength = 250;

  // REQUIRES: key.size() <= kMaxKeyLength; pairs come in the order they are to be read.
  void Append(std::string_view key, uint32_t record);

  size_t page_count() const { return pages_.size(); }
  // Bytes of the pages still held.
  size_t memory_in_use() const;

  // Reads the pairs in order once, releasing each page as soon as it has been read.
  class Reader {
   public:
    explicit Reader(SortRun& run) : run_(run) {}
    // Moves to the next pair; false after the last.
    bool Next();
    std::string_view key() const { return {reinterpret_cast<const char*>(key_.data()), length_}; }
    uint32_t record() const { return record_; }

   private:
    SortRun& run_;
    size_t page_ = 0;
    size_t position_ = 0;
    std::array<uint8_t, kMaxKeyLength> key_{};
    size_t length_ = 0;
    uint32_t record_ = 0;
  };

 private:
  using Page = std::array<uint8_t, kPageSize>;
  static constexpr uint8_t kEndOfPage = 0xFF;

  std::vector<std::unique_ptr<Page>> pages_;
  size_t position_ = kPageSize;  // write position in the last page
  std::array<uint8_t, kMaxKeyLength> previous_{};
  size_t previous_length_ = 0;
  size_t live_pages_ = 0;
};

}  // namespace idx

#endif  // SALDEX_INDEX_SORT_RUN_H_
