#ifndef SALDEX_APP_INVOICE_OVERVIEW_H_
#define SALDEX_APP_INVOICE_OVERVIEW_H_

#include <QWidget>

#include "reports/data_sestavy.h"
#include "store/data_module.h"

namespace app {

// The main window's command "Přehled faktur": the date-range dialog over
// `main_window`, the staging and side outputs of `sestavy`, and the report
// in the modal landscape preview, printing on the HlavniTiskarna printer.
void RunInvoiceOverview(QWidget* main_window, store::TData& data, reports::TDataSestavy& sestavy);

}  // namespace app

#endif  // SALDEX_APP_INVOICE_OVERVIEW_H_
