#ifndef SALDEX_APP_ERROR_DISPLAY_H_
#define SALDEX_APP_ERROR_DISPLAY_H_

#include <QApplication>
#include <exception>
#include <functional>

namespace app {

// The application's default error display: an error that a command does not
// catch is shown with its text (code page 1250 inside, as the engine raises
// it) in a modal message box, and the program goes on. The command ends where
// the error arose.
void ShowError(const std::exception& error);
void ShowUnknownError();

// Runs `command`; an error it raises goes to the default error display.
void RunCommand(const std::function<void()>& command);

// The program's QApplication: every event is delivered through the default
// error display, so an error escaping a window's handler is shown there.
class SaldexApplication : public QApplication {
 public:
  SaldexApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace app

#endif  // SALDEX_APP_ERROR_DISPLAY_H_
