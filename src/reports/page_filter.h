#ifndef SALDEX_REPORTS_PAGE_FILTER_H_
#define SALDEX_REPORTS_PAGE_FILTER_H_

#include <climits>
#include <functional>
#include <string>

#include "reports/page_surface.h"

namespace reports {

// A page surface that passes on to `inner` the drawing of the pages
// `first` to `last` (1-based) only, while the layout of every page still
// runs on the inner surface's metrics. So one run of a report's page handler
// can count its pages without drawing (first > last), draw one page of a
// long report, or draw them all while someone watches the page number.
// After page `last` the run ends by raising PageFilter::Done.
class PageFilter : public PageSurface {
 public:
  struct Done {};
  // Called with the number of each page as it begins (1 first); may raise
  // to end the run.
  using PageStarted = std::function<void(int page)>;

  PageFilter(PageSurface& inner, int first, int last, PageStarted started = {});

  double PageWidth() const override { return inner_.PageWidth(); }
  double PageHeight() const override { return inner_.PageHeight(); }
  double LineHeight(const ReportFont& font) override { return inner_.LineHeight(font); }
  // 0 on pages not drawn: their text has no place to be measured for.
  double TextWidth(const ReportFont& font, const std::string& text) override;
  void DrawText(const ReportFont& font, double x, double top, const std::string& text) override;
  void NewPage() override;

  // The page being laid out.
  int page() const { return page_; }
  bool drawing() const { return page_ >= first_ && page_ <= last_; }

 private:
  PageSurface& inner_;
  int first_, last_;
  PageStarted started_;
  int page_ = 1;
};

// Runs `pages` (a page handler over a canvas) on `surface` through a
// LayoutCanvas, passing on pages `first` to `last` only; returns the number
// of pages laid out (up to `last` when the run ended there).
int RunPageRange(PageSurface& surface, const std::function<void(class ReportCanvas&)>& pages,
                 int first, int last = INT_MAX, const PageFilter::PageStarted& started = {});

}  // namespace reports

#endif  // SALDEX_REPORTS_PAGE_FILTER_H_
