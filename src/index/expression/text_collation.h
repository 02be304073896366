#ifndef SALDEX_INDEX_EXPRESSION_TEXT_COLLATION_H_
#define SALDEX_INDEX_EXPRESSION_TEXT_COLLATION_H_

#include <cstdint>
#include <string_view>

namespace idx {

// The user locale's case-sensitive string comparison that text operators and BETWEEN, MAX, MIN
// and INLIST use: the Czech order of the ANSI code page (1250), fixed here so that nothing
// depends on the process locale. Levels, each deciding only when the ones before are equal:
//   1. letters by the Czech alphabet (A B C Č D ... H CH I ... R Ř S Š T ... Z Ž) without regard
//      to case or other accents (Á counts as A), digits before letters, other characters before
//      digits by byte value; hyphen and apostrophe are left out;
//   2. accents (A before Á and Ä);
//   3. case, lower case first;
//   4. the shorter text (fewer hyphens and apostrophes) first, then the bytes themselves, so
//      that only identical texts are equal.
// With `translate` the bytes are OEM (852) text and are read through the ANSI code page; with
// `case_insensitive` both sides count as upper-cased.
class TextCollation {
 public:
  static const TextCollation& Get();

  // Negative, zero or positive.
  int Compare(std::string_view left, std::string_view right, bool case_insensitive,
              bool translate) const;

 private:
  struct Weights {
    uint16_t primary = 0;  // 0: left out at levels 1 to 3
    uint8_t secondary = 0;
    uint8_t tertiary = 0;
  };
  TextCollation();
  // Byte maps into ANSI: as is, OEM, and either of them upper-cased.
  enum Map { kAnsi, kOem, kAnsiUpper, kOemUpper };
  static Map MapFor(bool case_insensitive, bool translate) {
    return static_cast<Map>((translate ? 1 : 0) + (case_insensitive ? 2 : 0));
  }
  // The next element of `text` from `pos` (the digraph CH is one element); false at the end.
  bool Next(std::string_view text, size_t& pos, const uint8_t* map, Weights& out) const;
  int CompareLevel(std::string_view left, std::string_view right, const uint8_t* map,
                   int level) const;

  Weights weights_[256];  // by ANSI byte
  uint8_t maps_[4][256];
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_TEXT_COLLATION_H_
