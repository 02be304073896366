#include "controls/key_preview.h"

#include <QEvent>
#include <QKeyEvent>

namespace controls {

KeyPreview::KeyPreview(QWidget* window, Handler handler)
    : QObject(window), window_(window), handler_(std::move(handler)) {
  window_->installEventFilter(this);
  Attach();
}

void KeyPreview::Attach() {
  QWindow* handle = window_->windowHandle();
  if (handle == watched_) return;
  if (watched_) watched_->removeEventFilter(this);
  watched_ = handle;
  if (watched_) watched_->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_) {
    if (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange) Attach();
    return false;
  }
  if (watched == watched_ && event->type() == QEvent::KeyPress && enabled_ && handler_) {
    return handler_(static_cast<QKeyEvent*>(event));
  }
  return false;
}

}  // namespace controls
