#include "app/report/report_output.h"

#include <climits>
#include <cstdio>

#include "app/report/pdf_surface.h"
#include "reports/layout_canvas.h"
#include "reports/page_filter.h"

namespace app {

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
