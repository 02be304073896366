// The start-up's login dialog, behind the one call the operator makes.

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "app/qt_operator.h"
#include "app/qt_text.h"

namespace app {

std::optional<store::LoginEntry> AskLoginThroughForm(QWidget* owner) {
  QDialog dialog(owner);
  dialog.setWindowTitle(QStringLiteral("Přihlašovací dialog uživatele"));
  auto* layout = new QFormLayout(&dialog);
  auto* name = new QLineEdit(&dialog);
  auto* password = new QLineEdit(&dialog);
  password->setEchoMode(QLineEdit::Password);
  layout->addRow(QStringLiteral("Jméno:"), name);
  layout->addRow(QStringLiteral("Heslo:"), password);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  layout->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return store::LoginEntry{ToAnsi(name->text()), ToAnsi(password->text())};
}

}  // namespace app
