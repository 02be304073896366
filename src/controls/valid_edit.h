#ifndef SALDEX_CONTROLS_VALID_EDIT_H_
#define SALDEX_CONTROLS_VALID_EDIT_H_

#include "controls/side_button.h"
#include "controls/typed_line_edit.h"

namespace controls {

// Single-line edit with an optional side button (login dialog). Entering it
// selects all text; Esc, and Enter when not turned into Tab, go to the window
// as dialog keys. Of a type other than ttString only + , - . digits and the
// date and time separators can be typed ("," and "." become the decimal
// separator); dates and times are completed from now when the focus leaves.
class TValidEdit : public TypedLineEdit, public SideButtonProperties {
  Q_OBJECT
 public:
  explicit TValidEdit(QWidget* parent = nullptr);

 protected:
  bool completesMoments() const override { return true; }
  bool handsDialogKeys() const override { return true; }
  TypingRules typingRules() const override;
  int reservedRight() const override { return button_->effectiveWidth(); }
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_VALID_EDIT_H_
