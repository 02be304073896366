#ifndef SALDEX_INDEX_TAG_RANGE_H_
#define SALDEX_INDEX_TAG_RANGE_H_

#include <string>

namespace idx {

// Bounds of a tag's range as stored keys; an absent bound leaves that side open. The cursor's
// SetRange sets low_inclusive and high_checks_low, and high_prefix_mode off.
struct TagRange {
  bool has_low = false;
  bool has_high = false;
  std::string low;
  std::string high;
  bool low_inclusive = true;
  bool high_checks_low = true;
  bool high_prefix_mode = false;

  bool empty() const { return !has_low && !has_high; }
  friend bool operator==(const TagRange&, const TagRange&) = default;
};

// Where a key stands against a range.
enum class RangePlace { kInside, kBelow, kAbove };

}  // namespace idx

#endif  // SALDEX_INDEX_TAG_RANGE_H_
