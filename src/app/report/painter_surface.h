#ifndef SALDEX_APP_REPORT_PAINTER_SURFACE_H_
#define SALDEX_APP_REPORT_PAINTER_SURFACE_H_

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <functional>
#include <optional>
#include <string>

#include "reports/page_surface.h"

namespace app {

// The Qt font a report font is drawn with: the report's "ArialCE" (and
// Arial) is semi-condensed DejaVu Sans, which holds every Central European
// character and has about Arial's widths; unhinted, so that advances are the
// same on the preview, the printer and in PDF.
QFont ReportQFont(const reports::ReportFont& font);

// A paint device that only answers metrics questions, at `dpi` dots per
// inch: for font metrics as a device of that resolution gives them.
class MetricsDevice : public QPaintDevice {
 public:
  explicit MetricsDevice(int dpi) : dpi_(dpi) {}
  QPaintEngine* paintEngine() const override { return nullptr; }

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  int dpi_;
};

// The report's page surface over a QPainter on a paged device (printer, PDF
// writer, preview). REQUIRES: the painter is active on `device` with its
// origin at the paper's top-left corner (a printer with full-page mode, a
// PDF writer without margins). The report's "ArialCE" is drawn in DejaVu
// Sans, which holds every Central European character; texts arrive in code
// page 1250.
class PainterSurface : public reports::PageSurface {
 public:
  PainterSurface(QPainter& painter, QPagedPaintDevice& device);
  // Over any device (an image of the preview): the paper `width` x `height`
  // cm at the device's logical resolution; `new_page` ends a page.
  PainterSurface(QPainter& painter, QPaintDevice& device, double width, double height,
                 std::function<void()> new_page);

  double PageWidth() const override { return page_width_; }
  double PageHeight() const override { return page_height_; }
  double LineHeight(const reports::ReportFont& font) override;
  double TextWidth(const reports::ReportFont& font, const std::string& text) override;
  void DrawText(const reports::ReportFont& font, double x, double top,
                const std::string& text) override;
  void NewPage() override;

  static constexpr const char* kFamily = "DejaVu Sans";

 private:
  void Use(const reports::ReportFont& font);
  double ToDevice(double cm) const { return cm / 2.54 * dpi_; }
  double ToCm(double device) const { return device * 2.54 / dpi_; }

  QPainter& painter_;
  QPaintDevice& device_;
  std::function<void()> new_page_;
  double dpi_;
  double page_width_;
  double page_height_;
  std::optional<reports::ReportFont> current_;
  QFont font_;
  std::optional<QFontMetricsF> metrics_;
};

}  // namespace app

#endif  // SALDEX_APP_REPORT_PAINTER_SURFACE_H_
