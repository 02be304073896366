#include "reports/page_filter.h"

#include "reports/layout_canvas.h"

namespace reports {

PageFilter::PageFilter(PageSurface& inner, int first, int last, PageStarted started)
    : inner_(inner), first_(first), last_(last), started_(std::move(started)) {
  if (started_) started_(page_);
}

double PageFilter::TextWidth(const ReportFont& font, const std::string& text) {
  return drawing() ? inner_.TextWidth(font, text) : 0;
}

void PageFilter::DrawText(const ReportFont& font, double x, double top, const std::string& text) {
  if (drawing()) inner_.DrawText(font, x, top, text);
}

void PageFilter::NewPage() {
  if (first_ <= last_ && page_ >= last_) throw Done{};
  // The page ending was drawn, and so is the next one (it is not after last).
  if (drawing()) inner_.NewPage();
  ++page_;
  if (started_) started_(page_);
}

int RunPageRange(PageSurface& surface, const std::function<void(ReportCanvas&)>& pages, int first,
                 int last, const PageFilter::PageStarted& started) {
  PageFilter filter(surface, first, last, started);
  LayoutCanvas canvas(filter);
  try {
    pages(canvas);
  } catch (const PageFilter::Done&) {
    // The last page asked for is done.
  }
  return filter.page();
}

}  // namespace reports
