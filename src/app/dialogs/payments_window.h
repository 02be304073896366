#ifndef SALDEX_APP_DIALOGS_PAYMENTS_WINDOW_H_
#define SALDEX_APP_DIALOGS_PAYMENTS_WINDOW_H_

#include <QPushButton>
#include <functional>
#include <memory>

#include "app/cursor_table_model.h"
#include "app/db_grid.h"
#include "controls/entry_dialog.h"
#include "store/data_module.h"
#include "store/invoice_payments.h"

namespace app {

// The payments window `PaymentsWindow` of one invoice: a tool strip with
// "F2 Nový" and "F4 Oprava" and a read-only grid over the invoice's
// payments, which has the focus. Keys: Esc closes it, F4 corrects the
// current payment, F2 adds one (tested in that order).
class PaymentsWindow : public controls::EntryDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 258;
  static constexpr int kClientHeight = 159;

  // REQUIRES: `payments` is open and outlives the window.
  PaymentsWindow(store::TData& data, store::InvoicePayments& payments, QWidget* parent = nullptr);
  ~PaymentsWindow() override;

  QPushButton* NewButton() const { return new_button_; }
  QPushButton* CorrectButton() const { return correct_button_; }
  DbGrid* DBGrid1() const { return grid_; }

  // "F2 Nový": a new payment proposed from the invoice and the remembered
  // defaults, in the payment dialog; confirmed: defaults remembered, posted,
  // invoice updated; cancelled: nothing written.
  void NewPayment();
  // "F4 Oprava": the current payment in the payment dialog; confirmed:
  // posted and the invoice updated under the hourglass. Nothing happens
  // when the invoice has no payment.
  void CorrectPayment();

 protected:
  void showEvent(QShowEvent* event) override;
  bool previewKey(QKeyEvent* event) override;

 private:
  // The payment dialog at this window's top + 50 and left - 70; true when
  // confirmed.
  bool ShowPaymentDialog();
  // The payment begun in Vypisy in the dialog: `confirm` when confirmed, the
  // change cancelled otherwise or when `confirm` fails (the error shown).
  void EditInDialog(const std::function<void()>& confirm);
  bool vypisy_inserting() const { return payments_.vypisy().state() == dbf::DataSetState::kInsert; }

  store::TData& data_;
  store::InvoicePayments& payments_;
  std::unique_ptr<CursorTableModel> model_;
  QPushButton* new_button_;
  QPushButton* correct_button_;
  DbGrid* grid_;
};

}  // namespace app

#endif  // SALDEX_APP_DIALOGS_PAYMENTS_WINDOW_H_
