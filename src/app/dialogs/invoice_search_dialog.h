#ifndef SALDEX_APP_DIALOGS_INVOICE_SEARCH_DIALOG_H_
#define SALDEX_APP_DIALOGS_INVOICE_SEARCH_DIALOG_H_

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "controls/entry_dialog.h"
#include "controls/v_edit.h"
#include "dbf/data_set.h"
#include "store/invoice_search.h"

namespace app {

// The invoice search dialog `InvoiceSearchDialog` (F5): four choices of what to look
// for, the searched text, "&Hledej" and "Storno". Each time it is shown it
// starts afresh (FormActivate). The search moves the open invoice table to
// the invoice found and leaves the choice's tag selected.
class InvoiceSearchDialog : public controls::EntryDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 255;
  static constexpr int kClientHeight = 164;
  // The result of "Storno" (OK is Accepted, Esc Rejected).
  static constexpr int kAbort = 3;

  // REQUIRES: `faktury` is open and outlives the dialog.
  explicit InvoiceSearchDialog(dbf::DbfDataSet& faktury, QWidget* parent = nullptr);

  QRadioButton* RadioButton(int choice) const { return radio_[choice]; }
  controls::TVEdit* Edit1() const { return edit_; }
  QPushButton* SearchButton() const { return search_button_; }
  QPushButton* CancelButton() const { return cancel_button_; }

  // The choice whose radio button is selected (tested in the order 1 to 4).
  store::InvoiceSearchChoice Choice() const;
  // "&Hledej" and Enter in the edit: the result is OK, the search runs (an
  // error goes to the default error display), the dialog closes.
  void SearchInvoice();

 protected:
  void FormActivate();
  void showEvent(QShowEvent* event) override;
  bool previewKey(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  dbf::DbfDataSet& faktury_;
  QRadioButton* radio_[4];
  QLabel* label_;
  controls::TVEdit* edit_;
  QPushButton* search_button_;
  QPushButton* cancel_button_;
};

}  // namespace app

#endif  // SALDEX_APP_DIALOGS_INVOICE_SEARCH_DIALOG_H_
