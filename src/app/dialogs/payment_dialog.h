#ifndef SALDEX_APP_DIALOGS_PAYMENT_DIALOG_H_
#define SALDEX_APP_DIALOGS_PAYMENT_DIALOG_H_

#include <QLabel>
#include <QPushButton>

#include "controls/db_valid_edit.h"
#include "controls/enter_db_date_edit.h"
#include "controls/entry_dialog.h"
#include "dbf/data_set.h"
#include "dbf/data_source.h"

namespace app {

// The payment dialog `PaymentDialog` over the current payment of one invoice
// (`payments`: Vypisy, its record new or in edit; `payment_types`: TypPlatby,
// opened only while a type is checked or picked): payment type (checked on every exit, a side
// button picks it), statement number, payment date, amount; "Storno" (first in tab order, Cancel)
// and "Zapiš" (OK). Opens with the focus on the payment type.
class PaymentDialog : public controls::EntryDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 243;
  static constexpr int kClientHeight = 153;

  PaymentDialog(dbf::DataSource& payments, dbf::DbfDataSet& payment_types,
                QWidget* parent = nullptr);

  controls::TDBValidEdit* PaymentTypeEdit() const { return type_edit_; }
  controls::TDBValidEdit* StatementEdit() const { return statement_edit_; }
  controls::TEnterDBDateEdit* DateEdit() const { return date_edit_; }
  controls::TDBValidEdit* AmountEdit() const { return amount_edit_; }
  QPushButton* CancelButton() const { return cancel_button_; }
  QPushButton* SaveButton() const { return save_button_; }

  // The payment type's validation: a known three-letter code passes;
  // otherwise the type list decides (picked: its code, cancelled: empty and
  // refused).
  void PaymentTypeValid(QWidget* sender, QString& text, bool& valid);
  // The side button: VYP_TYP := the type picked from the list.
  void PickPaymentType(QWidget* sender);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The type list at the dialog's left + 40, top + 45; true when picked.
  bool ShowTypeList();
  void Save();

  dbf::DataSource& payments_;
  dbf::DbfDataSet& payment_types_;
  controls::TDBValidEdit* type_edit_;
  controls::TDBValidEdit* statement_edit_;
  controls::TEnterDBDateEdit* date_edit_;
  controls::TDBValidEdit* amount_edit_;
  QPushButton* cancel_button_;
  QPushButton* save_button_;
};

}  // namespace app

#endif  // SALDEX_APP_DIALOGS_PAYMENT_DIALOG_H_
