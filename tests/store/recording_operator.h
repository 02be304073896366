#ifndef SALDEX_TESTS_STORE_RECORDING_OPERATOR_H_
#define SALDEX_TESTS_STORE_RECORDING_OPERATOR_H_

// An operator that answers from a script and writes down every call, so a
// test can state exactly which messages, dialogs and progress steps a data
// module produced.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "dbf/charset_tables.h"
#include "store/operator.h"

namespace testing_support {

class RecordingOperator : public store::Operator {
 public:
  struct Message {
    std::string text;  // UTF-8
    std::string caption;
  };

  // The answers the next login dialogs give, in order; none left: cancel.
  void QueueLogin(std::optional<store::LoginEntry> answer) { logins_.push_back(answer); }

  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages.push_back({dbf::Cp1250ToUtf8(text), dbf::Cp1250ToUtf8(caption)});
    events.push_back("message: " + dbf::Cp1250ToUtf8(text));
  }
  std::optional<store::LoginEntry> AskLogin() override {
    ++login_dialogs;
    events.push_back("login");
    if (logins_.empty()) return std::nullopt;
    auto answer = logins_.front();
    logins_.pop_front();
    return answer;
  }
  void CreateProgress(const std::string& caption) override {
    progress_open = true;
    progress_visible = false;
    events.push_back("progress create: " + dbf::Cp1250ToUtf8(caption));
  }
  void ShowProgress() override {
    progress_visible = true;
    events.push_back("progress show");
  }
  void SetProgressLabel(const std::string& label) override {
    progress_label = dbf::Cp1250ToUtf8(label);
    events.push_back("progress label: " + progress_label);
  }
  void SetProgressPercent(int percent) override {
    gauge.push_back(percent);
    events.push_back("progress " + std::to_string(percent));
  }
  void CloseProgress() override {
    progress_open = false;
    progress_visible = false;
    events.push_back("progress close");
  }
  void ProcessMessages() override { ++processed; }

  std::vector<Message> messages;
  std::vector<std::string> events;  // every call in order, texts in UTF-8
  std::vector<int> gauge;
  std::string progress_label;
  bool progress_open = false;
  bool progress_visible = false;
  int login_dialogs = 0;
  int processed = 0;

 private:
  std::deque<std::optional<store::LoginEntry>> logins_;
};

}  // namespace testing_support

#endif  // SALDEX_TESTS_STORE_RECORDING_OPERATOR_H_
