#include "app/dialogs/payments_window.h"

#include <QApplication>
#include <QKeyEvent>

#include "app/dialogs/dialog_font.h"
#include "app/dialogs/payment_dialog.h"
#include "app/error_display.h"
#include "app/grid_column.h"

namespace app {
namespace {

constexpr int kStripHeight = 27;

// The hourglass pointer while it lives.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

PaymentsWindow::PaymentsWindow(store::TData& data, store::InvoicePayments& payments,
                               QWidget* parent)
    : EntryDialog(parent),
      data_(data),
      payments_(payments),
      model_(std::make_unique<CursorTableModel>(payments.vypisy(),
                                                CatalogueColumns("Vypisy", {{"VYP_DO2", -1},
                                                                            {"VYP_DVS", -1},
                                                                            {"VYP_TYP", 25},
                                                                            {"VYP_HOD", 66},
                                                                            {"VYP_PRN", -1},
                                                                            {"VYP_DO1", -1},
                                                                            {"VYP_DAT", -1}}))) {
  UseDialogFont(this);
  setWindowTitle(QStringLiteral("Přehled úhrad"));
  setFixedClientSize(kClientWidth, kClientHeight);
  setKeyPreview(true);
  new_button_ = new QPushButton(QStringLiteral("F2 Nový"), this);
  new_button_->setGeometry(2, 2, 75, 23);
  new_button_->setFocusPolicy(Qt::NoFocus);
  connect(new_button_, &QPushButton::clicked, this, &PaymentsWindow::NewPayment);
  correct_button_ = new QPushButton(QStringLiteral("F4 Oprava"), this);
  correct_button_->setGeometry(79, 2, 75, 23);
  correct_button_->setFocusPolicy(Qt::NoFocus);
  connect(correct_button_, &QPushButton::clicked, this, &PaymentsWindow::CorrectPayment);
  grid_ = new DbGrid(this);
  grid_->SetCursorModel(model_.get());
  grid_->setGeometry(0, kStripHeight, kClientWidth, kClientHeight - kStripHeight);
}

PaymentsWindow::~PaymentsWindow() {
  // The grid goes before the model it shows.
  delete grid_;
}

void PaymentsWindow::showEvent(QShowEvent* event) {
  EntryDialog::showEvent(event);
  grid_->setFocus();
}

bool PaymentsWindow::ShowPaymentDialog() {
  PaymentDialog form(data_.DataVypisy, data_.TypPlatby(), this);
  form.move(pos() + QPoint(-70, 50));
  return form.exec() == QDialog::Accepted;
}

void PaymentsWindow::EditInDialog(const std::function<void()>& confirm) {
  RunCommand([&] {
    try {
      if (ShowPaymentDialog()) {
        confirm();
      } else {
        payments_.CancelChange();
      }
    } catch (...) {
      payments_.CancelChange();
      throw;
    }
  });
  grid_->setFocus();
}

void PaymentsWindow::NewPayment() {
  RunCommand([this] { payments_.BeginNew(); });
  if (vypisy_inserting()) EditInDialog([this] { payments_.ConfirmNew(); });
}

void PaymentsWindow::CorrectPayment() {
  bool started = false;
  RunCommand([&] { started = payments_.BeginCorrection(); });
  if (!started) return;
  EditInDialog([this] {
    WaitCursor hourglass;
    payments_.ConfirmCorrection();
  });
}

bool PaymentsWindow::previewKey(QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  if (event->key() == Qt::Key_Escape) {
    reject();
    return true;
  }
  if (event->key() == Qt::Key_F4) {
    CorrectPayment();
    return true;
  }
  if (event->key() == Qt::Key_F2) {
    NewPayment();
    return true;
  }
  return false;
}

}  // namespace app
