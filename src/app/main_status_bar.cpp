#include "app/main_status_bar.h"

#include <cstdio>

#include "dbf/clock.h"

namespace app {

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  text_ = AddPane(QString(), 313);
  caps_ = AddPane(QStringLiteral("CAPS"), 40);
  caps_->setEnabled(false);
  num_ = AddPane(QStringLiteral("NUM"), 40);
  clock_ = AddPane(QString(), 121);
  clock_->setAlignment(Qt::AlignCenter);
  connect(&timer_, &QTimer::timeout, this, &MainStatusBar::Tick);
  timer_.start(1000);
  Tick();
}

QLabel* MainStatusBar::AddPane(const QString& text, int width) {
  auto* pane = new QLabel(text, this);
  pane->setFixedWidth(width);
  pane->setFrameShape(QFrame::Panel);
  pane->setFrameShadow(QFrame::Sunken);
  addWidget(pane);
  return pane;
}

void MainStatusBar::Tick() {
  const dbf::LocalTime now = dbf::Now();
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.hour, now.minute, now.second);
  clock_->setText(QString::fromLatin1(text));
  if (last_day_ != 0 && last_day_ != now.day) emit dayChanged();
  last_day_ = now.day;
}

}  // namespace app
