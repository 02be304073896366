#ifndef SALDEX_JOBS_OVERVIEW_JOB_H_
#define SALDEX_JOBS_OVERVIEW_JOB_H_

#include <functional>
#include <iosfwd>
#include <ostream>
#include <string>

#include "reports/report_canvas.h"
#include "store/operator.h"

namespace jobs {

struct OverviewOptions {
  std::string from;      // "dd.mm.yyyy"
  std::string to;        // "dd.mm.yyyy"
  std::string pdf_file;  // empty: no PDF
  bool xlsx = false;     // the workbook into CestaXls
  // Where the progress of the PDF's pages is drawn in place (a terminal);
  // nullptr: nowhere.
  std::ostream* progress = nullptr;
};

// Told the number of each page as its drawing begins and the number of pages.
using PageProgress = std::function<void(int page, int pages)>;

// Renders the pages a page handler draws into a landscape PDF file; raises
// on failure. With a progress callback it counts the pages first. The
// program passes its own renderer; the jobs library itself knows no toolkit.
using PdfWriter = std::function<void(const std::string& path,
                                     const std::function<void(reports::ReportCanvas&)>& pages,
                                     const PageProgress& progress)>;

// "\rGeneruji stranu 12 z 2440 [#...   ]   0%": the progress line, redrawn
// in place.
std::string PageProgressLine(int page, int pages);

// The batch invoice overview: the data module's start-up (settings file in
// `program_dir`, or beside the executable when empty), the invoices of the
// range staged as the command stages them, "PrehledPrijemek.txt" written
// into the current directory, the report's pages into the PDF file and the
// workbook when asked for. A summary goes to `out` (UTF-8). Any error ends
// the job with "Ošetření vyjímky: " and the error's text on `out`. The PDF's
// page progress goes to options.progress when given. Returns
// the exit status: 0 when everything asked for was written, 1 otherwise.
int RunOverview(const std::string& program_dir, store::Operator& op, const OverviewOptions& options,
                const PdfWriter& pdf_writer, std::ostream& out);

}  // namespace jobs

#endif  // SALDEX_JOBS_OVERVIEW_JOB_H_
