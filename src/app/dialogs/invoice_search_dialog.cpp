#include "app/dialogs/invoice_search_dialog.h"

#include <QKeyEvent>

#include "app/dialogs/dialog_font.h"
#include "app/error_display.h"
#include "controls/qt_text.h"

namespace app {
namespace {

constexpr const char* kChoiceCaptions[4] = {
    "Hledej dle čísla faktury",
    "Hledej název odběratele",
    "Hledej dle čísla objednávky odběratele ",  // the caption ends with a blank
    "Hledej dle čísla proformy",
};

bool IsEnter(const QKeyEvent* event) {
  return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace

InvoiceSearchDialog::InvoiceSearchDialog(dbf::DbfDataSet& faktury, QWidget* parent)
    : EntryDialog(parent), faktury_(faktury) {
  UseDialogFont(this);
  setWindowTitle(QStringLiteral("Hledej položku databáze"));
  setFixedClientSize(kClientWidth, kClientHeight, true);
  setKeyPreview(true);
  for (int i = 0; i < 4; ++i) {
    radio_[i] = new QRadioButton(QString::fromUtf8(kChoiceCaptions[i]), this);
    radio_[i]->setGeometry(8, 6 + 22 * i, 241, 20);
    radio_[i]->installEventFilter(this);
  }
  label_ = new QLabel(QStringLiteral("Hledej tento text"), this);
  label_->setGeometry(8, 98, 100, 21);
  edit_ = new controls::TVEdit(this);
  edit_->setGeometry(110, 98, 137, 21);
  edit_->setEnterIsTab(false);
  edit_->installEventFilter(this);
  label_->setBuddy(edit_);
  connect(edit_, &QLineEdit::returnPressed, this, &InvoiceSearchDialog::SearchInvoice);
  search_button_ = new QPushButton(QStringLiteral("&Hledej"), this);
  search_button_->setGeometry(44, 131, 80, 25);
  connect(search_button_, &QPushButton::clicked, this, &InvoiceSearchDialog::SearchInvoice);
  cancel_button_ = new QPushButton(QStringLiteral("Storno"), this);
  cancel_button_->setGeometry(132, 131, 80, 25);
  connect(cancel_button_, &QPushButton::clicked, this, [this] { done(kAbort); });
  setTabOrder(radio_[0], radio_[1]);
  setTabOrder(radio_[1], radio_[2]);
  setTabOrder(radio_[2], radio_[3]);
  setTabOrder(radio_[3], edit_);
  setTabOrder(edit_, search_button_);
  setTabOrder(search_button_, cancel_button_);
}

store::InvoiceSearchChoice InvoiceSearchDialog::Choice() const {
  if (radio_[0]->isChecked()) return store::InvoiceSearchChoice::kInvoiceNumber;
  if (radio_[1]->isChecked()) return store::InvoiceSearchChoice::kCustomerName;
  if (radio_[2]->isChecked()) return store::InvoiceSearchChoice::kOrderNumber;
  return store::InvoiceSearchChoice::kProformaNumber;
}

void InvoiceSearchDialog::FormActivate() {
  edit_->clear();
  edit_->setFocus();
  search_button_->setEnabled(false);
  radio_[0]->setChecked(true);
  radio_[0]->setFocus();
}

void InvoiceSearchDialog::showEvent(QShowEvent* event) {
  EntryDialog::showEvent(event);
  centerOnScreen();
  FormActivate();
}

void InvoiceSearchDialog::SearchInvoice() {
  setResult(Accepted);
  RunCommand([this] {
    const std::string shown =
        store::SearchInvoice(faktury_, Choice(), controls::ToAnsi(edit_->text()));
    edit_->setText(controls::FromAnsi(shown));
  });
  accept();
}

bool InvoiceSearchDialog::previewKey(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    reject();
    return true;
  }
  return false;
}

bool InvoiceSearchDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == edit_) {
      search_button_->setEnabled(true);
    } else if (IsEnter(key)) {
      for (QRadioButton* radio : radio_) {
        if (watched != radio) continue;
        edit_->setFocus(Qt::TabFocusReason);
        return true;
      }
    }
  }
  return EntryDialog::eventFilter(watched, event);
}

}  // namespace app
