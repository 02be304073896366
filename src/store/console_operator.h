#ifndef SALDEX_STORE_CONSOLE_OPERATOR_H_
#define SALDEX_STORE_CONSOLE_OPERATOR_H_

#include <iosfwd>
#include <optional>
#include <string>

#include "store/operator.h"

namespace store {

// The operator of batch runs: messages and the progress bar go to `out` in
// UTF-8, the login is read line by line from `in` (end of input cancels).
// On a terminal the progress bar is redrawn in place and the password is
// read without echo; otherwise each progress label is printed on its own
// line and the gauge is not printed.
class ConsoleOperator : public Operator {
 public:
  ConsoleOperator(std::istream& in, std::ostream& out, bool terminal);
  // Standard input and standard error; terminal when standard error is one.
  ConsoleOperator();

  void ShowMessage(const std::string& text, const std::string& caption) override;
  std::optional<LoginEntry> AskLogin() override;
  void CreateProgress(const std::string& caption) override;
  void ShowProgress() override;
  void SetProgressLabel(const std::string& label) override;
  void SetProgressPercent(int percent) override;
  void CloseProgress() override;
  void ProcessMessages() override;

  static constexpr int kBarWidth = 30;
  // "label [#####.....]  50%" with the label in UTF-8.
  static std::string ProgressLine(const std::string& label_utf8, int percent);

 private:
  void Redraw();
  void EndBar();
  bool ReadLine(std::string& line, bool hidden);

  std::istream& in_;
  std::ostream& out_;
  bool terminal_;
  bool progress_exists_ = false;
  bool visible_ = false;
  bool bar_drawn_ = false;
  std::string label_;  // UTF-8
  int percent_ = 0;
};

}  // namespace store

#endif  // SALDEX_STORE_CONSOLE_OPERATOR_H_
