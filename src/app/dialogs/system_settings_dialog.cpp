#include "app/dialogs/system_settings_dialog.h"

#include <stdexcept>

#include "app/dialogs/dialog_font.h"
#include "app/error_display.h"
#include "controls/qt_text.h"
#include "store/last_document_number.h"

namespace app {

SystemSettingsDialog::SystemSettingsDialog(store::TData& data, const store::PrinterList& printers,
                                           QWidget* parent)
    : EntryDialog(parent) {
  UseDialogFont(this);
  setWindowTitle(QStringLiteral("Nastavení systémových parametrů"));
  setFixedClientSize(kClientWidth, kClientHeight);
  setKeyPreview(true);

  pages_ = new QTabWidget(this);
  pages_->setGeometry(4, 4, kClientWidth - 8, 108);

  auto* printers_page = new QWidget;
  auto* printer_label = new QLabel(QStringLiteral("Základní tiskárna"), printers_page);
  printer_label->setGeometry(8, 10, 200, 17);
  printer_combo_ = new controls::TValidComboBox(printers_page);
  printer_combo_->setGeometry(8, 30, 315, 23);
  printer_label->setBuddy(printer_combo_);
  pages_->addTab(printers_page, QStringLiteral("Tiskárny"));

  auto* numbering_page = new QWidget;
  auto* number_label =
      new QLabel(QStringLiteral("Poslední pořadové číslo dokladu"), numbering_page);
  number_label->setGeometry(8, 10, 220, 17);
  cis_fal_edit_ = new controls::TDBValidEdit(numbering_page);
  cis_fal_edit_->setGeometry(8, 30, 100, 21);
  cis_fal_edit_->setEnterIsTab(true);
  cis_fal_edit_->setMaxLength(10);
  cis_fal_edit_->bind(data.DataCiselnik, QStringLiteral("CIS_FAL"));
  cis_fal_edit_->setOnValid(
      [this](QWidget* sender, QString& text, bool& valid) { CisFalValid(sender, text, valid); });
  cis_fal_edit_->setOnError([this](QWidget*) {
    if (conversion_error_.isEmpty()) return;
    const std::runtime_error error(controls::ToAnsi(conversion_error_));
    conversion_error_.clear();
    ShowError(error);
  });
  number_label->setBuddy(cis_fal_edit_);
  auto* note =
      new QLabel(QStringLiteral("Změnu tohoto nastavení provádějte pouze na počátku úč. období !!"),
                 numbering_page);
  note->setWordWrap(true);
  note->setGeometry(8, 56, 320, 28);
  pages_->addTab(numbering_page, QStringLiteral("Číslování dokladů"));
  pages_->setCurrentIndex(0);

  cancel_button_ = new QPushButton(QStringLiteral("Storno"), this);
  cancel_button_->setGeometry(170, 120, 80, 25);
  connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
  save_button_ = new QPushButton(QStringLiteral("Ulož"), this);
  save_button_->setGeometry(256, 120, 80, 25);
  connect(save_button_, &QPushButton::clicked, this, &SystemSettingsDialog::Save);
  setTabOrder(cancel_button_, save_button_);
  setTabOrder(save_button_, pages_);
  setTabOrder(pages_, printer_combo_);
  setTabOrder(printer_combo_, cis_fal_edit_);

  FormCreate(printers);
}

void SystemSettingsDialog::FormCreate(const store::PrinterList& printers) {
  for (const std::string& name : printers.Names())
    printer_combo_->addItem(controls::FromAnsi(name));
  printer_combo_->setCurrentIndex(-1);
}

void SystemSettingsDialog::SelectPrinter(int printer_index) {
  printer_combo_->setCurrentIndex(
      store::PrinterSelection(printer_index, static_cast<size_t>(printer_combo_->count())));
}

void SystemSettingsDialog::CisFalValid(QWidget*, QString& text, bool& valid) {
  conversion_error_.clear();
  try {
    valid = store::IsValidLastDocumentNumber(controls::ToAnsi(text));
  } catch (const store::FloatConversionError& error) {
    valid = false;
    conversion_error_ = controls::FromAnsi(error.what());
  }
}

void SystemSettingsDialog::Save() {
  // A field that refused to be left took the focus back: nothing is saved.
  if (focusWidget() != save_button_) return;
  accept();
}

}  // namespace app
