#include "controls/valid_combo_box.h"

#include <QAbstractItemView>
#include <QFocusEvent>

namespace controls {

TValidComboBox::TValidComboBox(QWidget* parent) : QComboBox(parent) {}

bool TValidComboBox::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    const bool list_open = view() && view()->isVisible();
    if (keys_.Filter(this, static_cast<QKeyEvent*>(event), !list_open)) return true;
  }
  return QComboBox::event(event);
}

void TValidComboBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (LeavesField(event->reason())) keys_.FocusLeft(this);
}

}  // namespace controls
