#include "app/error_display.h"

#include <QMessageBox>
#include <QWidget>

#include "controls/qt_text.h"
#include "store/operator.h"

namespace app {
namespace {

void ShowErrorText(const QString& text) {
  QMessageBox box(QMessageBox::Critical, controls::FromAnsi(store::kApplicationTitle), text,
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
}

}  // namespace

void ShowError(const std::exception& error) {
  ShowErrorText(controls::FromAnsi(error.what()));
}

void ShowUnknownError() {
  ShowErrorText(QStringLiteral("Neznámá chyba"));
}

void RunCommand(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    ShowError(error);
  } catch (...) {
    ShowUnknownError();
  }
}

SaldexApplication::SaldexApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool SaldexApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowError(error);
  } catch (...) {
    ShowUnknownError();
  }
  return false;
}

}  // namespace app
