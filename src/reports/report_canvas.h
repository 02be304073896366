#ifndef SALDEX_REPORTS_REPORT_CANVAS_H_
#define SALDEX_REPORTS_REPORT_CANVAS_H_

#include <string>

namespace reports {

enum class TabJustify { kLeft, kRight };

// SetTab position meaning "the previous tab's position plus its width" (the
// left margin for the first tab).
inline constexpr double kAfterPreviousTab = -1.0;

// The page-drawing operations report code writes to. Positions and sizes are
// centimetres; horizontal positions are measured from the left edge of the
// paper, the vertical position advances by lines of the current font's line
// height. Texts are code page 1250.
class ReportCanvas {
 public:
  virtual ~ReportCanvas() = default;

  // Font of the following text: plain style, `size` in points.
  virtual void SetFont(const std::string& name, double size) = 0;
  // Character set by its Windows code (238 = Central European).
  virtual void SetCharset(int code) = 0;
  virtual void SetMargins(double left, double right, double top, double bottom) = 0;
  // The current vertical position becomes the top of the text section; the
  // line counter is 0.
  virtual void StartSection() = 0;
  // Line and column counters to 1.
  virtual void Home() = 0;
  virtual void ClearTabs() = 0;
  // Appends a tab stop. `margin` is kept clear inside both edges of the stop.
  virtual void SetTab(double position, TabJustify justify, double width, double margin,
                      int box_lines, int shade) = 0;
  // Prints left-aligned from x on the current line; the line stays.
  virtual void PrintLeft(const std::string& text, double x) = 0;
  // Prints the text on the current line, each tab character moving to the
  // next tab stop and the text after it aligned in that stop; then NewLine.
  virtual void PrintTabbedLine(const std::string& text) = 0;
  // Next line; when it does not fit into the section, the top of the
  // section on a new page.
  virtual void NewLine() = 0;
  // Finishes the page; the next one starts at the top of the section.
  virtual void NewPage() = 0;
  // Whole lines of the current line height from the current line down to
  // the bottom of the section, the current line counted; 0 when the current
  // position is below the section.
  virtual int LinesLeft() = 0;
};

}  // namespace reports

#endif  // SALDEX_REPORTS_REPORT_CANVAS_H_
