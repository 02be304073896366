#ifndef SALDEX_APP_DIALOGS_COMPANY_HEADER_DIALOG_H_
#define SALDEX_APP_DIALOGS_COMPANY_HEADER_DIALOG_H_

#include <QPushButton>
#include <vector>

#include "controls/db_valid_edit.h"
#include "controls/entry_dialog.h"
#include "store/data_module.h"

namespace app {

// The company header dialog `CompanyHeaderDialog` over the current record of
// Vlastnik (in edit while it is shown): ten rows, rows 2 and 6 both the
// branch name VLA_NAC, so typing in one shows in the other at once. The
// buttons come first in the tab cycle: Enter in row 10 moves to "Storno".
// "Zapiš" closes with OK, "Storno", Esc and the close box with Cancel.
class CompanyHeaderDialog : public controls::EntryDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 255;
  static constexpr int kClientHeight = 329;
  static constexpr int kRows = 10;

  explicit CompanyHeaderDialog(store::TData& data, QWidget* parent = nullptr);

  // Row 1 to 10.
  controls::TDBValidEdit* Row(int row) const { return rows_[row - 1]; }
  QPushButton* CancelButton() const { return cancel_button_; }
  QPushButton* SaveButton() const { return save_button_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Mirror(controls::TDBValidEdit* from, controls::TDBValidEdit* to);

  std::vector<controls::TDBValidEdit*> rows_;
  QPushButton* cancel_button_;
  QPushButton* save_button_;
};

}  // namespace app

#endif  // SALDEX_APP_DIALOGS_COMPANY_HEADER_DIALOG_H_
