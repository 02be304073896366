#include "app/report/report_printer.h"

#include <gtest/gtest.h>

namespace app {
namespace {

const QStringList kPrinters = {"Laser", "Matrix", "PDF"};

TEST(ReportPrinterName, TheSettingsIndexNamesThatPrinterOfTheList) {
  EXPECT_EQ(ReportPrinterName(0, kPrinters, "PDF"), "Laser");
  EXPECT_EQ(ReportPrinterName(2, kPrinters, "Laser"), "PDF");
}

TEST(ReportPrinterName, MinusOneNamesTheDefaultPrinter) {
  EXPECT_EQ(ReportPrinterName(-1, kPrinters, "Matrix"), "Matrix");
  EXPECT_EQ(ReportPrinterName(-1, {}, ""), "");
}

TEST(ReportPrinterName, BelowMinusOneOrBeyondTheListLeavesThePrinter) {
  EXPECT_EQ(ReportPrinterName(-2, kPrinters, "Laser"), std::nullopt);
  EXPECT_EQ(ReportPrinterName(3, kPrinters, "Laser"), std::nullopt);
  EXPECT_EQ(ReportPrinterName(0, {}, "Laser"), std::nullopt);
}

TEST(SelectReportPrinter, AnIndexBeyondTheSystemListLeavesThePrinter) {
  QPrinter printer;
  const QString before = printer.printerName();
  EXPECT_FALSE(SelectReportPrinter(printer, 10000));
  EXPECT_EQ(printer.printerName(), before);
}

}  // namespace
}  // namespace app
