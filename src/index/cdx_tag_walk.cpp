#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/key_compare.h"

// Positioning and movements of a tag: stored (ascending) order with the range applied; the
// public movements swap directions for descending tags.

namespace idx {

bool CdxTag::positioned() const {
  if (path_.empty()) return false;
  const Level& leaf = path_.back();
  return leaf.node.leaf && leaf.index < leaf.node.entries.size();
}

const std::string& CdxTag::current_key() const {
  return path_.back().node.entries[path_.back().index].key;
}

uint32_t CdxTag::current_record() const {
  return path_.back().node.entries[path_.back().index].record;
}

void CdxTag::Reset() {
  path_.clear();
  at_stored_begin_ = at_stored_end_ = false;
}

void CdxTag::MarkLoaded() {
  loaded_generation_ = index_.write_generation();
  loaded_counter_ = index_.ReadChangeCounter();
}

bool CdxTag::SearchAndNormalise(std::string_view key, uint32_t record, bool prefix_mode) {
  path_ = Descend(key, record, prefix_mode);
  MarkLoaded();
  if (positioned()) return true;
  return AdvanceLeaf(path_);
}

bool CdxTag::Revalidate() {
  if (path_.empty()) return false;
  if (loaded_generation_ == index_.write_generation() &&
      loaded_counter_ == index_.ReadChangeCounter()) {
    return positioned();
  }
  if (!positioned()) {
    path_.clear();
    return false;
  }
  const std::string key = current_key();
  const uint32_t record = current_record();
  index_.RefreshFileSize();
  if (!SearchAndNormalise(key, record, false)) return false;
  return current_record() == record && Compare(key, current_key(), false) == 0;
}

bool CdxTag::StoredFirst() {
  path_.clear();
  MarkLoaded();
  return DescendEdge(path_, header_.root_offset, true) || AdvanceLeaf(path_);
}

bool CdxTag::StoredLast() {
  path_.clear();
  MarkLoaded();
  return DescendEdge(path_, header_.root_offset, false) || RetreatLeaf(path_);
}

RangePlace CdxTag::PlaceOf(std::string_view key) const {
  if (range_.has_high && Compare(range_.high, key, range_.high_prefix_mode) < 0) {
    return RangePlace::kAbove;
  }
  if (range_.has_low) {
    const int r = Compare(range_.low, key, true);
    if (r > 0 || (r == 0 && !range_.low_inclusive)) return RangePlace::kBelow;
  }
  return RangePlace::kInside;
}

bool CdxTag::RangeFirst() {
  bool ok = range_.has_low ? SearchAndNormalise(range_.low, kAnyRecord, true) : StoredFirst();
  while (ok) {
    const RangePlace place = PlaceOf(current_key());
    if (place == RangePlace::kInside) return true;
    if (place == RangePlace::kAbove) return false;
    ok = StepForward(path_);
  }
  return false;
}

bool CdxTag::RangeLast() {
  bool ok;
  if (range_.has_high) {
    SearchAndNormalise(range_.high, kAfterAllRecords, range_.high_prefix_mode);
    ok = StepBackward(path_);
  } else {
    ok = StoredLast();
  }
  while (ok) {
    const RangePlace place = PlaceOf(current_key());
    if (place == RangePlace::kInside) return true;
    if (place == RangePlace::kBelow) return false;
    ok = StepBackward(path_);
  }
  return false;
}

bool CdxTag::RangeNext() {
  if (path_.empty()) return RangeFirst();
  const bool was_positioned = positioned();
  const std::string key = was_positioned ? current_key() : std::string();
  const uint32_t record = was_positioned ? current_record() : 0;
  const bool exact = Revalidate();
  bool ok = exact ? StepForward(path_) : positioned();
  while (ok) {
    const RangePlace place = PlaceOf(current_key());
    if (place == RangePlace::kInside) return true;
    if (place == RangePlace::kAbove) break;
    ok = StepForward(path_);
  }
  if (was_positioned) Seat(key, record);
  return false;
}

bool CdxTag::RangePrior() {
  if (path_.empty()) return RangeLast();
  const bool was_positioned = positioned();
  const std::string key = was_positioned ? current_key() : std::string();
  const uint32_t record = was_positioned ? current_record() : 0;
  Revalidate();
  if (path_.empty()) return RangeLast();
  bool ok = StepBackward(path_);
  while (ok) {
    const RangePlace place = PlaceOf(current_key());
    if (place == RangePlace::kInside) return true;
    if (place == RangePlace::kBelow) break;
    ok = StepBackward(path_);
  }
  if (was_positioned) Seat(key, record);
  return false;
}

uint32_t CdxTag::Result(bool ok, bool forward) {
  if (ok) {
    at_stored_begin_ = at_stored_end_ = false;
    return current_record();
  }
  // Forward in stored order runs into the end, backward into the beginning.
  if (forward) {
    at_stored_end_ = true;
  } else {
    at_stored_begin_ = true;
  }
  return 0;
}

uint32_t CdxTag::First() {
  const bool ok = descending() ? RangeLast() : RangeFirst();
  const uint32_t record = Result(ok, !descending());
  if (!ok) at_stored_begin_ = at_stored_end_ = true;
  return record;
}

uint32_t CdxTag::Last() {
  const bool ok = descending() ? RangeFirst() : RangeLast();
  const uint32_t record = Result(ok, descending());
  if (!ok) at_stored_begin_ = at_stored_end_ = true;
  return record;
}

uint32_t CdxTag::Next() {
  if (descending()) return Result(RangePrior(), false);
  return Result(RangeNext(), true);
}

uint32_t CdxTag::Prior() {
  if (descending()) return Result(RangeNext(), true);
  return Result(RangePrior(), false);
}

uint32_t CdxTag::Current() {
  if (!Revalidate() || !positioned()) return 0;
  return PlaceOf(current_key()) == RangePlace::kInside ? current_record() : 0;
}

bool CdxTag::Search(std::string_view key, uint32_t record, bool prefix_mode) {
  const bool ok = SearchAndNormalise(key, record, prefix_mode);
  at_stored_begin_ = false;
  at_stored_end_ = !ok;
  return ok;
}

bool CdxTag::Seat(std::string_view key, uint32_t record) {
  at_stored_begin_ = at_stored_end_ = false;
  if (!SearchAndNormalise(key, record, false)) return false;
  return current_record() == record && Compare(key, current_key(), false) == 0 &&
         PlaceOf(current_key()) == RangePlace::kInside;
}

CdxTag::SeekResult CdxTag::SeekKey(std::string_view key, bool exact, bool near,
                                   const std::function<bool(uint32_t record)>& visible) {
  at_stored_begin_ = at_stored_end_ = false;
  bool ok = SearchAndNormalise(key, kAnyRecord, !exact);
  // A key found outside the range counts as not found; near still lands in the range.
  const bool landed_outside = ok && PlaceOf(current_key()) != RangePlace::kInside;
  while (ok) {
    const RangePlace place = PlaceOf(current_key());
    if (place == RangePlace::kInside) break;
    ok = place == RangePlace::kBelow && StepForward(path_);
  }
  while (ok && visible && !visible(current_record())) {
    ok = StepForward(path_) && PlaceOf(current_key()) == RangePlace::kInside;
  }
  if (ok && !landed_outside && Compare(key, current_key(), !exact) == 0) {
    return {true, current_record()};
  }
  if (ok && near) return {false, current_record()};
  (descending() ? at_stored_begin_ : at_stored_end_) = true;
  return {false, 0};
}

bool CdxTag::SetTagRange(std::string_view low_text, std::string_view high_text) {
  TagRange range;
  range.low = KeyFromText(low_text);
  range.high = KeyFromText(high_text);
  range.has_low = !range.low.empty();
  range.has_high = !range.high.empty();
  if (range == range_) return false;
  range_ = range;
  First();
  return true;
}

}  // namespace idx
