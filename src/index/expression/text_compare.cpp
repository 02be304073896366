#include "index/expression/text_compare.h"

#include "index/expression/text_case.h"
#include "index/expression/text_collation.h"

namespace idx {
namespace {

uint8_t Fold(char c, bool case_insensitive, bool translate) {
  const auto b = static_cast<uint8_t>(c);
  return case_insensitive ? TextCase::Get().Upper(b, translate) : b;
}

bool EqualAt(std::string_view haystack, size_t pos, std::string_view needle, bool ci, bool tr) {
  for (size_t i = 0; i < needle.size(); ++i) {
    if (Fold(haystack[pos + i], ci, tr) != Fold(needle[i], ci, tr)) return false;
  }
  return true;
}

}  // namespace

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

int CompareText(std::string_view left, std::string_view right, bool case_insensitive,
                bool translate) {
  return TextCollation::Get().Compare(TrimTrailingBlanks(left), TrimTrailingBlanks(right),
                                      case_insensitive, translate);
}

bool MatchesPattern(std::string_view text, std::string_view pattern,
                    const CompareSettings& settings, bool translate) {
  const bool ci = settings.case_insensitive;
  size_t t = 0, p = 0;
  size_t star = std::string_view::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == settings.many) {
      star = p++;
      resume = t;
    } else if (p < pattern.size() &&
               (pattern[p] == settings.one ||
                Fold(pattern[p], ci, translate) == Fold(text[t], ci, translate))) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == settings.many) ++p;
  return p == pattern.size();
}

size_t FindOccurrence(std::string_view haystack, std::string_view needle, long long n,
                      bool case_insensitive, bool translate) {
  if (needle.empty() || n < 1 || needle.size() > haystack.size()) return std::string_view::npos;
  for (size_t pos = 0; pos + needle.size() <= haystack.size(); ++pos) {
    if (EqualAt(haystack, pos, needle, case_insensitive, translate) && --n == 0) return pos;
  }
  return std::string_view::npos;
}

}  // namespace idx
