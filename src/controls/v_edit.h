#ifndef SALDEX_CONTROLS_V_EDIT_H_
#define SALDEX_CONTROLS_V_EDIT_H_

#include "controls/typed_line_edit.h"

namespace controls {

// Single-line edit without side button (search dialog). Dates and times are
// tested as typed, without completion. With EnterIsTab off, Enter stays a key
// of the edit (returnPressed) and does not reach the window.
class TVEdit : public TypedLineEdit {
  Q_OBJECT
 public:
  explicit TVEdit(QWidget* parent = nullptr);

 protected:
  bool completesMoments() const override { return false; }
  bool handsDialogKeys() const override { return false; }
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_V_EDIT_H_
