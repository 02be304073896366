#include "app/dialogs/payment_dialog.h"

#include "app/dialogs/dialog_font.h"
#include "app/dialogs/payment_type_list.h"
#include "app/error_display.h"
#include "app/grid_column.h"
#include "controls/qt_text.h"
#include "store/payment_types.h"

namespace app {
namespace {

constexpr int kLabelLeft = 8;
constexpr int kEditLeft = 112;
constexpr int kRowTop = 10;
constexpr int kRowStep = 28;
constexpr int kRowHeight = 21;

QLabel* RowLabel(QWidget* parent, const char* text, int row) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setGeometry(kLabelLeft, kRowTop + kRowStep * row, kEditLeft - kLabelLeft - 4, kRowHeight);
  return label;
}

controls::TDBValidEdit* RowEdit(QWidget* parent, dbf::DataSource& source, const char* field,
                                int row, int width, int max_length) {
  auto* edit = new controls::TDBValidEdit(parent);
  edit->setGeometry(kEditLeft, kRowTop + kRowStep * row, width, kRowHeight);
  edit->setEnterIsTab(true);
  edit->setMaxLength(max_length);
  edit->bind(source, QString::fromLatin1(field));
  // Shown in the field's display format while the edit does not have the focus.
  edit->setDisplayFormat(CatalogueDisplayFormat("Vypisy", field));
  return edit;
}

}  // namespace

PaymentDialog::PaymentDialog(dbf::DataSource& payments, dbf::DbfDataSet& payment_types,
                             QWidget* parent)
    : EntryDialog(parent), payments_(payments), payment_types_(payment_types) {
  UseDialogFont(this);
  setWindowTitle(QStringLiteral("Uhrada dokladu"));
  setFixedClientSize(kClientWidth, kClientHeight);
  setKeyPreview(true);
  dbf::DataSource& source = payments;

  RowLabel(this, "Typ úhrady", 0);
  type_edit_ = RowEdit(this, source, "VYP_TYP", 0, 60, 3);
  type_edit_->setButtonVisible(true);
  type_edit_->setButtonWidth(20);
  type_edit_->setOnValid([this](QWidget* sender, QString& text, bool& valid) {
    PaymentTypeValid(sender, text, valid);
  });
  type_edit_->setOnClickButton([this](QWidget* sender) { PickPaymentType(sender); });

  RowLabel(this, "Číslo dokladu", 1);
  statement_edit_ = RowEdit(this, source, "VYP_DO2", 1, 100, 10);

  RowLabel(this, "Vystaven dne", 2);
  date_edit_ = new controls::TEnterDBDateEdit(this);
  date_edit_->setGeometry(kEditLeft, kRowTop + kRowStep * 2, 100, kRowHeight);
  date_edit_->bind(source, QStringLiteral("VYP_DVS"));

  RowLabel(this, "Hrazená částka", 3);
  amount_edit_ = RowEdit(this, source, "VYP_HOD", 3, 100, 32767);
  amount_edit_->setAlignment(Qt::AlignRight);

  cancel_button_ = new QPushButton(QStringLiteral("Storno"), this);
  cancel_button_->setGeometry(40, 120, 80, 25);
  connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
  save_button_ = new QPushButton(QStringLiteral("Zapiš"), this);
  save_button_->setGeometry(128, 120, 80, 25);
  connect(save_button_, &QPushButton::clicked, this, &PaymentDialog::Save);

  setTabOrder(type_edit_, statement_edit_);
  setTabOrder(statement_edit_, date_edit_);
  setTabOrder(date_edit_, amount_edit_);
  setTabOrder(amount_edit_, cancel_button_);
  setTabOrder(cancel_button_, save_button_);
}

void PaymentDialog::showEvent(QShowEvent* event) {
  EntryDialog::showEvent(event);
  type_edit_->setFocus(Qt::OtherFocusReason);
}

bool PaymentDialog::ShowTypeList() {
  PaymentTypeList list(payment_types_, this);
  list.move(pos() + QPoint(40, 45));
  return list.exec() == QDialog::Accepted;
}

void PaymentDialog::PaymentTypeValid(QWidget*, QString& text, bool& valid) {
  try {
    std::string code = controls::ToAnsi(text);
    valid = store::ValidatePaymentType(payment_types_, code, [this] { return ShowTypeList(); });
    text = controls::FromAnsi(code);
  } catch (const std::exception& error) {
    valid = false;
    ShowError(error);
  }
}

void PaymentDialog::PickPaymentType(QWidget*) {
  RunCommand([this] {
    const std::optional<std::string> picked =
        store::PickPaymentType(payment_types_, [this] { return ShowTypeList(); });
    if (picked) payments_.data_set().FieldByName("VYP_TYP").SetAsString(*picked);
  });
}

void PaymentDialog::Save() {
  // A field that refused to be left took the focus back: nothing is saved.
  if (focusWidget() != save_button_) return;
  accept();
}

}  // namespace app
