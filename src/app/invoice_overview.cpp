#include "app/invoice_overview.h"

#include <QApplication>
#include <QCursor>

#include "app/dialogs/overview_range_dialog.h"
#include "app/report/report_preview.h"

namespace app {

void RunInvoiceOverview(QWidget* main_window, store::TData& data, reports::TDataSestavy& sestavy) {
  sestavy.SetBusyPointer = [](bool busy) {
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  };
  sestavy.PrehledFaktur(
      [main_window] { return AskOverviewRange(main_window); },
      [main_window, &data, &sestavy] {
        ReportPreview preview(
            main_window,
            [&sestavy](reports::ReportCanvas& canvas) { sestavy.SestavyPrint(canvas); },
            data.settings.HlavniTiskarna);
        preview.Run();
      });
}

}  // namespace app
