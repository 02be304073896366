#ifndef SALDEX_CONTROLS_VALID_COMBO_BOX_H_
#define SALDEX_CONTROLS_VALID_COMBO_BOX_H_

#include <QComboBox>

#include "controls/entry_keys.h"

namespace controls {

// Combo box with the family's keyboard (system settings printer choice):
// Enter moves to the next field while the list is closed.
class TValidComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit TValidComboBox(QWidget* parent = nullptr);

  bool enterIsTab() const { return keys_.enter_is_tab(); }
  void setEnterIsTab(bool on) { keys_.set_enter_is_tab(on); }
  const TabExitEvent& onTabExit() const { return keys_.on_tab_exit(); }
  void setOnTabExit(TabExitEvent handler) { keys_.set_on_tab_exit(std::move(handler)); }
  const NotifyEvent& onClickSpace() const { return keys_.on_click_space(); }
  void setOnClickSpace(NotifyEvent handler) { keys_.set_on_click_space(std::move(handler)); }

 protected:
  bool event(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  EntryKeys keys_;
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_VALID_COMBO_BOX_H_
