#include "app/report/report_preview.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "app/report/painter_surface.h"
#include "app/report/report_printer.h"
#include "app/report/report_status.h"
#include "reports/page_filter.h"

namespace app {
namespace {

// Pages are laid out on the font metrics of a 1200 dpi device, the
// resolution of the PDF writer and of high-resolution printers, whatever
// the zoom.
constexpr int kLayoutDpi = 1200;
constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 4.0;
constexpr double kZoomStep = 1.25;

struct PrintCancelled {};

QImage LayoutImage(int width, int height) {
  QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  const int dots_per_metre = static_cast<int>(kLayoutDpi / 0.0254 + 0.5);
  image.setDotsPerMeterX(dots_per_metre);
  image.setDotsPerMeterY(dots_per_metre);
  return image;
}

}  // namespace

ReportPreview::ReportPreview(QWidget* parent, ReportPages pages, int32_t hlavni_tiskarna)
    : pages_(std::move(pages)),
      hlavni_tiskarna_(hlavni_tiskarna),
      printer_(QPrinter::HighResolution) {
  // The printer is chosen first too: changing it may reset the page layout.
  SelectReportPrinter(printer_, hlavni_tiskarna);
  printer_.setDocName(QString::fromUtf8(kReportJobTitle));
  printer_.setFullPage(true);
  printer_.setPageOrientation(QPageLayout::Landscape);
  BuildWindow(parent);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::BuildWindow(QWidget* parent) {
  dialog_ = std::make_unique<QDialog>(parent);
  dialog_->setWindowTitle(QString::fromUtf8(kCaption));
  dialog_->setWindowModality(Qt::ApplicationModal);
  dialog_->resize(1000, 720);
  auto* layout = new QVBoxLayout(dialog_.get());
  layout->setContentsMargins(0, 0, 0, 0);
  auto* tools = new QToolBar(dialog_.get());
  layout->addWidget(tools);
  auto add = [&](const char* text, QKeySequence key, auto slot) {
    QAction* action = tools->addAction(QString::fromUtf8(text));
    action->setShortcut(key);
    QObject::connect(action, &QAction::triggered, dialog_.get(), slot);
    return action;
  };
  add("Tisk", QKeySequence::Print, [this] { Print(); });
  tools->addSeparator();
  add("První strana", QKeySequence(Qt::Key_Home), [this] { ShowPage(1); });
  add("Předchozí strana", QKeySequence(Qt::Key_PageUp), [this] { ShowPage(current_page_ - 1); });
  page_box_ = new QSpinBox(tools);
  page_box_->setRange(1, 1);
  page_box_->setKeyboardTracking(false);
  tools->addWidget(page_box_);
  QObject::connect(page_box_, &QSpinBox::valueChanged, dialog_.get(),
                   [this](int page) { ShowPage(page); });
  page_total_ = new QLabel(tools);
  tools->addWidget(page_total_);
  add("Další strana", QKeySequence(Qt::Key_PageDown), [this] { ShowPage(current_page_ + 1); });
  add("Poslední strana", QKeySequence(Qt::Key_End), [this] { ShowPage(page_count_); });
  tools->addSeparator();
  add("Zvětšit", QKeySequence::ZoomIn, [this] { SetZoom(zoom_ * kZoomStep); });
  add("Zmenšit", QKeySequence::ZoomOut, [this] { SetZoom(zoom_ / kZoomStep); });
  add("Celá strana", QKeySequence(), [this] {
    const QSize room = scroll_->viewport()->size();
    const double dpi = dialog_->logicalDpiX();
    SetZoom(std::min(room.width() / (PaperWidth() / 2.54 * dpi),
                     room.height() / (PaperHeight() / 2.54 * dpi)));
  });
  tools->addSeparator();
  add("Zavřít", QKeySequence(), [this] { dialog_->reject(); });

  scroll_ = new QScrollArea(dialog_.get());
  scroll_->setAlignment(Qt::AlignCenter);
  scroll_->setBackgroundRole(QPalette::Dark);
  page_view_ = new QLabel(scroll_);
  scroll_->setWidget(page_view_);
  layout->addWidget(scroll_);
}

double ReportPreview::PaperWidth() const {
  return printer_.pageLayout().fullRect(QPageLayout::Millimeter).width() / 10;
}

double ReportPreview::PaperHeight() const {
  return printer_.pageLayout().fullRect(QPageLayout::Millimeter).height() / 10;
}

void ReportPreview::Fail() {
  // Qt's event loop does not carry exceptions: close and raise after it.
  error_ = std::current_exception();
  QTimer::singleShot(0, dialog_.get(), &QDialog::reject);
}

void ReportPreview::CountPages() {
  ReportStatus status(dialog_->parentWidget(), ReportStatus::kGenerating, false);
  QImage image = LayoutImage(1, 1);
  QPainter painter(&image);
  PainterSurface surface(painter, image, PaperWidth(), PaperHeight(), [] {});
  page_count_ =
      reports::RunPageRange(surface, pages_, 1, 0, [&status](int page) { status.ShowPage(page); });
}

void ReportPreview::ShowPage(int page) {
  if (error_ || page_count_ == 0) return;
  page = std::clamp(page, 1, page_count_);
  const double scale = zoom_ * dialog_->logicalDpiX() / kLayoutDpi;
  const double width = PaperWidth() / 2.54 * kLayoutDpi;
  const double height = PaperHeight() / 2.54 * kLayoutDpi;
  image_ =
      LayoutImage(static_cast<int>(width * scale + 0.5), static_cast<int>(height * scale + 0.5));
  image_.fill(Qt::white);
  try {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    PainterSurface surface(painter, image_, PaperWidth(), PaperHeight(), [] {});
    reports::RunPageRange(surface, pages_, page, page);
  } catch (...) {
    Fail();
    return;
  }
  ++pages_drawn_;
  current_page_ = page;
  page_view_->setPixmap(QPixmap::fromImage(image_));
  page_view_->resize(image_.size());
  const QSignalBlocker quiet(page_box_);
  page_box_->setValue(page);
}

void ReportPreview::SetZoom(double zoom) {
  zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
  if (current_page_ > 0) ShowPage(current_page_);
}

bool ReportPreview::Print() {
  // SestavyBeforePrint: the report's printer, the page layout kept.
  const QPageLayout layout = printer_.pageLayout();
  SelectReportPrinter(printer_, hlavni_tiskarna_);
  printer_.setPageLayout(layout);
  printer_.setFullPage(true);
  bool printed = false;
  {
    ReportStatus status(dialog_.get(), ReportStatus::kPrinting, true);
    QPainter painter;
    if (painter.begin(&printer_)) {
      try {
        PainterSurface surface(painter, printer_);
        reports::RunPageRange(surface, pages_, 1, INT_MAX, [&status](int page) {
          status.ShowPage(page);
          if (status.cancelled()) throw PrintCancelled{};
        });
        printed = painter.end();
      } catch (const PrintCancelled&) {
        printer_.abort();
        painter.end();
      } catch (...) {
        printer_.abort();
        painter.end();
        Fail();
        return false;
      }
    }
  }
  dialog_->accept();
  return printed;
}

void ReportPreview::Run() {
  try {
    CountPages();
  } catch (...) {
    printer_.setPageOrientation(QPageLayout::Portrait);
    throw;
  }
  page_box_->setRange(1, std::max(page_count_, 1));
  page_total_->setText(QStringLiteral(" z %1 ").arg(page_count_));
  ShowPage(1);
  if (!error_) dialog_->exec();
  printer_.setPageOrientation(QPageLayout::Portrait);
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

}  // namespace app
