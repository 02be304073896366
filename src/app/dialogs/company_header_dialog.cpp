#include "app/dialogs/company_header_dialog.h"

#include <QLabel>

#include "app/dialogs/dialog_font.h"

namespace app {
namespace {

struct RowSpec {
  const char* label;  // UTF-8
  const char* field;
  int width;  // characters
};

constexpr RowSpec kRowSpecs[CompanyHeaderDialog::kRows] = {
    {"Název firmy", "VLA_FIR", 35},
    {"Pobočka", "VLA_NAC", 30},
    {"Sídlo firmy", "VLA_ULI", 30},
    {"Město", "VLA_MES", 30},
    {"PSČ", "VLA_PSC", 6},
    {"Pobočka", "VLA_NAC", 30},
    {"IČO firmy", "VLA_ICO", 8},
    {"DIČ firmy", "VLA_DIC", 15},
    {"Číslo bankovního účtu", "VLA_UCE", 20},
    {"Zápis do OR", "VLA_ZAP", 60},
};

constexpr int kLeft = 8;
constexpr int kEditLeft = 134;
constexpr int kTop = 8;
constexpr int kStep = 26;
constexpr int kHeight = 21;

}  // namespace

CompanyHeaderDialog::CompanyHeaderDialog(store::TData& data, QWidget* parent)
    : EntryDialog(parent) {
  UseDialogFont(this);
  setWindowTitle(QStringLiteral("Hlavička firmy"));
  setFixedClientSize(kClientWidth, kClientHeight);
  setKeyPreview(true);
  cancel_button_ = new QPushButton(QStringLiteral("Storno"), this);
  save_button_ = new QPushButton(QStringLiteral("Zapiš"), this);
  connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
  connect(save_button_, &QPushButton::clicked, this, &QDialog::accept);
  for (int i = 0; i < kRows; ++i) {
    const RowSpec& spec = kRowSpecs[i];
    auto* label = new QLabel(QString::fromUtf8(spec.label), this);
    auto* edit = new controls::TDBValidEdit(this);
    edit->setEnterIsTab(true);
    edit->setMaxLength(spec.width);
    edit->bind(data.DataVlastnik, QString::fromLatin1(spec.field));
    label->setBuddy(edit);
    if (i < kRows - 1) {
      label->setGeometry(kLeft, kTop + kStep * i, kEditLeft - kLeft - 4, kHeight);
      edit->setGeometry(kEditLeft, kTop + kStep * i, kClientWidth - kEditLeft - kLeft, kHeight);
    } else {  // a full-width edit below its label
      label->setGeometry(kLeft, kTop + kStep * i, kClientWidth - 2 * kLeft, kHeight - 4);
      edit->setGeometry(kLeft, kTop + kStep * i + kHeight - 4, kClientWidth - 2 * kLeft, kHeight);
    }
    rows_.push_back(edit);
  }
  const int button_top = kClientHeight - 33;
  cancel_button_->setGeometry(44, button_top, 80, 25);
  save_button_->setGeometry(132, button_top, 80, 25);
  // The button strip first, then the rows: after row 10 comes "Storno".
  setTabOrder(cancel_button_, save_button_);
  setTabOrder(save_button_, rows_[0]);
  for (int i = 1; i < kRows; ++i) setTabOrder(rows_[i - 1], rows_[i]);
  Mirror(Row(2), Row(6));
  Mirror(Row(6), Row(2));
}

void CompanyHeaderDialog::Mirror(controls::TDBValidEdit* from, controls::TDBValidEdit* to) {
  connect(from, &QLineEdit::textEdited, to, [to](const QString& text) { to->setText(text); });
}

void CompanyHeaderDialog::showEvent(QShowEvent* event) {
  EntryDialog::showEvent(event);
  if (parentWidget()) centerOver(parentWidget());
  // Long values show their beginning until they are edited; the first row,
  // which the dialog opens on, is entered with its text selected, so typing
  // replaces it.
  for (controls::TDBValidEdit* row : rows_) row->setCursorPosition(0);
  Row(1)->setFocus(Qt::OtherFocusReason);
  const int length = static_cast<int>(Row(1)->text().size());
  Row(1)->setSelection(length, -length);
}

}  // namespace app
