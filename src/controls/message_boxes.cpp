#include "controls/message_boxes.h"

#include <QMessageBox>

#include "store/operator.h"

namespace controls {
namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QString::fromUtf8(store::kApplicationTitle), text, QMessageBox::Ok, parent);
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
