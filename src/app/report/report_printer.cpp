#include "app/report/report_printer.h"

#include <QPrinterInfo>

#include "reports/printer_choice.h"

namespace app {

std::optional<QString> ReportPrinterName(int32_t hlavni_tiskarna, const QStringList& printer_names,
                                         const QString& default_printer) {
  const reports::PrinterChoice choice =
      reports::ChoosePrinter(hlavni_tiskarna, static_cast<int>(printer_names.size()));
  switch (choice.kind) {
    case reports::PrinterChoice::Kind::kUnchanged:
      return std::nullopt;
    case reports::PrinterChoice::Kind::kDefault:
      return default_printer;
    case reports::PrinterChoice::Kind::kIndex:
      return printer_names[choice.index];
  }
  return std::nullopt;
}

bool SelectReportPrinter(QPrinter& printer, int32_t hlavni_tiskarna) {
  const std::optional<QString> name = ReportPrinterName(
      hlavni_tiskarna, QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName());
  if (name) printer.setPrinterName(*name);
  return name.has_value();
}

}  // namespace app
