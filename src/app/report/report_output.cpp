#include "app/report/report_output.h"

#include <QPainter>
#include <climits>
#include <cstdio>
#include <stdexcept>

#include "app/report/painter_surface.h"
#include "app/report/pdf_surface.h"
#include "reports/layout_canvas.h"
#include "reports/page_filter.h"

namespace app {
namespace {

void Paint(QPagedPaintDevice& device, const ReportPages& pages, const char* what) {
  QPainter painter;
  if (!painter.begin(&device)) throw std::runtime_error(std::string("Cannot paint on ") + what);
  PainterSurface surface(painter, device);
  reports::LayoutCanvas canvas(surface);
  try {
    pages(canvas);
  } catch (...) {
    painter.end();
    throw;
  }
  if (!painter.end()) throw std::runtime_error(std::string("Cannot finish ") + what);
}

}  // namespace

void RenderReport(QPrinter& printer, const ReportPages& pages) {
  printer.setFullPage(true);
  Paint(printer, pages, "the printer");
}

void WriteReportPdf(const QString& path, const ReportPages& pages, const PageProgress& progress) {
  const std::string file = path.toStdString();
  try {
    PdfSurface surface(file, QString::fromUtf8(kReportJobTitle));
    if (progress) {
      const int count = reports::RunPageRange(surface, pages, 1, 0);
      reports::RunPageRange(surface, pages, 1, INT_MAX, [&](int page) { progress(page, count); });
    } else {
      reports::LayoutCanvas canvas(surface);
      pages(canvas);
    }
    surface.Finish();
  } catch (...) {
    std::remove(file.c_str());
    throw;
  }
}

}  // namespace app
