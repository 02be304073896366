#include "dbf/ansi_case.h"

#include <gtest/gtest.h>

#include "dbf/charset_tables.h"

namespace dbf {
namespace {

TEST(AnsiUpperCase, ConvertsCzechAndOtherCentralEuropeanLetters) {
  EXPECT_EQ(Cp1250ToUtf8(AnsiUpperCase(Utf8ToCp1250("žluťoučký kůň úpěl ďábelské ódy"))),
            "ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY");
  EXPECT_EQ(Cp1250ToUtf8(AnsiUpperCase(Utf8ToCp1250("šřčňěíáéúůýóťďľĺŕśźżąęłőű"))),
            "ŠŘČŇĚÍÁÉÚŮÝÓŤĎĽĹŔŚŹŻĄĘŁŐŰ");
}

TEST(AnsiUpperCase, LeavesCharactersWithoutCaseAlone) {
  EXPECT_EQ(Cp1250ToUtf8(AnsiUpperCase(Utf8ToCp1250("ß µ ˙ ÷ × 09 @[]"))), "ß µ ˙ ÷ × 09 @[]");
}

TEST(AnsiUpperCase, EveryLetterMapsToACharacterOfTheSameNameInUpperCase) {
  const auto& unicode = Cp1250ToUnicode();
  for (int c = 0; c < 256; ++c) {
    const uint8_t upper = static_cast<uint8_t>(AnsiUpper(static_cast<char>(c)));
    if (upper == c) continue;
    const char16_t from = unicode[c];
    const char16_t to = unicode[upper];
    // Latin-1 letters differ by 0x20, Latin Extended-A pairs by one.
    EXPECT_TRUE(from - to == 0x20 || from - to == 1) << "byte " << c;
  }
}

}  // namespace
}  // namespace dbf
