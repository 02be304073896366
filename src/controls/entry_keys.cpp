#include "controls/entry_keys.h"

#include <QCoreApplication>
#include <QPointer>

namespace controls {

bool EntryKeys::IsEnter(const QKeyEvent* event) {
  return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool EntryKeys::Filter(QWidget* control, QKeyEvent* event, bool enter_may_tab) {
  const bool press = event->type() == QEvent::KeyPress;
  if (IsEnter(event) && TurnsEnter(enter_may_tab)) {
    if (press) {
      // The key becomes Tab: marked as a tab exit and delivered as Tab, so
      // the focus moves like it does for a real Tab.
      const Qt::KeyboardModifiers shift = event->modifiers() & Qt::ShiftModifier;
      QKeyEvent tab(QEvent::KeyPress, shift ? Qt::Key_Backtab : Qt::Key_Tab, shift);
      QCoreApplication::sendEvent(control, &tab);
    }
    return true;
  }
  if (!press) return false;
  if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
    tab_exit_ = true;
    tab_shift_ = event->modifiers();
    return false;
  }
  if (event->key() == Qt::Key_Space && on_click_space_ &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    on_click_space_(control);
    return true;
  }
  return false;
}

void EntryKeys::FocusLeft(QWidget* control) {
  if (!tab_exit_) return;
  tab_exit_ = false;
  if (on_tab_exit_) on_tab_exit_(control, tab_shift_);
}

namespace {
bool returning_focus = false;
}  // namespace

bool LeavesField(Qt::FocusReason reason) {
  return !returning_focus && reason != Qt::ActiveWindowFocusReason &&
         reason != Qt::PopupFocusReason;
}

void ReturnFocus(QWidget* control) {
  if (!control->isEnabled() || control->focusPolicy() == Qt::NoFocus || !control->isVisible()) {
    return;
  }
  returning_focus = true;
  control->setFocus(Qt::OtherFocusReason);
  returning_focus = false;
}

void RefuseLeave(QWidget* control, const std::function<void()>& tell) {
  QPointer<QWidget> guard(control);
  ReturnFocus(control);
  tell();
  if (!guard) return;
  // A box shown meanwhile took the activation; the window gets it back.
  if (!control->window()->isActiveWindow()) control->window()->activateWindow();
  ReturnFocus(control);
}

}  // namespace controls
