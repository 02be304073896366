// The colour rule of the invoice list.

#include "app/invoice_ink.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace app
