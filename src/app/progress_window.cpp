#include "app/progress_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace app {

ProgressWindow::ProgressWindow(const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(caption);
  setFixedSize(376, 78);
  auto* fixed = new QLabel(QStringLiteral("Indexace souboru :"), this);
  fixed->setGeometry(8, 8, 110, 16);
  label1_ = new QLabel(this);
  label1_->setGeometry(120, 8, 225, 16);
  gauge1_ = new QProgressBar(this);
  gauge1_->setGeometry(8, 36, 329, 25);
  gauge1_->setRange(0, 100);
  gauge1_->setValue(0);
}

void ProgressWindow::SetLabel(const QString& text) {
  label1_->setText(text);
}

void ProgressWindow::SetPercent(int percent) {
  gauge1_->setValue(std::clamp(percent, 0, 100));
}

void ProgressWindow::ShowCentred() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
}

}  // namespace app
