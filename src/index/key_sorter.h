#ifndef SALDEX_INDEX_KEY_SORTER_H_
#define SALDEX_INDEX_KEY_SORTER_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "index/sort_run.h"

namespace idx {

// One pair of a build as it comes out of the sort.
struct SortedPair {
  std::string_view key;  // valid until the next call of KeySorter::Next
  uint32_t record = 0;
};

// Sorts the (key, record number) pairs of one tag build. Order: by key, comparing the
// KeyCollationTable weights of character keys and the unsigned bytes of other keys position by
// position, a key that is the beginning of a longer one first; equal keys by ascending record
// number. In unique mode only the pair with the lowest record number of each key comes out.
//
// Memory: pairs are gathered in a chunk of a fixed byte budget; a full chunk is sorted and
// stored as a prefix-compressed SortRun in 16 KiB pages, and retrieval merges the runs. So the
// memory held is the budget plus the compressed keys; pages already merged are released.
class KeySorter {
 public:
  static constexpr size_t kMaxKeyLength = 250;
  static constexpr size_t kDefaultChunkBytes = size_t{16} << 20;
  static constexpr size_t kMinChunkBytes = 1024;

  enum class Order { kBytes, kCollation };

  // `chunk_bytes` below kMinChunkBytes counts as kMinChunkBytes.
  explicit KeySorter(Order order, bool unique, size_t chunk_bytes = kDefaultChunkBytes);
  ~KeySorter();
  KeySorter(const KeySorter&) = delete;
  KeySorter& operator=(const KeySorter&) = delete;

  // Raises dbf::DbfError "Sort key length must be 1-250 bytes, is %d" for a longer key and
  // "Cannot add sort keys after beginning retrieval" once Next was called.
  void Add(std::string_view key, uint32_t record);

  // The next pair in order; false when all pairs were taken.
  bool Next(SortedPair* pair);

  size_t run_count() const { return runs_.size(); }
  // Bytes held by the chunk and the runs now.
  size_t memory_in_use() const;

 private:
  struct Slot {
    uint64_t prefix;  // first eight sort bytes, big-endian, zero-padded
    uint32_t offset;  // of the pair in the arena
  };
  class Merger;

  void FlushChunk();
  void StartRetrieval();
  uint8_t* arena();
  Slot* slots_end();
  std::string_view SlotKey(const Slot& slot) const;
  uint32_t SlotRecord(const Slot& slot) const;

  const Order order_;
  const bool unique_;
  const size_t chunk_bytes_;
  // The chunk: pairs from the front (key length, sort bytes of the key, record number in
  // native order), their slots from the back, growing towards each other.
  std::unique_ptr<Slot[]> chunk_;
  size_t arena_used_ = 0;
  size_t slot_count_ = 0;
  std::vector<std::unique_ptr<SortRun>> runs_;
  std::unique_ptr<Merger> merger_;
  std::string output_key_;
  std::string previous_key_;  // sort bytes of the last pair given out (unique mode)
  bool has_previous_ = false;
  bool retrieving_ = false;
};

}  // namespace idx

#endif  // SALDEX_INDEX_KEY_SORTER_H_
