#include "app/report_preview.h"

#include <QTimer>

#include "app/report_printer.h"

namespace app {

ReportPreview::ReportPreview(QWidget* parent, ReportPages pages, int32_t hlavni_tiskarna)
    : pages_(std::move(pages)), printer_(QPrinter::HighResolution) {
  // The printer is chosen first: changing it may reset the page layout.
  SelectReportPrinter(printer_, hlavni_tiskarna);
  printer_.setDocName(QString::fromUtf8(kReportJobTitle));
  printer_.setFullPage(true);
  printer_.setPageOrientation(QPageLayout::Landscape);
  dialog_ = std::make_unique<QPrintPreviewDialog>(&printer_, parent);
  dialog_->setWindowTitle(QString::fromUtf8(kCaption));
  dialog_->setWindowModality(Qt::ApplicationModal);
  QObject::connect(dialog_.get(), &QPrintPreviewDialog::paintRequested, dialog_.get(),
                   [this](QPrinter* printer) { Paint(printer); });
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::Paint(QPrinter* printer) {
  if (error_) return;
  try {
    RenderReport(*printer, pages_);
  } catch (...) {
    // Qt's event loop does not carry exceptions: close and raise after it.
    error_ = std::current_exception();
    QTimer::singleShot(0, dialog_.get(), &QDialog::reject);
  }
}

void ReportPreview::Run() {
  dialog_->exec();
  printer_.setPageOrientation(QPageLayout::Portrait);
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

}  // namespace app
