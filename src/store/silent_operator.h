#ifndef SALDEX_STORE_SILENT_OPERATOR_H_
#define SALDEX_STORE_SILENT_OPERATOR_H_

#include <optional>
#include <string>

#include "store/operator.h"

namespace store {

// An operator nobody sits at: messages and progress go nowhere, the login
// dialog is cancelled. Tools and benchmarks derive from it and override what
// they want to see.
class SilentOperator : public Operator {
 public:
  void ShowMessage(const std::string&, const std::string&) override {}
  std::optional<LoginEntry> AskLogin() override { return std::nullopt; }
  void CreateProgress(const std::string&) override {}
  void ShowProgress() override {}
  void SetProgressLabel(const std::string&) override {}
  void SetProgressPercent(int) override {}
  void CloseProgress() override {}
  void ProcessMessages() override {}
};

}  // namespace store

#endif  // SALDEX_STORE_SILENT_OPERATOR_H_
