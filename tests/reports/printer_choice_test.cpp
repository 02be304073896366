#include "reports/printer_choice.h"

#include <gtest/gtest.h>

namespace reports {
namespace {

using Kind = PrinterChoice::Kind;

TEST(ChoosePrinter, MinusOneIsTheDefaultPrinter) {
  EXPECT_EQ(ChoosePrinter(-1, 3).kind, Kind::kDefault);
  EXPECT_EQ(ChoosePrinter(-1, 0).kind, Kind::kDefault);
}

TEST(ChoosePrinter, AnIndexOfTheListSelectsThatPrinter) {
  EXPECT_EQ(ChoosePrinter(0, 3).kind, Kind::kIndex);
  const PrinterChoice last = ChoosePrinter(2, 3);
  EXPECT_EQ(last.kind, Kind::kIndex);
  EXPECT_EQ(last.index, 2);
}

TEST(ChoosePrinter, BelowMinusOneOrBeyondTheListLeavesThePrinter) {
  EXPECT_EQ(ChoosePrinter(-2, 3).kind, Kind::kUnchanged);
  EXPECT_EQ(ChoosePrinter(3, 3).kind, Kind::kUnchanged);
  EXPECT_EQ(ChoosePrinter(0, 0).kind, Kind::kUnchanged);
}

}  // namespace
}  // namespace reports
