#ifndef SALDEX_APP_QT_OPERATOR_H_
#define SALDEX_APP_QT_OPERATOR_H_

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "app/progress_window.h"
#include "store/operator.h"

namespace app {

// The operator of the desktop program: modal information boxes with one OK
// button (Return presses it), the login dialog LoginDialog, the progress window
// ProgressWindow, and the event loop run between steps of long work.
class QtOperator : public store::Operator {
 public:
  QtOperator();
  ~QtOperator() override;

  // Windows the operator opens are placed over this one (may be null).
  void set_owner(QWidget* owner) { owner_ = owner; }

  void ShowMessage(const std::string& text, const std::string& caption) override;
  std::optional<store::LoginEntry> AskLogin() override;
  void CreateProgress(const std::string& caption) override;
  void ShowProgress() override;
  void SetProgressLabel(const std::string& label) override;
  void SetProgressPercent(int percent) override;
  void CloseProgress() override;
  void ProcessMessages() override;

  ProgressWindow* progress_window() const { return progress_.get(); }

 private:
  QWidget* Owner() const;

  QPointer<QWidget> owner_;
  std::unique_ptr<ProgressWindow> progress_;
};

// The modal information box of the program: `text` and `caption` in code
// page 1250, an information icon and one OK button, which is the default.
void ShowInformation(QWidget* owner, const std::string& text, const std::string& caption);

}  // namespace app

#endif  // SALDEX_APP_QT_OPERATOR_H_
