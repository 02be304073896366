#ifndef SALDEX_TESTS_REPORTS_RECORDING_CANVAS_H_
#define SALDEX_TESTS_REPORTS_RECORDING_CANVAS_H_

// A ReportCanvas that writes down every call (texts in UTF-8, tab characters
// shown as "|") and answers LinesLeft from a simple page of `lines_per_page`
// lines: NewLine and PrintTabbedLine use one line, NewPage starts at line 1.

#include <string>
#include <vector>

#include "dbf/charset_tables.h"
#include "reports/report_canvas.h"

namespace testing_support {

class RecordingCanvas : public reports::ReportCanvas {
 public:
  explicit RecordingCanvas(int lines_per_page = 1000) : lines_per_page_(lines_per_page) {}

  void SetFont(const std::string& name, double size) override {
    Log("SetFont(" + name + "," + Number(size) + ")");
  }
  void SetCharset(int code) override { Log("SetCharset(" + std::to_string(code) + ")"); }
  void SetMargins(double l, double r, double t, double b) override {
    Log("SetMargins(" + Number(l) + "," + Number(r) + "," + Number(t) + "," + Number(b) + ")");
  }
  void StartSection() override { Log("StartSection"); }
  void Home() override {
    line_ = 1;
    Log("Home");
  }
  void ClearTabs() override { Log("ClearTabs"); }
  void SetTab(double position, reports::TabJustify justify, double width, double margin,
              int box_lines, int shade) override {
    Log("SetTab(" + (position == reports::kAfterPreviousTab ? "after" : Number(position)) + "," +
        (justify == reports::TabJustify::kLeft ? "L" : "R") + "," + Number(width) + "," +
        Number(margin) + "," + std::to_string(box_lines) + "," + std::to_string(shade) + ")");
  }
  void PrintLeft(const std::string& text, double x) override {
    Log("PrintLeft(" + Number(x) + "," + dbf::Cp1250ToUtf8(text) + ")");
  }
  void PrintTabbedLine(const std::string& text) override {
    std::string shown = dbf::Cp1250ToUtf8(text);
    for (char& c : shown) {
      if (c == '\t') c = '|';
    }
    Log("Line(" + shown + ")");
    lines.push_back({page_, line_, shown});
    Advance();
  }
  void NewLine() override {
    Log("NewLine");
    Advance();
  }
  void NewPage() override {
    Log("NewPage");
    ++page_;
    line_ = 1;
  }
  int LinesLeft() override {
    const int left = lines_per_page_ - line_ + 1;
    return left < 0 ? 0 : left;
  }

  struct PrintedLine {
    int page;
    int line;
    std::string text;  // UTF-8, tabs as "|"
  };
  std::vector<std::string> calls;
  std::vector<PrintedLine> lines;

 private:
  static std::string Number(double value) {
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
  }
  void Log(std::string call) { calls.push_back(std::move(call)); }
  void Advance() {
    if (++line_ > lines_per_page_) {
      ++page_;
      line_ = 1;
    }
  }

  int lines_per_page_;
  int page_ = 1;
  int line_ = 1;
};

}  // namespace testing_support

#endif  // SALDEX_TESTS_REPORTS_RECORDING_CANVAS_H_
