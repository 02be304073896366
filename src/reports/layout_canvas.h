#ifndef SALDEX_REPORTS_LAYOUT_CANVAS_H_
#define SALDEX_REPORTS_LAYOUT_CANVAS_H_

#include <string>
#include <vector>

#include "reports/page_surface.h"
#include "reports/report_canvas.h"

namespace reports {

// The ReportCanvas line and tab layout over any PageSurface: the current
// line's top edge moves down by the current font's line height; a line that
// would reach below the section (page height minus bottom margin) continues
// at the top of the section on a new page. Before anything moved on the first
// page the current position is the top margin.
//
// Text is never cut: text wider than its tab stop runs on to the right from
// a left-justified stop and to the left from a right-justified one, as the
// totals label runs over the empty stops after it. Text after more tab
// characters than there are stops is printed after the last stop.
class LayoutCanvas : public ReportCanvas {
 public:
  explicit LayoutCanvas(PageSurface& surface) : surface_(surface) {}

  void SetFont(const std::string& name, double size) override;
  void SetCharset(int code) override;
  void SetMargins(double left, double right, double top, double bottom) override;
  void StartSection() override;
  void Home() override;
  void ClearTabs() override;
  void SetTab(double position, TabJustify justify, double width, double margin, int box_lines,
              int shade) override;
  void PrintLeft(const std::string& text, double x) override;
  void PrintTabbedLine(const std::string& text) override;
  void NewLine() override;
  void NewPage() override;
  int LinesLeft() override;

  // 1-based page number, line counter, top of the current line (cm).
  int page() const { return page_; }
  int line() const { return line_; }
  double current_top() const { return top_; }
  const ReportFont& font() const { return font_; }

  struct Tab {
    double position;
    TabJustify justify;
    double width;
    double margin;
  };
  const std::vector<Tab>& tabs() const { return tabs_; }

 private:
  double SectionBottom() const { return surface_.PageHeight() - bottom_margin_; }
  void Draw(double x, const std::string& text);
  void PrintInTab(const Tab& tab, const std::string& text);

  PageSurface& surface_;
  ReportFont font_;
  double left_margin_ = 0, right_margin_ = 0, top_margin_ = 0, bottom_margin_ = 0;
  double section_top_ = 0;
  double top_ = 0;
  bool moved_ = false;
  int page_ = 1;
  int line_ = 0;
  int column_ = 0;
  std::vector<Tab> tabs_;
};

}  // namespace reports

#endif  // SALDEX_REPORTS_LAYOUT_CANVAS_H_
