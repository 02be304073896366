#ifndef SALDEX_CONTROLS_ENTRY_KEYS_H_
#define SALDEX_CONTROLS_ENTRY_KEYS_H_

#include <QKeyEvent>
#include <QWidget>
#include <functional>

#include "controls/control_types.h"

namespace controls {

// The keyboard behaviour every control of the family shares: Enter turned
// into Tab (key down and key up), the tab-exit mark with OnTabExit raised
// after the focus has left, and Space handed to OnClickSpace. A control
// routes its key events through Filter() first and calls FocusLeft() once the
// focus has really left it.
class EntryKeys {
 public:
  bool enter_is_tab() const { return enter_is_tab_; }
  void set_enter_is_tab(bool on) { enter_is_tab_ = on; }
  const TabExitEvent& on_tab_exit() const { return on_tab_exit_; }
  void set_on_tab_exit(TabExitEvent handler) { on_tab_exit_ = std::move(handler); }
  const NotifyEvent& on_click_space() const { return on_click_space_; }
  void set_on_click_space(NotifyEvent handler) { on_click_space_ = std::move(handler); }

  // True when the event was consumed and the control must not handle it.
  // `enter_may_tab` is false while a drop-down of the control is open. Enter
  // turned into Tab moves the focus (Shift: backwards).
  bool Filter(QWidget* control, QKeyEvent* event, bool enter_may_tab = true);
  // Whether Enter is turned into Tab right now.
  bool TurnsEnter(bool enter_may_tab) const { return enter_is_tab_ && enter_may_tab; }
  // Raises OnTabExit when the exit was marked; clears the mark either way.
  void FocusLeft(QWidget* control);
  // The exit was refused (the focus went back): forget the mark.
  void ClearMark() { tab_exit_ = false; }

  static bool IsEnter(const QKeyEvent* event);

 private:
  bool enter_is_tab_ = true;
  bool tab_exit_ = false;
  Qt::KeyboardModifiers tab_shift_;
  TabExitEvent on_tab_exit_;
  NotifyEvent on_click_space_;
};

// EnterIsTab, OnTabExit and OnClickSpace as the family's controls publish
// them, for a control to inherit beside its Qt widget.
class EntryKeyProperties {
 public:
  bool enterIsTab() const { return keys_.enter_is_tab(); }
  void setEnterIsTab(bool on) { keys_.set_enter_is_tab(on); }
  const TabExitEvent& onTabExit() const { return keys_.on_tab_exit(); }
  void setOnTabExit(TabExitEvent handler) { keys_.set_on_tab_exit(std::move(handler)); }
  const NotifyEvent& onClickSpace() const { return keys_.on_click_space(); }
  void setOnClickSpace(NotifyEvent handler) { keys_.set_on_click_space(std::move(handler)); }

 protected:
  EntryKeys keys_;
};

// A focus loss that leaves the field: not a window deactivation or a popup,
// and not the loss a control's ReturnFocus() causes to the control the focus
// was going to.
bool LeavesField(Qt::FocusReason reason);

// Puts the focus back into a control that refused to be left. Called while
// that control handles its focus loss; the control the focus was moving to
// loses it again without running its own leaving steps.
void ReturnFocus(QWidget* control);

// The refusal of a leave: the focus goes back into `control`, `tell` shows
// the operator why (a modal box, an event), and the control's window is
// active again afterwards with the focus still in the control.
void RefuseLeave(QWidget* control, const std::function<void()>& tell);

}  // namespace controls

#endif  // SALDEX_CONTROLS_ENTRY_KEYS_H_
