#include "store/ansi_strings.h"

#include <gtest/gtest.h>

#include "dbf/charset_tables.h"
#include "store/integer_text.h"

namespace store {
namespace {

using dbf::Cp1250ToUtf8;
using dbf::Utf8ToCp1250;

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
  const auto& unicode = dbf::Cp1250ToUnicode();
  for (int c = 0; c < 256; ++c) {
    const uint8_t upper = static_cast<uint8_t>(AnsiUpper(static_cast<char>(c)));
    if (upper == c) continue;
    const char16_t from = unicode[c];
    const char16_t to = unicode[upper];
    // Latin-1 letters differ by 0x20, Latin Extended-A pairs by one.
    EXPECT_TRUE(from - to == 0x20 || from - to == 1) << "byte " << c;
  }
}

TEST(UpperCase, ConvertsOnlyAsciiLetters) {
  EXPECT_EQ(Cp1250ToUtf8(UpperCase(Utf8ToCp1250("novák"))), "NOVáK");
}

TEST(Trim, RemovesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(Trim("\t\r\n  a b \x01\x1F "), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

struct IntegerCase {
  const char* name;
  const char* text;
  std::optional<int32_t> value;
};

class ParseIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ParseIntegerTest, AcceptsOnlyWholeDecimalNumbersOf32Bits) {
  EXPECT_EQ(ParseInteger(GetParam().text), GetParam().value);
  if (GetParam().value) {
    EXPECT_EQ(StrToInt(GetParam().text), *GetParam().value);
  } else {
    EXPECT_THROW(StrToInt(GetParam().text), ConversionError);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ParseIntegerTest,
    ::testing::Values(
        IntegerCase{"Plain", "22", 22}, IntegerCase{"Plus", "+5", 5},
        IntegerCase{"Minus", "-7", -7}, IntegerCase{"LeadingZeros", "007", 7},
        IntegerCase{"Max", "2147483647", 2147483647}, IntegerCase{"Min", "-2147483648", INT32_MIN},
        IntegerCase{"TooLarge", "2147483648", std::nullopt}, IntegerCase{"Empty", "", std::nullopt},
        IntegerCase{"Letters", "abc", std::nullopt}, IntegerCase{"Trailing", "12a", std::nullopt},
        IntegerCase{"Fraction", "1.0", std::nullopt}, IntegerCase{"Blank", " 1", std::nullopt},
        IntegerCase{"Signs", "+-1", std::nullopt}, IntegerCase{"SignOnly", "-", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StrToInt, MessageNamesTheText) {
  try {
    StrToInt("x1");
    FAIL();
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "'x1' is not a valid integer value");
  }
}

}  // namespace
}  // namespace store
