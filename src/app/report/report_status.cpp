#include "app/report/report_status.h"

#include <QApplication>
#include <QVBoxLayout>

namespace app {

ReportStatus::ReportStatus(QWidget* parent, const char* line, bool cancellable)
    : QDialog(parent), line_(QString::fromUtf8(line)), label_(new QLabel(this)) {
  setWindowTitle(QString::fromUtf8(kCaption));
  setWindowModality(Qt::ApplicationModal);
  auto* layout = new QVBoxLayout(this);
  label_->setMinimumWidth(220);
  layout->addWidget(label_);
  if (cancellable) {
    cancel_ = new QPushButton(QStringLiteral("Storno"), this);
    connect(cancel_, &QPushButton::clicked, this, [this] {
      cancelled_ = true;
      cancel_->setEnabled(false);
    });
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  }
  show();
}

void ReportStatus::ShowPage(int page) {
  label_->setText(QString(line_).replace(QStringLiteral("%p"), QString::number(page)));
  QApplication::processEvents();
}

void ReportStatus::reject() {
  if (cancel_ != nullptr && cancel_->isEnabled()) cancel_->click();
}

}  // namespace app
