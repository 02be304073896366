#ifndef SALDEX_REPORTS_OVERVIEW_PAGES_H_
#define SALDEX_REPORTS_OVERVIEW_PAGES_H_

#include <string>

#include "dbf/dates.h"
#include "reports/mem_table.h"
#include "reports/report_canvas.h"

namespace reports {

// What the overview's heading names besides the fixed words.
struct OverviewHeading {
  dbf::DateTime from = 0;
  dbf::DateTime to = 0;
  std::string store_name;  // VLA_NAC, code page 1250
};

// The page handler of the invoice overview (ReportSelector 6): the heading,
// the column headings once, one line per staged row from the first (a new
// page with two empty lines when fewer than 3 lines are left) and the totals
// line. `rows` is a staging table of the layout StagingLayout() builds; its
// cursor ends at Eof.
void PrintInvoiceOverview(ReportCanvas& canvas, MemTable& rows, const OverviewHeading& heading);

// "Přehled ostatních faktur od dd.mm.yyyy do dd.mm.yyyy na skladu " + name.
std::string OverviewHeadingText(const OverviewHeading& heading);

// The Cel. PC value of the current staged row: CelkemPC times Kurz when a
// rate is staged, else CelkemPC itself (the invoice table has no currency).
double OverviewTotalPrice(const MemTable& rows);

// An amount as the overview prints it: "%8.2f" with the locale's decimal
// separator.
std::string OverviewAmount(double value);

}  // namespace reports

#endif  // SALDEX_REPORTS_OVERVIEW_PAGES_H_
