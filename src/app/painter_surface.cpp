#include "app/painter_surface.h"

#include "dbf/charset_tables.h"

namespace app {
namespace {

QString Unicode(const std::string& cp1250) {
  return QString::fromStdString(dbf::Cp1250ToUtf8(cp1250));
}

}  // namespace

PainterSurface::PainterSurface(QPainter& painter, QPagedPaintDevice& device)
    : painter_(painter), device_(device), dpi_(device.logicalDpiX()) {
  const QRectF paper = device.pageLayout().fullRect(QPageLayout::Millimeter);
  page_width_ = paper.width() / 10;
  page_height_ = paper.height() / 10;
}

void PainterSurface::Use(const reports::ReportFont& font) {
  if (current_ && current_->name == font.name && current_->size == font.size) return;
  current_ = font;
  // The Windows report font and its character set have one stand-in here.
  const bool arial = font.name == "ArialCE" || font.name == "Arial CE" || font.name == "Arial";
  font_ = QFont(arial ? QString(kFamily) : QString::fromStdString(font.name));
  font_.setPointSizeF(font.size);
  font_.setStyleHint(QFont::SansSerif);
  // Semi-condensed DejaVu Sans has about Arial's widths (digits 0.55 em), for
  // which the reports' tab stops were laid out.
  if (arial) font_.setStretch(QFont::SemiCondensed);
  // Unhinted outlines: the same advances on the preview, the printer and in PDF.
  font_.setHintingPreference(QFont::PreferNoHinting);
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
  device_.newPage();
}

}  // namespace app
