#ifndef SALDEX_CONTROLS_VALID_EDIT_H_
#define SALDEX_CONTROLS_VALID_EDIT_H_

#include <QPixmap>

#include "controls/side_button.h"
#include "controls/typed_line_edit.h"

namespace controls {

// Single-line edit with an optional side button (login dialog). Entering it
// selects all text; Esc, and Enter when not turned into Tab, go to the window
// as dialog keys. Of a type other than ttString only + , - . digits and the
// date and time separators can be typed ("," and "." become the decimal
// separator); dates and times are completed from now when the focus leaves.
class TValidEdit : public TypedLineEdit {
  Q_OBJECT
 public:
  explicit TValidEdit(QWidget* parent = nullptr);

  bool buttonVisible() const { return button_->shown(); }
  void setButtonVisible(bool visible) { button_->setShown(visible); }
  int buttonWidth() const { return button_->buttonWidth(); }
  void setButtonWidth(int width) { button_->setButtonWidth(width); }
  QPixmap glyph() const { return button_->glyph(); }
  void setGlyph(const QPixmap& glyph) { button_->setGlyph(glyph); }
  int numGlyphs() const { return button_->numGlyphs(); }
  void setNumGlyphs(int count) { button_->setNumGlyphs(count); }
  const NotifyEvent& onClickButton() const { return on_click_button_; }
  void setOnClickButton(NotifyEvent handler) { on_click_button_ = std::move(handler); }

  SideButton* sideButton() const { return button_; }

 protected:
  bool completesMoments() const override { return true; }
  bool handsDialogKeys() const override { return true; }
  TypingRules typingRules() const override;
  int reservedRight() const override { return button_->effectiveWidth(); }
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  SideButton* button_;
  NotifyEvent on_click_button_;
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_VALID_EDIT_H_
