#ifndef SALDEX_INDEX_EXPRESSION_TEXT_COMPARE_H_
#define SALDEX_INDEX_EXPRESSION_TEXT_COMPARE_H_

#include <string_view>

#include "index/expression/compare_settings.h"

namespace idx {

std::string_view TrimTrailingBlanks(std::string_view text);

// Compares two texts by the locale's comparison (TextCollation) after removing
// trailing blanks; with `case_insensitive` both sides are upper-cased first.
// Equal only when the trimmed (and folded) texts are identical. Returns <0, 0
// or >0.
int CompareText(std::string_view left, std::string_view right, bool case_insensitive,
                bool translate);

// Whether `text` matches `pattern` as a whole, where settings.many matches any
// run of characters (also none) and settings.one any single character.
bool MatchesPattern(std::string_view text, std::string_view pattern,
                    const CompareSettings& settings, bool translate);

// Position (0-based) of the n-th occurrence (n >= 1) of `needle` in `haystack`, or npos.
size_t FindOccurrence(std::string_view haystack, std::string_view needle, long long n,
                      bool case_insensitive, bool translate);

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_TEXT_COMPARE_H_
