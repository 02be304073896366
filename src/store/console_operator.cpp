#include "store/console_operator.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "dbf/charset_tables.h"
#include "store/ansi_text.h"

namespace store {
namespace {

// Turns terminal echo off for its lifetime when `fd` is a terminal.
class EchoOff {
 public:
  explicit EchoOff(int fd) : fd_(fd) {
    if (::tcgetattr(fd_, &saved_) != 0) return;
    termios quiet = saved_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    active_ = ::tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
  }
  ~EchoOff() {
    if (active_) ::tcsetattr(fd_, TCSAFLUSH, &saved_);
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  int fd_;
  termios saved_{};
  bool active_ = false;
};

}  // namespace

ConsoleOperator::ConsoleOperator(std::istream& in, std::ostream& out, bool terminal)
    : in_(in), out_(out), terminal_(terminal) {}

ConsoleOperator::ConsoleOperator()
    : ConsoleOperator(std::cin, std::cerr, ::isatty(STDERR_FILENO) == 1) {}

std::string ConsoleOperator::ProgressLine(const std::string& label_utf8, int percent) {
  percent = std::clamp(percent, 0, 100);
  const int filled = percent * kBarWidth / 100;
  std::string line = label_utf8 + " [" + std::string(static_cast<size_t>(filled), '#') +
                     std::string(static_cast<size_t>(kBarWidth - filled), '.') + "] ";
  const std::string number = std::to_string(percent);
  line += std::string(3 - number.size(), ' ') + number + "%";
  return line;
}

void ConsoleOperator::ShowMessage(const std::string& text, const std::string& caption) {
  EndBar();
  out_ << dbf::Cp1250ToUtf8(caption) << ": " << dbf::Cp1250ToUtf8(text) << std::endl;
}

bool ConsoleOperator::ReadLine(std::string& line, bool hidden) {
  bool ok;
  if (hidden && terminal_ && &in_ == &std::cin && ::isatty(STDIN_FILENO) == 1) {
    EchoOff echo_off(STDIN_FILENO);
    ok = static_cast<bool>(std::getline(in_, line));
    out_ << '\n';
  } else {
    ok = static_cast<bool>(std::getline(in_, line));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return ok;
}

std::optional<LoginEntry> ConsoleOperator::AskLogin() {
  EndBar();
  out_ << "Přihlašovací dialog uživatele" << '\n' << "Jméno: " << std::flush;
  std::string name;
  if (!ReadLine(name, false)) return std::nullopt;
  out_ << "Heslo: " << std::flush;
  std::string password;
  if (!ReadLine(password, true)) return std::nullopt;
  return LoginEntry{Ansi(name), Ansi(password)};
}

void ConsoleOperator::CreateProgress(const std::string& caption) {
  EndBar();
  progress_exists_ = true;
  visible_ = false;
  label_.clear();
  percent_ = 0;
  (void)caption;
}

void ConsoleOperator::ShowProgress() {
  if (!progress_exists_ || visible_) return;
  visible_ = true;
  if (!terminal_ && !label_.empty()) out_ << label_ << std::endl;
  Redraw();
}

void ConsoleOperator::SetProgressLabel(const std::string& label) {
  const std::string text = dbf::Cp1250ToUtf8(label);
  if (text == label_) return;
  label_ = text;
  if (!visible_) return;
  if (terminal_) {
    EndBar();
    Redraw();
  } else {
    out_ << label_ << std::endl;
  }
}

void ConsoleOperator::SetProgressPercent(int percent) {
  if (percent == percent_) return;
  percent_ = percent;
  Redraw();
}

void ConsoleOperator::CloseProgress() {
  EndBar();
  progress_exists_ = false;
  visible_ = false;
}

void ConsoleOperator::ProcessMessages() {
  out_.flush();
}

void ConsoleOperator::Redraw() {
  if (!visible_ || !terminal_) return;
  out_ << '\r' << ProgressLine(label_, percent_) << std::flush;
  bar_drawn_ = true;
}

void ConsoleOperator::EndBar() {
  if (!bar_drawn_) return;
  out_ << '\n' << std::flush;
  bar_drawn_ = false;
}

}  // namespace store
