#include "reports/layout_canvas.h"

#include <cmath>

namespace reports {
namespace {

// Rounding slack of centimetre arithmetic: a line that fits to a thousandth
// of a micrometre fits.
constexpr double kSlack = 1e-7;

}  // namespace

void LayoutCanvas::SetFont(const std::string& name, double size) {
  font_.name = name;
  font_.size = size;
}

void LayoutCanvas::SetCharset(int code) {
  font_.charset = code;
}

void LayoutCanvas::SetMargins(double left, double right, double top, double bottom) {
  left_margin_ = left;
  right_margin_ = right;
  top_margin_ = top;
  bottom_margin_ = bottom;
  if (!moved_) top_ = section_top_ = top;
}

void LayoutCanvas::StartSection() {
  section_top_ = top_;
  line_ = 0;
}

void LayoutCanvas::Home() {
  top_ = section_top_;
  line_ = 1;
  column_ = 1;
}

void LayoutCanvas::ClearTabs() {
  tabs_.clear();
}

void LayoutCanvas::SetTab(double position, TabJustify justify, double width, double margin, int,
                          int) {
  if (position < 0) {
    position = tabs_.empty() ? left_margin_ : tabs_.back().position + tabs_.back().width;
  }
  tabs_.push_back(Tab{position, justify, width, margin});
}

void LayoutCanvas::Draw(double x, const std::string& text) {
  if (text.empty()) return;
  surface_.DrawText(font_, x, top_, text);
  moved_ = true;
}

void LayoutCanvas::PrintLeft(const std::string& text, double x) {
  Draw(x, text);
}

void LayoutCanvas::PrintInTab(const Tab& tab, const std::string& text) {
  if (text.empty()) return;
  if (tab.justify == TabJustify::kRight) {
    Draw(tab.position + tab.width - tab.margin - surface_.TextWidth(font_, text), text);
  } else {
    Draw(tab.position + tab.margin, text);
  }
}

void LayoutCanvas::PrintTabbedLine(const std::string& text) {
  size_t start = 0;
  for (size_t column = 0;; ++column) {
    const size_t tab = text.find('\t', start);
    const std::string part = text.substr(start, tab == std::string::npos ? tab : tab - start);
    if (column == 0) {
      Draw(left_margin_, part);
    } else if (column <= tabs_.size()) {
      PrintInTab(tabs_[column - 1], part);
    } else {
      const double end = tabs_.empty() ? left_margin_ : tabs_.back().position + tabs_.back().width;
      Draw(end, part);
    }
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  NewLine();
}

void LayoutCanvas::NewLine() {
  const double height = surface_.LineHeight(font_);
  top_ += height;
  moved_ = true;
  ++line_;
  column_ = 1;
  if (top_ + height > SectionBottom() + kSlack) NewPage();
}

void LayoutCanvas::NewPage() {
  surface_.NewPage();
  ++page_;
  top_ = section_top_;
  moved_ = true;
  line_ = 1;
  column_ = 1;
}

int LayoutCanvas::LinesLeft() {
  const double room = SectionBottom() - top_;
  if (room <= 0) return 0;
  return static_cast<int>(std::floor(room / surface_.LineHeight(font_) + kSlack));
}

}  // namespace reports
