#include "store/integer_text.h"

#include <gtest/gtest.h>

namespace store {
namespace {

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
