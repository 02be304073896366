#ifndef SALDEX_REPORTS_PAGE_SURFACE_H_
#define SALDEX_REPORTS_PAGE_SURFACE_H_

#include <string>

namespace reports {

// A font as the report asks for it.
struct ReportFont {
  std::string name = "ArialCE";
  double size = 10;  // points
  int charset = 1;   // Windows character set code; 238 Central European
};

// What a LayoutCanvas draws on: pages of a fixed size, text measured and
// placed in centimetres. The Qt program implements it with QPainter on a
// printer, a PDF writer or the preview; tests record the calls.
class PageSurface {
 public:
  virtual ~PageSurface() = default;

  virtual double PageWidth() const = 0;   // cm
  virtual double PageHeight() const = 0;  // cm
  // Line height and advance width of `text` (code page 1250) in `font`, cm.
  virtual double LineHeight(const ReportFont& font) = 0;
  virtual double TextWidth(const ReportFont& font, const std::string& text) = 0;
  // Draws `text` with the top of its line at `top` and its left end at `x`.
  virtual void DrawText(const ReportFont& font, double x, double top, const std::string& text) = 0;
  // Ends the current page and starts an empty one.
  virtual void NewPage() = 0;
};

}  // namespace reports

#endif  // SALDEX_REPORTS_PAGE_SURFACE_H_
