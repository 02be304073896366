#include "index/key_sorter.h"

#include <algorithm>
#include <cstring>

#include "dbf/errors.h"
#include "index/key_collation_table.h"

namespace idx {
namespace {

const std::array<uint8_t, 256>& InverseWeights() {
  static const std::array<uint8_t, 256> inverse = [] {
    std::array<uint8_t, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
      table[KeyCollationTable::Weight(static_cast<uint8_t>(byte))] = static_cast<uint8_t>(byte);
    }
    return table;
  }();
  return inverse;
}

// Order of two sort keys: by bytes, a key that is the beginning of the other first.
int CompareSortKeys(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  const int result = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common);
  if (result != 0) return result;
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool PairLess(std::string_view a_key, uint32_t a_record, std::string_view b_key,
              uint32_t b_record) {
  const int result = CompareSortKeys(a_key, b_key);
  return result != 0 ? result < 0 : a_record < b_record;
}

uint64_t PrefixOf(const uint8_t* key, size_t length) {
  uint64_t prefix = 0;
  for (size_t i = 0; i < 8; ++i) prefix = (prefix << 8) | (i < length ? key[i] : 0);
  return prefix;
}

constexpr size_t kPairHeader = 1;
constexpr size_t kRecordBytes = 4;

}  // namespace

// Merges the runs: a binary heap of run readers ordered by their current pair.
class KeySorter::Merger {
 public:
  explicit Merger(std::vector<std::unique_ptr<SortRun>>& runs) {
    readers_.reserve(runs.size());
    for (auto& run : runs) readers_.emplace_back(*run);
    for (size_t i = 0; i < readers_.size(); ++i) {
      if (readers_[i].Next()) heap_.push_back(i);
    }
    std::make_heap(heap_.begin(), heap_.end(), Greater{this});
  }

  // The reader holding the smallest pair, or nullptr when all are exhausted. Advance() must
  // follow before the next call.
  const SortRun::Reader* Top() const { return heap_.empty() ? nullptr : &readers_[heap_[0]]; }

  void Advance() {
    std::pop_heap(heap_.begin(), heap_.end(), Greater{this});
    if (readers_[heap_.back()].Next()) {
      std::push_heap(heap_.begin(), heap_.end(), Greater{this});
    } else {
      heap_.pop_back();
    }
  }

 private:
  struct Greater {
    const Merger* merger;
    bool operator()(size_t a, size_t b) const {
      const SortRun::Reader& x = merger->readers_[a];
      const SortRun::Reader& y = merger->readers_[b];
      return PairLess(y.key(), y.record(), x.key(), x.record());
    }
  };

  std::vector<SortRun::Reader> readers_;
  std::vector<size_t> heap_;
};

KeySorter::KeySorter(Order order, bool unique, size_t chunk_bytes)
    : order_(order),
      unique_(unique),
      chunk_bytes_(std::max(chunk_bytes, kMinChunkBytes) / sizeof(Slot) * sizeof(Slot)) {}

KeySorter::~KeySorter() = default;

void KeySorter::Add(std::string_view key, uint32_t record) {
  if (retrieving_) throw dbf::DbfError("Cannot add sort keys after beginning retrieval");
  if (key.size() > kMaxKeyLength) {
    throw dbf::DbfError(dbf::FormatMessage("Sort key length must be 1-%d bytes, is %d",
                                           std::to_string(kMaxKeyLength),
                                           std::to_string(key.size())));
  }
  if (!chunk_) chunk_ = std::make_unique<Slot[]>(chunk_bytes_ / sizeof(Slot));
  const size_t pair_bytes = kPairHeader + key.size() + kRecordBytes;
  if (arena_used_ + pair_bytes + (slot_count_ + 1) * sizeof(Slot) > chunk_bytes_) FlushChunk();

  uint8_t* pair = arena() + arena_used_;
  pair[0] = static_cast<uint8_t>(key.size());
  uint8_t* sort_bytes = pair + kPairHeader;
  if (order_ == Order::kCollation) {
    const auto& weights = KeyCollationTable::Weights();
    for (size_t i = 0; i < key.size(); ++i) sort_bytes[i] = weights[static_cast<uint8_t>(key[i])];
  } else if (!key.empty()) {
    std::memcpy(sort_bytes, key.data(), key.size());
  }
  std::memcpy(sort_bytes + key.size(), &record, kRecordBytes);

  Slot* slot = slots_end() - (slot_count_ + 1);
  slot->prefix = PrefixOf(sort_bytes, key.size());
  slot->offset = static_cast<uint32_t>(arena_used_);
  ++slot_count_;
  arena_used_ += pair_bytes;
}

uint8_t* KeySorter::arena() {
  return reinterpret_cast<uint8_t*>(chunk_.get());
}

KeySorter::Slot* KeySorter::slots_end() {
  return chunk_.get() + chunk_bytes_ / sizeof(Slot);
}

std::string_view KeySorter::SlotKey(const Slot& slot) const {
  const uint8_t* pair = reinterpret_cast<const uint8_t*>(chunk_.get()) + slot.offset;
  return {reinterpret_cast<const char*>(pair + kPairHeader), pair[0]};
}

uint32_t KeySorter::SlotRecord(const Slot& slot) const {
  const uint8_t* pair = reinterpret_cast<const uint8_t*>(chunk_.get()) + slot.offset;
  uint32_t record;
  std::memcpy(&record, pair + kPairHeader + pair[0], kRecordBytes);
  return record;
}

void KeySorter::FlushChunk() {
  if (slot_count_ == 0) return;
  Slot* first = slots_end() - slot_count_;
  std::sort(first, slots_end(), [this](const Slot& a, const Slot& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    return PairLess(SlotKey(a), SlotRecord(a), SlotKey(b), SlotRecord(b));
  });
  auto run = std::make_unique<SortRun>();
  std::string_view previous;
  // The sorted slots visit the arena in random order: fetch the pairs a few slots ahead so
  // that the cache misses overlap instead of stalling one by one.
  constexpr ptrdiff_t kPrefetchDistance = 8;
  for (const Slot* slot = first; slot != slots_end(); ++slot) {
    if (slots_end() - slot > kPrefetchDistance) {
      __builtin_prefetch(arena() + slot[kPrefetchDistance].offset);
    }
    const std::string_view key = SlotKey(*slot);
    if (unique_ && slot != first && key == previous) continue;
    run->Append(key, SlotRecord(*slot));
    previous = key;
  }
  runs_.push_back(std::move(run));
  arena_used_ = 0;
  slot_count_ = 0;
}

void KeySorter::StartRetrieval() {
  retrieving_ = true;
  if (chunk_) FlushChunk();
  chunk_.reset();
  merger_ = std::make_unique<Merger>(runs_);
}

bool KeySorter::Next(SortedPair* pair) {
  if (!retrieving_) StartRetrieval();
  for (const SortRun::Reader* top; (top = merger_->Top()) != nullptr;) {
    const std::string_view key = top->key();
    const uint32_t record = top->record();
    if (unique_ && has_previous_ && key == previous_key_) {
      merger_->Advance();
      continue;
    }
    previous_key_.assign(key);
    has_previous_ = true;
    if (order_ == Order::kCollation) {
      const auto& inverse = InverseWeights();
      output_key_.resize(key.size());
      for (size_t i = 0; i < key.size(); ++i) {
        output_key_[i] = static_cast<char>(inverse[static_cast<uint8_t>(key[i])]);
      }
    } else {
      output_key_.assign(key);
    }
    merger_->Advance();
    pair->key = output_key_;
    pair->record = record;
    return true;
  }
  return false;
}

size_t KeySorter::memory_in_use() const {
  size_t total = chunk_ ? chunk_bytes_ : 0;
  for (const auto& run : runs_) total += run->memory_in_use();
  return total;
}

}  // namespace idx
