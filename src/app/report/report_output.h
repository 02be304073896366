#ifndef SALDEX_APP_REPORT_REPORT_OUTPUT_H_
#define SALDEX_APP_REPORT_REPORT_OUTPUT_H_

#include <QString>
#include <functional>

#include "reports/report_canvas.h"

namespace app {

// Draws one run of a report's pages.
using ReportPages = std::function<void(reports::ReportCanvas&)>;
// Told the number of each page as its drawing begins, and the number of
// pages; may raise to end the run.
using PageProgress = std::function<void(int page, int pages)>;

// Print job title of the reports.
inline constexpr const char* kReportJobTitle = "Dodavky od dodavatele";

// Writes the pages as a landscape A4 PDF at `path` (PdfSurface), replacing
// the file. With `progress` the pages are counted first (a run that lays
// them out without drawing). Raises std::runtime_error when the file cannot
// be written; a failed run leaves no file.
void WriteReportPdf(const QString& path, const ReportPages& pages,
                    const PageProgress& progress = {});

}  // namespace app

#endif  // SALDEX_APP_REPORT_REPORT_OUTPUT_H_
