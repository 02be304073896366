#include "controls/message_boxes.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace controls {
namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  // The program names itself after its title when it starts.
  QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

void ShowErrorBox(QWidget* parent, const QString& text) {
  ShowBox(parent, QMessageBox::Critical, text);
}

void ShowInformationBox(QWidget* parent, const QString& text) {
  ShowBox(parent, QMessageBox::Information, text);
}

}  // namespace controls
