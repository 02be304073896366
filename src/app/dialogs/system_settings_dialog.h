#ifndef SALDEX_APP_DIALOGS_SYSTEM_SETTINGS_DIALOG_H_
#define SALDEX_APP_DIALOGS_SYSTEM_SETTINGS_DIALOG_H_

#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTabWidget>

#include "controls/db_valid_edit.h"
#include "controls/entry_dialog.h"
#include "controls/valid_combo_box.h"
#include "store/data_module.h"
#include "store/printer_settings.h"

namespace app {

// The system settings dialog `SystemSettingsDialog`: tab "Tiskárny" with the
// main printer chosen from the installed printers, tab "Číslování dokladů"
// with the last document sequence number CIS_FAL of Ciselnik, which must be
// a number greater than 0 to be left. "Storno" (first in tab order) closes
// with Cancel, "Ulož" with OK; Esc cancels.
class SystemSettingsDialog : public controls::EntryDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 343;
  static constexpr int kClientHeight = 153;

  // Fills the printer choice from `printers` (FormCreate).
  SystemSettingsDialog(store::TData& data, const store::PrinterList& printers,
                       QWidget* parent = nullptr);

  QTabWidget* PageControl1() const { return pages_; }
  controls::TValidComboBox* PrinterCombo() const { return printer_combo_; }
  controls::TDBValidEdit* CisFalEdit() const { return cis_fal_edit_; }
  QPushButton* CancelButton() const { return cancel_button_; }
  QPushButton* SaveButton() const { return save_button_; }

  // The selected printer position; -1 when nothing is selected.
  int SelectedPrinter() const { return printer_combo_->currentIndex(); }
  // Selects the printer at `printer_index`, nothing when there is none there.
  void SelectPrinter(int printer_index);

  // CIS_FAL on leaving: a number greater than 0 passes; 0 or less is refused
  // silently; a text that is no number is refused with the conversion error
  // in the default error display.
  void CisFalValid(QWidget* sender, QString& text, bool& valid);

 private:
  void FormCreate(const store::PrinterList& printers);
  void Save();

  QTabWidget* pages_;
  controls::TValidComboBox* printer_combo_;
  controls::TDBValidEdit* cis_fal_edit_;
  QPushButton* cancel_button_;
  QPushButton* save_button_;
  QString conversion_error_;
};

}  // namespace app

#endif  // SALDEX_APP_DIALOGS_SYSTEM_SETTINGS_DIALOG_H_
