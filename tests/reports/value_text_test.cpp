#include "reports/value_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include <cmath>
#include <limits>

#include "dbf/format_settings.h"

namespace reports {
namespace {

struct GeneralCase {
  const char* name;
  double value;
  const char* text;
};

class GeneralFloatTextTest : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(GeneralFloatTextTest, ShortestGeneralForm) {
  EXPECT_EQ(GeneralFloatText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GeneralFloatTextTest,
    ::testing::Values(GeneralCase{"Fraction", 12.5, "12.5"}, GeneralCase{"Whole", 800, "800"},
                      GeneralCase{"Zero", 0, "0"}, GeneralCase{"Negative", -3.25, "-3.25"},
                      GeneralCase{"BinaryNoiseRoundedAway", 0.1 + 0.2, "0.3"},
                      GeneralCase{"FifteenDigits", 123456789012345.0, "123456789012345"},
                      GeneralCase{"SixteenDigitsInExponentForm", 1e15, "1E15"},
                      GeneralCase{"Large", 1e20, "1E20"},
                      GeneralCase{"LargeWithFraction", 1.23456789012345678e20,
                                  "1.23456789012346E20"},
                      GeneralCase{"SmallestFixed", 0.0001, "0.0001"},
                      GeneralCase{"Small", 0.00001, "1E-5"},
                      GeneralCase{"SmallWithDigits", -1.5e-7, "-1.5E-7"},
                      GeneralCase{"Infinity", std::numeric_limits<double>::infinity(), "INF"},
                      GeneralCase{"NotANumber", std::nan(""), "NAN"}),
    [](const auto& info) { return std::string(info.param.name); });

// The exact binary value decides the rounding, as in printf: 1.015 is
// stored below the tie, 0.125 is a tie (to even), -0.001 keeps its sign.
TEST(FixedFloatText, RoundsAsPrintfDoes) {
  std::vector<double> values = {1.015, 1.005,   2.675,      0.125, 0.375,    -0.125,         -0.001,
                                -0.0,  0.0,     1e15 + 0.5, 9.995, -9.995,   123456.785,     4.35,
                                1e17,  -2.5e16, 1e19,       1e300, 0.000001, 99999999999.995};
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> amounts(-100000, 100000);
  for (int i = 0; i < 20000; ++i) values.push_back(amounts(random));
  for (int i = 0; i < 2000; ++i) values.push_back(std::round(amounts(random) * 1000) / 1000);
  for (const double value : values) {
    for (int decimals = 0; decimals <= 4; ++decimals) {
      char expected[400];
      std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
      ASSERT_EQ(FixedFloatText(value, 0, decimals, '.'), expected) << value << " " << decimals;
    }
  }
}

TEST(FixedFloatText, PadsToWidthWithTheGivenSeparator) {
  EXPECT_EQ(FixedFloatText(12.5, 8, 2, '.'), "   12.50");
  EXPECT_EQ(FixedFloatText(-5, 8, 2, ','), "   -5,00");
  EXPECT_EQ(FixedFloatText(0.005, 8, 2, '.').size(), 8u);
  EXPECT_EQ(FixedFloatText(123456789.125, 8, 2, ','), "123456789,12");
}

TEST(DumpDateTimeText, DayMonthYearWithSlashesAndTimeOnlyWhenNotMidnight) {
  const double day = static_cast<double>(dbf::DaysFromCivil({2004, 3, 5}));
  EXPECT_EQ(DumpDateTimeText(day), "05/03/2004");
  EXPECT_EQ(DumpDateTimeText(day + 0.5 + 61.0 / 86400), "05/03/2004 12:01:01");
}

TEST(ShortDateText, FollowsTheShortDateFormat) {
  dbf::Formats().short_date_format = "dd.mm.yyyy";
  EXPECT_EQ(ShortDateText(static_cast<double>(dbf::DaysFromCivil({2004, 3, 1}))), "01.03.2004");
}

}  // namespace
}  // namespace reports
