#include "index/sort_run.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace idx {
namespace {

constexpr size_t kPairOverhead = 2 + 4;

size_t SharedLength(const uint8_t* a, size_t a_length, std::string_view b) {
  const size_t common = std::min(a_length, b.size());
  size_t i = 0;
  while (i < common && a[i] == static_cast<uint8_t>(b[i])) ++i;
  return i;
}

}  // namespace

void SortRun::Append(std::string_view key, uint32_t record) {
  assert(key.size() <= kMaxKeyLength);
  const size_t shared = SharedLength(previous_.data(), previous_length_, key);
  const size_t stored = key.size() - shared;
  // One byte stays free for the end mark.
  if (position_ + kPairOverhead + stored + 1 > kPageSize) {
    pages_.push_back(std::make_unique<Page>());
    ++live_pages_;
    position_ = 0;
  }
  uint8_t* out = pages_.back()->data() + position_;
  out[0] = static_cast<uint8_t>(key.size());
  out[1] = static_cast<uint8_t>(shared);
  std::memcpy(out + 2, key.data() + shared, stored);
  std::memcpy(out + 2 + stored, &record, 4);
  position_ += kPairOverhead + stored;
  (*pages_.back())[position_] = kEndOfPage;
  std::memcpy(previous_.data() + shared, key.data() + shared, stored);
  previous_length_ = key.size();
}

size_t SortRun::memory_in_use() const {
  return live_pages_ * sizeof(Page);
}

bool SortRun::Reader::Next() {
  while (page_ < run_.pages_.size()) {
    const uint8_t* page = run_.pages_[page_]->data();
    if (page[position_] != kEndOfPage) {
      const uint8_t* in = page + position_;
      const size_t length = in[0];
      const size_t shared = in[1];
      std::memcpy(key_.data() + shared, in + 2, length - shared);
      length_ = length;
      std::memcpy(&record_, in + 2 + length - shared, 4);
      position_ += kPairOverhead + length - shared;
      return true;
    }
    run_.pages_[page_].reset();
    --run_.live_pages_;
    ++page_;
    position_ = 0;
  }
  return false;
}

}  // namespace idx
