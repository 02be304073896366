#include "store/journal_date.h"

#include <gtest/gtest.h>

#include "dbf/charset_tables.h"

namespace store {
namespace {

dbf::DateTime Day(int year, int month, int day) {
  return static_cast<dbf::DateTime>(dbf::DaysFromCivil({year, month, day}));
}

struct PatternCase {
  const char* name;
  const char* pattern;
  const char* text;
};

class FormatDatePatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(FormatDatePatternTest, FormatsFifthOfMarch2004) {
  EXPECT_EQ(FormatDatePattern({2004, 3, 5}, GetParam().pattern), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatDatePatternTest,
    ::testing::Values(PatternCase{"ThreeYearLettersGiveFourDigits", "dd.mm.yyy", "05.03.2004"},
                      PatternCase{"FourYearLetters", "dd.mm.yyyy", "05.03.2004"},
                      PatternCase{"TwoYearLetters", "dd.mm.yy", "05.03.04"},
                      PatternCase{"OneYearLetter", "d.m.y", "5.3.04"},
                      PatternCase{"Literals", "yyyy-mm-dd!", "2004-03-05!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JournalDateMessage, LastEntryTomorrowNamesThatDate) {
  const auto message = JournalDateMessage(Day(2004, 3, 4) + 0.75, Day(2004, 3, 5));
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(dbf::Cp1250ToUtf8(*message),
            "Zápis ve skladovém deniků je (05.03.2004) tj. později než je systémové datum");
}

TEST(JournalDateMessage, SameDayOrEarlierPasses) {
  EXPECT_FALSE(JournalDateMessage(Day(2004, 3, 5) + 0.01, Day(2004, 3, 5)));
  EXPECT_FALSE(JournalDateMessage(Day(2004, 3, 5), Day(2004, 3, 5) + 0.9));
  EXPECT_FALSE(JournalDateMessage(Day(2026, 1, 1), Day(2004, 3, 5)));
}

TEST(JournalDateMessage, EmptyDatePasses) {
  EXPECT_FALSE(JournalDateMessage(Day(2004, 3, 5), 0));
}

}  // namespace
}  // namespace store
