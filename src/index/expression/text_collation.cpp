#include "index/expression/text_collation.h"

#include "dbf/charset_tables.h"
#include "index/expression/text_case.h"

namespace idx {
namespace {

// Rank in the Czech alphabet; CH (between H and I) has no byte of its own.
constexpr std::string_view kAlphabet =
    "ABC\xC8"
    "DEFGH"
    "IJKLMNOPQR\xD8S\x8ATUVWXYZ\x8E";
constexpr int kChRank = 9;  // after H (8), before I, which moves one rank up
constexpr uint16_t kDigitBase = 300;
constexpr uint16_t kLetterBase = 400;

// The letter of the Czech alphabet an upper-case ANSI letter sorts as; 0 for none. Č, Ř, Š
// and Ž are letters of their own, other accents count as the plain letter.
uint8_t BaseLetter(uint8_t upper) {
  if (upper == 0xC8 || upper == 0xD8 || upper == 0x8A || upper == 0x8E) return upper;
  return PlainLetter(upper);
}

uint16_t LetterPrimary(uint8_t base) {
  int rank = static_cast<int>(kAlphabet.find(static_cast<char>(base)));
  if (rank >= kChRank) ++rank;
  return static_cast<uint16_t>(kLetterBase + rank);
}

}  // namespace

TextCollation::TextCollation() {
  const TextCase& cases = TextCase::Get();
  const dbf::CharsetTables& cp = dbf::CharsetTables::Get();
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<uint8_t>(b);
    maps_[kAnsi][b] = byte;
    maps_[kOem][b] = cp.ToAnsi(byte);
    maps_[kAnsiUpper][b] = cases.Upper(byte, false);
    maps_[kOemUpper][b] = cases.Upper(cp.ToAnsi(byte), false);
    Weights& w = weights_[b];
    const uint8_t upper = cases.Upper(byte, false);
    const uint8_t base = BaseLetter(upper);
    if (b == '-' || b == '\'') {
      w.primary = 0;
    } else if (b >= '0' && b <= '9') {
      w.primary = static_cast<uint16_t>(kDigitBase + (b - '0'));
    } else if (base != 0) {
      w.primary = LetterPrimary(base);
      w.secondary = upper == base ? 0 : upper;
      w.tertiary = upper == byte && cases.Lower(byte, false) != byte ? 1 : 0;
    } else {
      w.primary = static_cast<uint16_t>(1 + b);
    }
  }
}

const TextCollation& TextCollation::Get() {
  static const TextCollation instance;
  return instance;
}

bool TextCollation::Next(std::string_view text, size_t& pos, const uint8_t* map,
                         Weights& out) const {
  const auto ansi = [&](size_t i) { return map[static_cast<uint8_t>(text[i])]; };
  while (pos < text.size() && weights_[ansi(pos)].primary == 0) ++pos;
  if (pos == text.size()) return false;
  out = weights_[ansi(pos)];
  const uint16_t c = LetterPrimary('C'), h = LetterPrimary('H');
  if (out.primary == c && out.secondary == 0 && pos + 1 < text.size()) {
    const Weights& next = weights_[ansi(pos + 1)];
    if (next.primary == h && next.secondary == 0) {
      out.primary = static_cast<uint16_t>(kLetterBase + kChRank);
      out.tertiary = static_cast<uint8_t>(out.tertiary * 2 + next.tertiary);
      ++pos;
    }
  }
  ++pos;
  return true;
}

int TextCollation::CompareLevel(std::string_view left, std::string_view right, const uint8_t* map,
                                int level) const {
  size_t i = 0, j = 0;
  Weights a, b;
  for (;;) {
    const bool has_a = Next(left, i, map, a);
    const bool has_b = Next(right, j, map, b);
    if (!has_a || !has_b) return has_a ? 1 : has_b ? -1 : 0;
    const int d = level == 1   ? a.primary - b.primary
                  : level == 2 ? a.secondary - b.secondary
                               : a.tertiary - b.tertiary;
    if (d != 0) return d;
  }
}

int TextCollation::Compare(std::string_view left, std::string_view right, bool case_insensitive,
                           bool translate) const {
  const uint8_t* map = maps_[MapFor(case_insensitive, translate)];
  for (int level = 1; level <= 3; ++level) {
    if (const int d = CompareLevel(left, right, map, level)) return d;
  }
  // Equal so far: the text with fewer hyphens and apostrophes first, then the bytes.
  if (left.size() != right.size()) return left.size() < right.size() ? -1 : 1;
  for (size_t i = 0; i < left.size(); ++i) {
    const int d = map[static_cast<uint8_t>(left[i])] - map[static_cast<uint8_t>(right[i])];
    if (d != 0) return d;
  }
  return 0;
}

}  // namespace idx
