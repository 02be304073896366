#include "controls/typed_text.h"

#include <gtest/gtest.h>

#include "controls/widget_test_support.h"

namespace controls {
namespace {

using TypedTextTest = FormatsFixture;

TEST_F(TypedTextTest, IntegerMustBeAWhole32BitNumber) {
  LeaveRules rules;
  rules.type = TEditType::ttInteger;
  EXPECT_TRUE(CheckOnLeave("", rules).accepted);
  EXPECT_TRUE(CheckOnLeave(" -12 ", rules).accepted);
  EXPECT_TRUE(CheckOnLeave("2147483647", rules).accepted);
  EXPECT_FALSE(CheckOnLeave("2147483648", rules).accepted);
  EXPECT_FALSE(CheckOnLeave("1,5", rules).accepted);
}

TEST_F(TypedTextTest, FixedNotation) {
  EXPECT_EQ(FormatFixed(1234.5678, 6, 2), "1234,57");
  EXPECT_EQ(FormatFixed(1234.5678, 4, 2), "1235,00");  // 4 significant digits
  EXPECT_EQ(FormatFixed(-0.125, 15, 1), "-0,1");
  EXPECT_EQ(FormatFixed(0, 15, 2), "0,00");
  EXPECT_EQ(FormatFixed(123456, 3, 2), "1,23E+05");  // more whole digits than precision
}

TEST_F(TypedTextTest, NumbersTakeEitherPoint) {
  EXPECT_EQ(ParseNumberText("1.5"), 1.5);
  EXPECT_EQ(ParseNumberText("1,5"), 1.5);
  EXPECT_FALSE(ParseNumberText("1.000,5"));
  EXPECT_FALSE(ParseNumberText("x"));
}

TEST_F(TypedTextTest, TimeText) {
  EXPECT_TRUE(IsTimeText("9:05", u':'));
  EXPECT_TRUE(IsTimeText("23:59:59", u':'));
  EXPECT_FALSE(IsTimeText("24:00", u':'));
  EXPECT_FALSE(IsTimeText("9", u':'));
  EXPECT_FALSE(IsTimeText("9:5:5:5", u':'));
  EXPECT_FALSE(IsTimeText("9.05", u':'));
}

TEST_F(TypedTextTest, DatePlaceholderAndCompletionFailure) {
  LeaveRules rules;
  rules.type = TEditType::ttDate;
  rules.blank_date = "  .  .    ";
  rules.complete_moments = true;
  rules.now = dbf::Now();
  EXPECT_EQ(CheckOnLeave("   ", rules).text, "  .  .    ");
  EXPECT_TRUE(CheckOnLeave("  .  .    ", rules).accepted);
  const LeaveCheck bad = CheckOnLeave("0503", rules);
  EXPECT_FALSE(bad.accepted);
  EXPECT_EQ(bad.text, "");  // a failed completion empties the text
}

TEST_F(TypedTextTest, TypedCharacterFilter) {
  TypingRules numbers;
  numbers.only_number_chars = true;
  numbers.to_decimal_separator = true;
  EXPECT_EQ(FilterTypedChar(u'.', numbers), u',');
  EXPECT_EQ(FilterTypedChar(u'7', numbers), u'7');
  EXPECT_EQ(FilterTypedChar(u':', numbers), u':');  // the time separator
  EXPECT_EQ(FilterTypedChar(u'-', numbers), u'-');
  EXPECT_FALSE(FilterTypedChar(u'e', numbers));
  EXPECT_FALSE(FilterTypedChar(u'/', numbers));
}

}  // namespace
}  // namespace controls
