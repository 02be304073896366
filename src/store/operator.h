#ifndef SALDEX_STORE_OPERATOR_H_
#define SALDEX_STORE_OPERATOR_H_

#include <optional>
#include <string>

namespace store {

// Caption of the program's message boxes.
inline constexpr const char* kApplicationTitle = "Exportni modul pro Saldex 2";

// What the operator typed into the login dialog (code page 1250, as typed).
struct LoginEntry {
  std::string name;
  std::string password;
};

// The data modules' only way to the person at the screen. The Qt program
// implements it with real windows, the command-line tools with the console,
// tests with a recorder. Every text is code page 1250. Calls come from the
// user-interface thread only.
class Operator {
 public:
  virtual ~Operator() = default;

  // Modal information box; returns when the operator has dismissed it.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;

  // Modal login dialog; nullopt when the operator cancels it.
  virtual std::optional<LoginEntry> AskLogin() = 0;

  // Progress window: created hidden with its caption, shown on demand,
  // `label` names the work, `percent` (0..100) sets the gauge. At most one
  // progress window exists at a time; CloseProgress releases it.
  virtual void CreateProgress(const std::string& caption) = 0;
  virtual void ShowProgress() = 0;
  virtual void SetProgressLabel(const std::string& label) = 0;
  virtual void SetProgressPercent(int percent) = 0;
  virtual void CloseProgress() = 0;

  // Lets pending window messages run (repaint, input) before work goes on.
  virtual void ProcessMessages() = 0;
};

}  // namespace store

#endif  // SALDEX_STORE_OPERATOR_H_
