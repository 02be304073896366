#ifndef SALDEX_INDEX_CDX_TAG_H_
#define SALDEX_INDEX_CDX_TAG_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "index/cdx_node.h"
#include "index/cdx_tag_header.h"
#include "index/expression/key_value.h"
#include "index/tag_range.h"

namespace idx {

class CdxIndex;
class TagKeySource;

// One named order of a compound index file: its header, its B+-tree of interior and compressed
// leaf pages, a current position (the path of loaded pages from the root to a leaf) and a
// range. Keys are kept in ascending order in the file, equal keys by ascending record number;
// a descending tag only walks that order backwards.
//
// Page access goes through the owning CdxIndex; a shared file must be index-locked by the
// caller around every search, movement and change. A loaded position notices writes by this
// process and the change counter of other programs and re-seeks its key before moving on.
class CdxTag {
 public:
  CdxTag(CdxIndex& index, std::string name, uint32_t header_offset, CdxTagHeader header,
         KeyType key_type);
  ~CdxTag();

  const std::string& name() const { return name_; }
  uint32_t header_offset() const { return header_offset_; }
  const CdxTagHeader& header() const { return header_; }
  uint32_t root_offset() const { return header_.root_offset; }
  uint16_t key_length() const { return header_.key_length; }
  KeyType key_type() const { return key_type_; }
  bool unique() const { return header_.unique; }
  bool has_for() const { return header_.has_for(); }
  bool descending() const { return header_.descending; }
  bool is_structure_tag() const { return header_.structure_tag; }
  CdxIndex& index() const { return index_; }
  TagKeySource* key_source() const { return key_source_.get(); }
  void set_key_source(std::unique_ptr<TagKeySource> source);
  CdxPageContext context() const;

  // --- keys
  // The stored form of `value`: EncodeKey for this tag with trailing pad bytes removed. Text for
  // an N or D tag raises DbfError "Variant type cannot be sorted".
  std::string KeyOf(const KeyValue& value) const;
  // A key typed as text (a seek or a range bound, in the table's code page), trailing blanks
  // removed: C the text, N the text read as a number, D the text read by the date parser
  // ("00000000" and 8 digits that are no calendar date: day 0, the key of a blank date; else
  // yyyymmdd or the short date format). Empty for a text of blanks. A number or date that does
  // not read raises the conversion error ExpressionError "'%s' is not a valid floating point
  // value" / "'%s' is not a valid date".
  std::string KeyFromText(std::string_view text) const;
  int Compare(std::string_view search, std::string_view stored, bool prefix_mode) const;

  // --- tree changes
  // Inserts (key, record) in key order, among equal keys in record-number order. A unique tag
  // that already holds the key (with any record) is left unchanged: returns false.
  bool Insert(std::string_view key, uint32_t record);
  // Deletes the entry (key, record); false when there is none.
  bool Remove(std::string_view key, uint32_t record);
  bool Contains(std::string_view key, uint32_t record);
  // Reads the page at `offset` of this tag.
  CdxNode ReadNode(uint32_t offset);
  // Every entry in stored order. A leaf reached twice raises "Index file %s is corrupted".
  void ForEachEntry(const std::function<void(const std::string& key, uint32_t record)>& visit);

  // --- position and movements in the tag's order (descending swaps them), within the range
  // Each returns the record number of the new position, or 0 with the begin or end flag set
  // (a failed move keeps the previous position).
  uint32_t First();
  uint32_t Last();
  uint32_t Next();
  uint32_t Prior();
  // The current record when positioned on an entry in range, else 0.
  uint32_t Current();
  bool bof() const { return descending() ? at_stored_end_ : at_stored_begin_; }
  bool eof() const { return descending() ? at_stored_begin_ : at_stored_end_; }
  // Positions on the first entry (in stored order) that a search for (key, record,
  // prefix_mode) stops at (key_compare.h). Returns false, with the end flag set, when the
  // search runs past the last entry. The range is not applied.
  bool Search(std::string_view key, uint32_t record, bool prefix_mode);
  // Positions on exactly (key, record): true when that entry exists and is in range.
  bool Seat(std::string_view key, uint32_t record);
  // Seek of Find and FindKey: the first entry in range whose key is not below `key` (prefix
  // mode unless `exact`), skipping forward over records `visible` rejects. Found when that
  // entry's key equals `key` (or begins with it, without `exact`) and the search did not first
  // land on an entry outside the range. Not found: with `near` the
  // tag stays on the nearest following entry and its record is returned; otherwise, and when
  // the walk ran out of the range, the end flag is set and the record is 0.
  struct SeekResult {
    bool found = false;
    uint32_t record = 0;
  };
  SeekResult SeekKey(std::string_view key, bool exact, bool near,
                     const std::function<bool(uint32_t record)>& visible);
  SeekResult SeekText(std::string_view text, bool exact, bool near,
                      const std::function<bool(uint32_t record)>& visible) {
    return SeekKey(KeyFromText(text), exact, near, visible);
  }
  bool positioned() const;
  // REQUIRES: positioned().
  const std::string& current_key() const;
  uint32_t current_record() const;
  // Drops the loaded pages and the position.
  void Reset();

  // --- range
  const TagRange& range() const { return range_; }
  // Replaces the bounds, given as texts in the table's code page (empty: no bound). False and
  // nothing changed when they equal the current ones; otherwise moves to First.
  bool SetTagRange(std::string_view low_text, std::string_view high_text);
  // Sets bounds already encoded as keys (no move).
  void SetRangeKeys(const TagRange& range) { range_ = range; }
  void ClearRange() { range_ = TagRange{}; }
  RangePlace PlaceOf(std::string_view key) const;

 private:
  struct Level {
    CdxNode node;
    size_t index = 0;
  };
  using Path = std::vector<Level>;

  Level LoadLevel(uint32_t offset, size_t depth);
  Path Descend(std::string_view key, uint32_t record, bool prefix_mode);
  bool DescendEdge(Path& path, uint32_t offset, bool first);
  bool StepForward(Path& path);
  bool StepBackward(Path& path);
  bool AdvanceLeaf(Path& path);
  bool RetreatLeaf(Path& path);
  void Store(Path& path, size_t level);
  void SplitRoot(Path& path);
  void SplitNode(Path& path, size_t level);
  void RemoveEmptyNode(Path& path, size_t level);
  void WriteNode(const CdxNode& node);
  uint64_t LeafLimit() const;
  uint64_t LoadBudget() const;

  // Stored order, range applied.
  bool RangeFirst();
  bool RangeLast();
  bool RangeNext();
  bool RangePrior();
  bool SearchAndNormalise(std::string_view key, uint32_t record, bool prefix_mode);
  bool StoredFirst();
  bool StoredLast();
  // Re-seeks the current entry when the file changed since the path was loaded. Returns false
  // when the entry itself is gone (the position is then on the next entry, or at the end).
  bool Revalidate();
  void MarkLoaded();
  uint32_t Result(bool ok, bool forward);

  CdxIndex& index_;
  std::string name_;
  uint32_t header_offset_;
  CdxTagHeader header_;
  KeyType key_type_;
  std::unique_ptr<TagKeySource> key_source_;

  Path path_;  // empty: not positioned
  bool at_stored_begin_ = false;
  bool at_stored_end_ = false;
  uint64_t loaded_generation_ = 0;
  uint32_t loaded_counter_ = 0;
  TagRange range_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_CDX_TAG_H_
