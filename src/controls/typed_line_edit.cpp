#include "controls/typed_line_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QProxyStyle>

#include "controls/message_boxes.h"

namespace controls {
namespace {

// Draws the characters of a password edit as one chosen character.
class PasswordStyle : public QProxyStyle {
 public:
  explicit PasswordStyle(QChar c) : c_(c) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return c_.unicode();
    return QProxyStyle::styleHint(hint, option, widget, data);
  }

 private:
  QChar c_;
};

}  // namespace

TypedLineEdit::TypedLineEdit(QWidget* parent) : QLineEdit(parent) {
  applyLook(false);
}

void TypedLineEdit::setBlankDate(const QString& text) {
  if (edit_type_ == TEditType::ttDate && (this->text().isEmpty() || this->text() == blank_date_)) {
    setText(text);
  }
  blank_date_ = text;
}

void TypedLineEdit::setBlankTime(const QString& text) {
  if (edit_type_ == TEditType::ttTime && (this->text().isEmpty() || this->text() == blank_time_)) {
    setText(text);
  }
  blank_time_ = text;
}

void TypedLineEdit::setAlignment(Qt::Alignment alignment) {
  alignment_ = alignment & Qt::AlignHorizontal_Mask;
  applyLook(hasFocus());
}

void TypedLineEdit::setPasswordChar(QChar c) {
  password_char_ = c;
  QStyle* previous = dynamic_cast<PasswordStyle*>(style());
  if (c.isNull()) {
    setStyle(nullptr);
    setEchoMode(QLineEdit::Normal);
  } else {
    auto* masked = new PasswordStyle(c);
    masked->setParent(this);
    setStyle(masked);
    setEchoMode(QLineEdit::Password);
  }
  delete previous;
}

TypingRules TypedLineEdit::typingRules() const {
  TypingRules rules;
  rules.comma_to_point = convert_decimal_symbol_ &&
                         (edit_type_ == TEditType::ttFloat || edit_type_ == TEditType::ttDate ||
                          edit_type_ == TEditType::ttTime);
  return rules;
}

bool TypedLineEdit::event(QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
    return QLineEdit::event(event);
  }
  auto* key = static_cast<QKeyEvent*>(event);
  if (keys_.Filter(this, key)) return true;
  if (event->type() == QEvent::KeyPress) {
    const bool enter = EntryKeys::IsEnter(key);
    if (handsDialogKeys() && (enter || key->key() == Qt::Key_Escape)) {
      // A dialog key: the window's default or cancel button reacts.
      if (enter) QLineEdit::event(event);  // returnPressed, editingFinished
      key->ignore();
      return false;
    }
    if (enter) {
      // Enter stays a key of the edit; the window does not see it.
      QLineEdit::event(event);
      key->accept();
      return true;
    }
  }
  return QLineEdit::event(event);
}

void TypedLineEdit::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  if (typed.size() == 1 && typed[0].isPrint() &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    const std::optional<QChar> c = FilterTypedChar(typed[0], typingRules());
    if (!c) {
      QApplication::beep();
      event->accept();
      return;
    }
    if (*c != typed[0]) {
      insert(QString(*c));
      event->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void TypedLineEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  applyLook(true);
}

void TypedLineEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (!LeavesField(event->reason()) || in_leave_check_) return;
  in_leave_check_ = true;
  LeaveRules rules;
  rules.type = edit_type_;
  rules.float_precision = float_precision_;
  rules.float_digits = float_digits_;
  rules.blank_date = blank_date_;
  rules.blank_time = blank_time_;
  rules.complete_moments = completesMoments();
  rules.now = dbf::Now();
  const LeaveCheck check = CheckOnLeave(text(), rules);
  if (check.text != text()) setText(check.text);
  if (!check.accepted) {
    keys_.ClearMark();
    RefuseLeave(this, [this] { ShowErrorBox(this, QString::fromUtf8(kBadFormatMessage)); });
    in_leave_check_ = false;
    return;
  }
  in_leave_check_ = false;
  applyLook(false);
  keys_.FocusLeft(this);
}

void TypedLineEdit::applyLook(bool focused) {
  const Qt::Alignment shown = focused ? Qt::AlignLeft : alignment_;
  QLineEdit::setAlignment(shown | Qt::AlignVCenter);
  QMargins margins = textMargins();
  const int gap = !focused && (alignment_ & Qt::AlignRight) ? 1 : kButtonGap;
  margins.setRight(reservedRight() + gap);
  setTextMargins(margins);
}

}  // namespace controls
