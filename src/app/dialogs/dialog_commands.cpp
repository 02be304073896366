#include "app/dialogs/dialog_commands.h"

#include <QPrinterInfo>
#include <exception>

#include "app/dialogs/company_header_dialog.h"
#include "app/dialogs/invoice_search_dialog.h"
#include "app/dialogs/payments_window.h"
#include "app/dialogs/system_settings_dialog.h"
#include "app/error_display.h"
#include "controls/qt_text.h"

namespace app {
namespace {

// A store table opened for one dialog, closed again (a change still in
// progress dropped) when it goes.
class OpenTable {
 public:
  explicit OpenTable(dbf::DbfDataSet& table) : table_(table) { table_.Open(); }
  ~OpenTable() {
    try {
      table_.Close();
    } catch (const std::exception& error) {
      ShowError(error);
    }
  }
  OpenTable(const OpenTable&) = delete;
  OpenTable& operator=(const OpenTable&) = delete;

  // Puts the first record into edit.
  void EditFirst() {
    table_.First();
    table_.Edit();
  }
  // Posts a confirmed dialog's changes, cancels the others.
  void Finish(bool confirmed) {
    if (confirmed) {
      table_.Post();
    } else {
      table_.Cancel();
    }
  }

 private:
  dbf::DbfDataSet& table_;
};

QPoint Offset(QWidget* main_window, int left, int top) {
  return main_window ? main_window->pos() + QPoint(left, top) : QPoint(left, top);
}

}  // namespace

void RunInvoiceSearch(QWidget* main_window, store::TData& data) {
  RunCommand([&] {
    InvoiceSearchDialog dialog(data.Faktury(), main_window);
    dialog.exec();
  });
}

void RunInvoicePayments(QWidget* main_window, store::TData& data, store::PaymentDefaults& defaults,
                        const std::string& invoice_no) {
  RunCommand([&] {
    store::InvoicePayments payments(data, defaults, invoice_no);
    PaymentsWindow window(data, payments, main_window);
    window.move(Offset(main_window, 250, 30));
    window.exec();
    payments.Close();
  });
}

void RunCompanyHeader(QWidget* main_window, store::TData& data) {
  RunCommand([&] {
    OpenTable vlastnik(data.Vlastnik());
    vlastnik.EditFirst();
    CompanyHeaderDialog dialog(data, main_window);
    vlastnik.Finish(dialog.exec() == QDialog::Accepted);
  });
}

void RunSystemSettings(QWidget* main_window, store::TData& data,
                       const store::PrinterList& printers) {
  RunCommand([&] {
    SystemSettingsDialog dialog(data, printers, main_window);
    dialog.move(Offset(main_window, 100, 30));
    OpenTable vlastnik(data.Vlastnik());
    vlastnik.EditFirst();
    OpenTable ciselnik(data.Ciselnik());
    ciselnik.EditFirst();
    dialog.SelectPrinter(data.settings.HlavniTiskarna);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    vlastnik.Finish(confirmed);
    ciselnik.Finish(confirmed);
    if (confirmed) store::SaveMainPrinter(data.settings, dialog.SelectedPrinter(), data.op);
  });
}

std::vector<std::string> QtPrinterList::Names() const {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) {
    names.push_back(controls::ToAnsi(name));
  }
  return names;
}

}  // namespace app
