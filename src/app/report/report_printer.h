#ifndef SALDEX_APP_REPORT_REPORT_PRINTER_H_
#define SALDEX_APP_REPORT_REPORT_PRINTER_H_

#include <QPrinter>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace app {

// The printer the setting HlavniTiskarna names in `printer_names` (the
// system's list, counted from 0): -1 the default printer; nullopt for a value
// below -1 or beyond the list, which leaves the printer as it is.
std::optional<QString> ReportPrinterName(int32_t hlavni_tiskarna, const QStringList& printer_names,
                                         const QString& default_printer);

// Selects that printer of the system's list on `printer`; returns whether
// one was selected.
bool SelectReportPrinter(QPrinter& printer, int32_t hlavni_tiskarna);

}  // namespace app

#endif  // SALDEX_APP_REPORT_REPORT_PRINTER_H_
