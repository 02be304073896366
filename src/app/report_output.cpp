#include "app/report_output.h"

#include <QPainter>
#include <QPdfWriter>
#include <stdexcept>

#include "app/painter_surface.h"
#include "reports/layout_canvas.h"

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

void WriteReportPdf(const QString& path, const ReportPages& pages) {
  QPdfWriter writer(path);
  writer.setTitle(QString::fromUtf8(kReportJobTitle));
  writer.setCreator(QStringLiteral("saldex-export"));
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                   QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
  Paint(writer, pages, ("the PDF file " + path.toStdString()).c_str());
}

}  // namespace app
