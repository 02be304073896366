// The colour rule of the invoice list and the display formats of its cells.

#include "app/invoice_ink.h"

#include <gtest/gtest.h>

#include "app/display_format.h"
#include "dbf/format_settings.h"

namespace app {
namespace {

constexpr dbf::CivilDate kToday{2025, 3, 14};
constexpr dbf::CivilDate kYesterday{2025, 3, 13};

TEST(InvoiceInk, EdgeCasesOfTheColourRule) {
  struct Case {
    const char* name;
    bool paid;
    double total;
    std::optional<dbf::CivilDate> due;
    InvoiceInk ink;
  };
  const Case cases[] = {
      {"unpaid, total 0", false, 0.0, kYesterday, InvoiceInk::kNormal},
      {"unpaid, negative total", false, -5.0, kYesterday, InvoiceInk::kNormal},
      {"paid and overdue", true, 100.0, kYesterday, InvoiceInk::kNormal},
      {"due today", false, 100.0, kToday, InvoiceInk::kNotYetDue},
      {"due yesterday", false, 100.0, kYesterday, InvoiceInk::kOverdue},
      {"due tomorrow", false, 0.01, dbf::CivilDate{2025, 3, 15}, InvoiceInk::kNotYetDue},
      {"empty due date is the earliest date", false, 100.0, std::nullopt, InvoiceInk::kOverdue},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InvoiceInkOf(c.paid, c.total, c.due, kToday), c.ink) << c.name;
  }
}

TEST(DisplayFormat, DatesFollowTheFormatLetters) {
  EXPECT_EQ(FormatDate({2025, 3, 4}, "dd.mm.yyyy"), "04.03.2025");
  EXPECT_EQ(FormatDate({2025, 12, 31}, "yyyy-mm-dd"), "2025-12-31");
  EXPECT_EQ(FormatDate({2009, 1, 2}, "d/mm/yy"), "d/01/09");
}

TEST(DisplayFormat, NumbersAreGroupedWithTwoDecimals) {
  dbf::FormatSettings saved = dbf::Formats();
  dbf::Formats().decimal_separator = ',';
  EXPECT_EQ(FormatGroupedNumber(1234567.891, 2), "1 234 567,89");
  EXPECT_EQ(FormatGroupedNumber(999.996, 2), "1 000,00");
  EXPECT_EQ(FormatGroupedNumber(-12.5, 2), "-12,50");
  EXPECT_EQ(FormatGroupedNumber(-0.001, 2), "0,00");
  EXPECT_EQ(FormatGroupedNumber(0, 2), "0,00");
  dbf::Formats().decimal_separator = '.';
  EXPECT_EQ(FormatGroupedNumber(1234.5, 2), "1,234.50");
  dbf::Formats() = saved;
}

}  // namespace
}  // namespace app
