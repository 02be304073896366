#ifndef SALDEX_CONTROLS_VALID_COMBO_BOX_H_
#define SALDEX_CONTROLS_VALID_COMBO_BOX_H_

#include <QComboBox>

#include "controls/entry_keys.h"

namespace controls {

// Combo box with the family's keyboard (system settings printer choice):
// Enter moves to the next field while the list is closed.
class TValidComboBox : public QComboBox, public EntryKeyProperties {
  Q_OBJECT
 public:
  explicit TValidComboBox(QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_VALID_COMBO_BOX_H_
