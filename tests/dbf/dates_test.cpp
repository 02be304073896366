#include "dbf/dates.h"

#include <gtest/gtest.h>

namespace dbf {
namespace {

TEST(Dates, ZeroDateAndJulianAnchor) {
  EXPECT_EQ(DaysFromCivil({1899, 12, 30}), 0);
  EXPECT_EQ(DaysFromCivil({1980, 1, 1}) + kJulianDayOfZeroDate, 2444240);
  EXPECT_EQ(CivilFromDays(DaysFromCivil({2024, 2, 29})), (CivilDate{2024, 2, 29}));
  EXPECT_EQ(CivilFromDays(-1), (CivilDate{1899, 12, 29}));
}

TEST(Dates, Yyyymmdd) {
  EXPECT_EQ(ParseYyyymmdd("20050228"), (CivilDate{2005, 2, 28}));
  EXPECT_FALSE(ParseYyyymmdd("20050231"));
  EXPECT_FALSE(ParseYyyymmdd("00000000"));
  EXPECT_FALSE(ParseYyyymmdd("        "));
  EXPECT_FALSE(ParseYyyymmdd("2005022"));
  EXPECT_EQ(FormatYyyymmdd({987, 6, 5}), "09870605");
}

}  // namespace
}  // namespace dbf
