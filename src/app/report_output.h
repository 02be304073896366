#ifndef SALDEX_APP_REPORT_OUTPUT_H_
#define SALDEX_APP_REPORT_OUTPUT_H_

#include <QPrinter>
#include <QString>
#include <functional>

#include "reports/report_canvas.h"

namespace app {

// Draws one run of a report's pages.
using ReportPages = std::function<void(reports::ReportCanvas&)>;

// Print job title of the reports.
inline constexpr const char* kReportJobTitle = "Dodavky od dodavatele";

// Draws the pages on `printer` (its page layout as set), with the paper's
// corner as origin. Raises std::runtime_error when painting cannot start;
// errors of `pages` propagate after the painter has ended.
void RenderReport(QPrinter& printer, const ReportPages& pages);

// Writes the pages as a landscape A4 PDF at `path`, replacing the file.
// Raises std::runtime_error when the file cannot be written.
void WriteReportPdf(const QString& path, const ReportPages& pages);

}  // namespace app

#endif  // SALDEX_APP_REPORT_OUTPUT_H_
