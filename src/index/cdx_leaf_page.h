#ifndef SALDEX_INDEX_CDX_LEAF_PAGE_H_
#define SALDEX_INDEX_CDX_LEAF_PAGE_H_

// Leaf page (512 bytes), keys compressed:
//
//   OFFSET  SIZE  MEANING
//   0x00    2     node attribute: 2 leaf, 3 leaf root (LE)
//   0x02    2     number of keys (LE)
//   0x04    4     offset of the left sibling, -1 if none (LE)
//   0x08    4     offset of the right sibling, -1 if none (LE)
//   0x0C    2     free bytes in the key area (LE)
//   0x0E    4     record-number mask (LE)
//   0x12    1     duplicate-count mask
//   0x13    1     trailing-count mask
//   0x14    1     bits of the record number
//   0x15    1     bits of the duplicate count
//   0x16    1     bits of the trailing count
//   0x17    1     bytes per entry
//   0x18    488   key area: entries from the front, key bytes from the back
//
// Entry i at 0x18 + i * (bytes per entry), a little-endian integer E:
//
//   bit 0                                           top of E
//   | record number | (unused) | duplicate count | trailing count |
//
// the record number in the low record bits, the trailing count in the top trailing bits and
// the duplicate count just below it. The duplicate count is the number of leading bytes shared
// with the previous key of the page (0 for the first); the trailing count the number of pad
// bytes left out at the end (blanks in C tags, zero bytes in N and D tags). The remaining
// key length - duplicate - trailing bytes of each key are packed from the end of the page
// towards the front: the first key's bytes end at 512, the next key's where those begin.
// Free bytes = 488 - sum(bytes per entry + stored key bytes).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "index/cdx_page.h"

namespace idx {

constexpr size_t kLeafKeyArea = 488;

// Field widths of the entries of a leaf.
struct LeafParameters {
  uint32_t record_mask = 0;
  uint8_t duplicate_mask = 0;
  uint8_t trailing_mask = 0;
  uint8_t record_bits = 0;
  uint8_t duplicate_bits = 0;
  uint8_t trailing_bits = 0;
  uint8_t entry_bytes = 0;

  // The widths for `key_length` (1..240) and `record_limit` (the table's record count for a
  // normal tag, the index file's size for the directory tag): k = bits needed to write the
  // key length for each count; 3-byte entries, widened one byte at a time while the record
  // mask is below the limit; once the mask reaches bit 23 the next widening gives 31 bits
  // (mask 0x7FFFFFFF), which is the widest.
  static LeafParameters For(uint16_t key_length, uint64_t record_limit);

  // True when these widths can describe entries: 1 to 8 bytes per entry; record, duplicate
  // and trailing fields of at least one bit each (record at most 32, the counts at most 8)
  // that fit into the entry together; every mask matching its bit count. Every shift that
  // packs or unpacks an entry then stays inside 0..63.
  bool Consistent() const;

  friend bool operator==(const LeafParameters&, const LeafParameters&) = default;
};

struct LeafEntry {
  std::string key;  // without trailing pad bytes
  uint32_t record = 0;
  friend bool operator==(const LeafEntry&, const LeafEntry&) = default;
};

struct CdxLeafPage {
  bool root = false;
  uint32_t left = kNoPage;
  uint32_t right = kNoPage;
  std::vector<LeafEntry> entries;
  friend bool operator==(const CdxLeafPage&, const CdxLeafPage&) = default;
};

// Fills one leaf page entry by entry, in the order the keys stand in the page.
class CdxLeafWriter {
 public:
  // REQUIRES: context.key_length is 1..240 and `parameters` are LeafParameters::For it.
  // Throws std::invalid_argument for parameters that are not Consistent().
  CdxLeafWriter(const CdxPageContext& context, const LeafParameters& parameters);

  // Bytes that `key` would take after the keys added so far: bytes per entry plus the key
  // bytes left after the shared prefix and the trailing pad bytes.
  size_t CostOf(std::string_view key) const;

  // Appends `key` (trailing pad bytes optional) with `record`; returns false and changes
  // nothing when it does not fit into the free bytes. Throws std::invalid_argument for a key
  // longer than the key length, a record number above the record mask, or counts that the
  // duplicate and trailing fields cannot hold.
  bool Add(std::string_view key, uint32_t record);

  size_t count() const { return count_; }
  size_t free_bytes() const { return free_; }

  // The finished page with its attribute (2, or 3 for a root) and sibling links.
  CdxPage Finish(bool root, uint32_t left, uint32_t right) const;

 private:
  CdxPageContext context_;
  LeafParameters parameters_;
  CdxPage page_{};
  std::string previous_;  // previous key without pad bytes
  size_t count_ = 0;
  size_t free_ = kLeafKeyArea;
  size_t key_bytes_start_ = kCdxPageSize;
};

// The cost of each entry in this order (as CdxLeafWriter::CostOf while adding them in turn),
// for deciding where an overfull leaf splits.
std::vector<size_t> LeafEntryCosts(const std::vector<LeafEntry>& entries,
                                   const CdxPageContext& context, const LeafParameters& parameters);

// The whole page, or nullopt when its entries do not fit into 488 bytes.
std::optional<CdxPage> EncodeLeafPage(const CdxLeafPage& page, const CdxPageContext& context,
                                      const LeafParameters& parameters);

// Reads the field widths at 0x0E..0x17. Widths that are not LeafParameters::Consistent (a
// field of no bits, fields wider than the entry, a mask other than its bit count) raise
// "Index file %s is corrupted".
LeafParameters DecodeLeafParameters(const CdxPage& bytes, const std::string& file_name);

// Reads a leaf page, rebuilding each key from the previous one, its stored bytes and its
// trailing count. Checks the attribute, the key count, the field widths, the sibling links,
// every duplicate and trailing count and that the key bytes stay inside the key area; a bad
// value raises dbf::DbfError "Index file %s is corrupted". Keys come without pad bytes.
CdxLeafPage DecodeLeafPage(const CdxPage& bytes, const CdxPageContext& context);

}  // namespace idx

#endif  // SALDEX_INDEX_CDX_LEAF_PAGE_H_
