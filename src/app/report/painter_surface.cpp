#include "app/report/painter_surface.h"

#include "dbf/charset_tables.h"

namespace app {
namespace {

QString Unicode(const std::string& cp1250) {
  return QString::fromStdString(dbf::Cp1250ToUtf8(cp1250));
}

}  // namespace

QFont ReportQFont(const reports::ReportFont& font) {
  // The Windows report font and its character set have one stand-in here.
  const bool arial = font.name == "ArialCE" || font.name == "Arial CE" || font.name == "Arial";
  QFont qfont(arial ? QString(PainterSurface::kFamily) : QString::fromStdString(font.name));
  qfont.setPointSizeF(font.size);
  qfont.setStyleHint(QFont::SansSerif);
  // Semi-condensed DejaVu Sans has about Arial's widths (digits 0.55 em), for
  // which the reports' tab stops were laid out.
  if (arial) qfont.setStretch(QFont::SemiCondensed);
  qfont.setHintingPreference(QFont::PreferNoHinting);
  return qfont;
}

int MetricsDevice::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
      return dpi_;
    case PdmDepth:
      return 32;
    case PdmDevicePixelRatio:
      return 1;
    case PdmDevicePixelRatioScaled:
      return static_cast<int>(devicePixelRatioFScale());
    default:
      return 1000;
  }
}

PainterSurface::PainterSurface(QPainter& painter, QPagedPaintDevice& device)
    : painter_(painter),
      device_(device),
      new_page_([&device] { device.newPage(); }),
      dpi_(device.logicalDpiX()) {
  const QRectF paper = device.pageLayout().fullRect(QPageLayout::Millimeter);
  page_width_ = paper.width() / 10;
  page_height_ = paper.height() / 10;
}

PainterSurface::PainterSurface(QPainter& painter, QPaintDevice& device, double width, double height,
                               std::function<void()> new_page)
    : painter_(painter),
      device_(device),
      new_page_(std::move(new_page)),
      dpi_(device.logicalDpiX()),
      page_width_(width),
      page_height_(height) {}

void PainterSurface::Use(const reports::ReportFont& font) {
  if (current_ && current_->name == font.name && current_->size == font.size) return;
  current_ = font;
  font_ = ReportQFont(font);
  painter_.setFont(font_);
  metrics_.emplace(font_, &device_);
}

double PainterSurface::LineHeight(const reports::ReportFont& font) {
  Use(font);
  return ToCm(metrics_->lineSpacing());
}

double PainterSurface::TextWidth(const reports::ReportFont& font, const std::string& text) {
  Use(font);
  return ToCm(metrics_->horizontalAdvance(Unicode(text)));
}

void PainterSurface::DrawText(const reports::ReportFont& font, double x, double top,
                              const std::string& text) {
  Use(font);
  painter_.drawText(QPointF(ToDevice(x), ToDevice(top) + metrics_->ascent()), Unicode(text));
}

void PainterSurface::NewPage() {
  new_page_();
}

}  // namespace app
