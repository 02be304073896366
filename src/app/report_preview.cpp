#include "app/report_preview.h"

#include <QAction>
#include <QPrintPreviewWidget>
#include <QTimer>

#include "app/report_printer.h"

namespace app {

ReportPreview::ReportPreview(QWidget* parent, ReportPages pages, int32_t hlavni_tiskarna)
    : pages_(std::move(pages)),
      hlavni_tiskarna_(hlavni_tiskarna),
      printer_(QPrinter::HighResolution) {
  // The printer is chosen first too: changing it may reset the page layout.
  SelectReportPrinter(printer_, hlavni_tiskarna);
  printer_.setDocName(QString::fromUtf8(kReportJobTitle));
  printer_.setFullPage(true);
  printer_.setPageOrientation(QPageLayout::Landscape);
  dialog_ = std::make_unique<QPrintPreviewDialog>(&printer_, parent);
  dialog_->setWindowTitle(QString::fromUtf8(kCaption));
  dialog_->setWindowModality(Qt::ApplicationModal);
  QObject::connect(dialog_.get(), &QPrintPreviewDialog::paintRequested, dialog_.get(),
                   [this](QPrinter* printer) { Paint(printer); });
  // The toolbar's print button prints at once instead of asking through
  // Qt's print dialog.
  for (QAction* action : dialog_->findChildren<QAction*>()) {
    if (action->text() != QPrintPreviewDialog::tr("Print")) continue;
    QObject::disconnect(action, &QAction::triggered, dialog_.get(), nullptr);
    QObject::connect(action, &QAction::triggered, dialog_.get(), [this] { Print(); });
  }
}

void ReportPreview::Print() {
  const QPageLayout layout = printer_.pageLayout();
  SelectReportPrinter(printer_, hlavni_tiskarna_);
  printer_.setPageLayout(layout);
  printer_.setFullPage(true);
  if (auto* widget = dialog_->findChild<QPrintPreviewWidget*>()) widget->print();
  dialog_->accept();
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
