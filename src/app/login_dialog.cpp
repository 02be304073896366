#include "app/login_dialog.h"

#include "controls/qt_text.h"

namespace app {

LoginDialog::LoginDialog(QWidget* parent)
    : controls::EntryDialog(parent),
      name_edit_(new controls::TValidEdit(this)),
      password_edit_(new controls::TValidEdit(this)),
      ok_button_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_button_(new QPushButton(QStringLiteral("Storno"), this)) {
  setWindowTitle(QStringLiteral("Přihlašovací dialog uživatele"));
  setFixedClientSize(337, 151, true);

  auto* notice = new QLabel(
      QStringLiteral("Přihlašovací jméno z Windows není v seznamu uživatelů systému"), this);
  notice->setWordWrap(true);
  notice->setGeometry(8, 4, 321, 36);
  auto* name_label = new QLabel(QStringLiteral("Přístupové jméno uživatele "), this);
  name_label->setGeometry(8, 48, 170, 20);
  name_edit_->setGeometry(184, 46, 145, 23);
  name_label->setBuddy(name_edit_);
  auto* password_label = new QLabel(QStringLiteral("Přístupové heslo uživatele"), this);
  password_label->setGeometry(8, 80, 170, 20);
  password_edit_->setGeometry(184, 78, 145, 23);
  password_edit_->setPasswordChar(u'*');
  password_label->setBuddy(password_edit_);

  cancel_button_->setGeometry(254, 116, 75, 27);
  ok_button_->setGeometry(171, 116, 75, 27);
  connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);

  // "Storno" is first in tab order, before the name the dialog opens on, so
  // Enter from the name and the password reaches "OK" and presses it.
  setTabOrder(cancel_button_, name_edit_);
  setTabOrder(name_edit_, password_edit_);
  setTabOrder(password_edit_, ok_button_);
}

void LoginDialog::showEvent(QShowEvent* event) {
  controls::EntryDialog::showEvent(event);
  centerOnScreen();
  name_edit_->setFocus(Qt::OtherFocusReason);
}

std::optional<store::LoginEntry> AskLoginDialog(QWidget* parent) {
  LoginDialog form(parent);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return store::LoginEntry{controls::ToAnsi(form.userName()), controls::ToAnsi(form.password())};
}

}  // namespace app
