#include "app/qt_operator.h"

#include <QApplication>
#include <QMessageBox>

#include "app/login_dialog.h"
#include "controls/qt_text.h"

namespace app {

void ShowInformation(QWidget* owner, const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::Information, controls::FromAnsi(caption), controls::FromAnsi(text),
                  QMessageBox::Ok, owner);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Ok);
  box.exec();
}

QtOperator::QtOperator() = default;
QtOperator::~QtOperator() = default;

QWidget* QtOperator::Owner() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (owner_ && owner_->isVisible()) return owner_;
  return QApplication::activeWindow();
}

void QtOperator::ShowMessage(const std::string& text, const std::string& caption) {
  ShowInformation(Owner(), text, caption);
}

std::optional<store::LoginEntry> QtOperator::AskLogin() {
  return AskLoginDialog(Owner());
}

void QtOperator::CreateProgress(const std::string& caption) {
  progress_ = std::make_unique<ProgressWindow>(controls::FromAnsi(caption));
}

void QtOperator::ShowProgress() {
  if (progress_ && !progress_->isVisible()) progress_->ShowCentred();
}

void QtOperator::SetProgressLabel(const std::string& label) {
  if (progress_) progress_->SetLabel(controls::FromAnsi(label));
}

void QtOperator::SetProgressPercent(int percent) {
  if (progress_) progress_->SetPercent(percent);
}

void QtOperator::CloseProgress() {
  progress_.reset();
}

void QtOperator::ProcessMessages() {
  QApplication::processEvents();
}

}  // namespace app
