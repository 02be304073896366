#ifndef SALDEX_APP_LOGIN_DIALOG_H_
#define SALDEX_APP_LOGIN_DIALOG_H_

#include <QLabel>
#include <QPushButton>
#include <optional>

#include "controls/entry_dialog.h"
#include "controls/valid_edit.h"
#include "store/operator.h"

namespace app {

// The user login dialog: the login name and the password (shown as "*"),
// "OK" (result Accepted, the modal result 1) and "Storno" (first in tab
// order, result Rejected). Fixed 337 x 151 client area without border icons,
// centred on the desktop, the focus on the name when it opens.
class LoginDialog : public controls::EntryDialog {
  Q_OBJECT
 public:
  explicit LoginDialog(QWidget* parent = nullptr);

  QString userName() const { return name_edit_->text(); }
  QString password() const { return password_edit_->text(); }

  controls::TValidEdit* nameEdit() const { return name_edit_; }
  controls::TValidEdit* passwordEdit() const { return password_edit_; }
  QPushButton* okButton() const { return ok_button_; }
  QPushButton* cancelButton() const { return cancel_button_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  controls::TValidEdit* name_edit_;
  controls::TValidEdit* password_edit_;
  QPushButton* ok_button_;
  QPushButton* cancel_button_;
};

// Shows LoginDialog modally; the two texts typed (code page 1250, as typed)
// when it is confirmed, nullopt when it is cancelled. The Qt operator's
// AskLogin.
std::optional<store::LoginEntry> AskLoginDialog(QWidget* parent);

}  // namespace app

#endif  // SALDEX_APP_LOGIN_DIALOG_H_
