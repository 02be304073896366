#include "controls/valid_edit.h"

#include <QFocusEvent>

namespace controls {

TValidEdit::TValidEdit(QWidget* parent) : TypedLineEdit(parent), SideButtonProperties(this) {}

TypingRules TValidEdit::typingRules() const {
  TypingRules rules = TypedLineEdit::typingRules();
  if (editType() != TEditType::ttString) {
    rules.only_number_chars = true;
    rules.to_decimal_separator = true;
  }
  return rules;
}

void TValidEdit::resizeEvent(QResizeEvent* event) {
  TypedLineEdit::resizeEvent(event);
  button_->place();
  applyLook(hasFocus());
}

void TValidEdit::focusInEvent(QFocusEvent* event) {
  TypedLineEdit::focusInEvent(event);
  if (LeavesField(event->reason())) selectAll();
}

}  // namespace controls
