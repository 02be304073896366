#ifndef SALDEX_APP_PAINTER_SURFACE_H_
#define SALDEX_APP_PAINTER_SURFACE_H_

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <optional>
#include <string>

#include "reports/page_surface.h"

namespace app {

// The report's page surface over a QPainter on a paged device (printer, PDF
// writer, preview). REQUIRES: the painter is active on `device` with its
// origin at the paper's top-left corner (a printer with full-page mode, a
// PDF writer without margins). The report's "ArialCE" is drawn in DejaVu
// Sans, which holds every Central European character; texts arrive in code
// page 1250.
class PainterSurface : public reports::PageSurface {
 public:
  PainterSurface(QPainter& painter, QPagedPaintDevice& device);

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
  QPagedPaintDevice& device_;
  double dpi_;
  double page_width_;
  double page_height_;
  std::optional<reports::ReportFont> current_;
  QFont font_;
  std::optional<QFontMetricsF> metrics_;
};

}  // namespace app

#endif  // SALDEX_APP_PAINTER_SURFACE_H_
