#ifndef SALDEX_APP_DIALOGS_DIALOG_COMMANDS_H_
#define SALDEX_APP_DIALOGS_DIALOG_COMMANDS_H_

#include <QWidget>
#include <string>

#include "store/data_module.h"
#include "store/invoice_payments.h"
#include "store/printer_settings.h"

namespace app {

// The commands of the main window that run a dialog. Each creates its
// dialog for one use, shows it modally and frees it; an error goes to the
// default error display. `main_window` places the dialogs.

// F5: the invoice search on the open invoice table.
void RunInvoiceSearch(QWidget* main_window, store::TData& data);

// F9 (`OpenPayments`): the payments of the invoice `invoice_no` in the payments
// window at the main window's top + 30 and left + 250; Vypisy is open only
// meanwhile. `defaults` are the remembered defaults of new payments.
void RunInvoicePayments(QWidget* main_window, store::TData& data, store::PaymentDefaults& defaults,
                        const std::string& invoice_no);

// "Údaje o firmě": the company header, Vlastnik open and in edit only while
// the dialog is shown; posted when confirmed, cancelled otherwise.
void RunCompanyHeader(QWidget* main_window, store::TData& data);

// "Systémová nastavení": the dialog at the main window's top + 30 and
// left + 100, Vlastnik and Ciselnik in edit meanwhile; confirmed: both
// posted, HlavniTiskarna the chosen position (-1: none) and both printer
// keys written; cancelled: both edits cancelled, the settings file untouched.
void RunSystemSettings(QWidget* main_window, store::TData& data,
                       const store::PrinterList& printers);

// The printers of the machine's printing system (Qt Print Support).
class QtPrinterList : public store::PrinterList {
 public:
  std::vector<std::string> Names() const override;
};

}  // namespace app

#endif  // SALDEX_APP_DIALOGS_DIALOG_COMMANDS_H_
