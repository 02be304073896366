#include "controls/db_valid_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "controls/field_text.h"
#include "controls/message_boxes.h"
#include "controls/moment_completion.h"
#include "controls/qt_text.h"
#include "controls/typed_text.h"

namespace controls {

TDBValidEdit::TDBValidEdit(QWidget* parent)
    : QLineEdit(parent),
      SideButtonProperties(this),
      DataFieldProperties([this] { dataChanged(); }, [this] { updateData(); }),
      user_moment_(dbf::Now()) {
  setColorDisable(palette().color(QPalette::Active, QPalette::Base));
  dataChanged();
}

TDBValidEdit::~TDBValidEdit() = default;

void TDBValidEdit::setDisplayFormat(const QString& format) {
  display_format_ = format;
  showFieldValue();
}

void TDBValidEdit::setColorDisable(const QColor& color) {
  // Only the disabled group changes: the control's own colour stays.
  color_disable_ = color;
  QPalette p = palette();
  p.setColor(QPalette::Disabled, QPalette::Base, color);
  setPalette(p);
}

void TDBValidEdit::dataChanged() {
  setReadOnly(!link_.editing());
  showFieldValue();
}

void TDBValidEdit::showFieldValue() {
  const dbf::Field* bound = link_.field();
  QString text;
  if (bound) text = hasFocus() ? FieldEditText(*bound) : FieldDisplayText(*bound, display_format_);
  shown_text_ = text;
  setText(text);
}

void TDBValidEdit::updateData() {
  // Post writes what was typed since the text came from the field; a failed
  // write stops the Post with the engine's error.
  dbf::Field* bound = link_.field();
  if (!bound || !link_.editing() || text() == shown_text_) return;
  if (text() != FieldEditText(*bound)) WriteFieldText(*bound, text());
}

bool TDBValidEdit::floatInput() const {
  const dbf::Field* bound = link_.field();
  return edit_type_ == TValidEditType::setFloat ||
         (bound &&
          (bound->kind() == dbf::FieldKind::kFloat || bound->kind() == dbf::FieldKind::kCurrency));
}

bool TDBValidEdit::shouldValidate() const {
  switch (when_valid_) {
    case TWhenValid::swvAlways:
      return true;
    case TWhenValid::swvWhenEdit:
      return link_.editing();
    case TWhenValid::swvWhenChange: {
      const dbf::Field* bound = link_.field();
      return !bound || text() != FieldEditText(*bound);
    }
    case TWhenValid::swvNone:
      return false;
  }
  return false;
}

bool TDBValidEdit::writeText(QString* engine_message) {
  dbf::Field* bound = link_.field();
  if (!bound || !link_.editing() || text() == FieldEditText(*bound)) return true;
  try {
    WriteFieldText(*bound, text());
  } catch (const std::exception& error) {
    if (engine_message) *engine_message = QString::fromUtf8(error.what());
    return false;
  }
  return true;
}

TDBValidEdit::Outcome TDBValidEdit::validateAndWrite(QString* engine_message) {
  if (shouldValidate()) {
    QString text = this->text();
    bool valid = true;
    if (edit_type_ == TValidEditType::setDate || edit_type_ == TValidEditType::setTime) {
      const dbf::LocalTime moment =
          date_time_type_ == TValidDateTimeType::sdtUser ? user_moment_ : dbf::Now();
      const MomentFormats formats = ProcessMomentFormats();
      const Completion completion = edit_type_ == TValidEditType::setDate
                                        ? CompleteDate(text, moment, formats)
                                        : CompleteTime(text, moment, formats);
      text = completion.text;
      valid = completion.valid;
    }
    if (on_valid_) on_valid_(this, text, valid);
    if (text != this->text()) setText(text);
    if (!valid) return Outcome::kRefused;
  }
  return writeText(engine_message) ? Outcome::kAccepted : Outcome::kWriteFailed;
}

bool TDBValidEdit::event(QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
    return QLineEdit::event(event);
  }
  auto* key = static_cast<QKeyEvent*>(event);
  if (keys_.Filter(this, key)) return true;
  if (event->type() == QEvent::KeyPress &&
      (EntryKeys::IsEnter(key) || key->key() == Qt::Key_Escape)) {
    // A dialog key: the window's default or cancel button reacts.
    if (EntryKeys::IsEnter(key)) QLineEdit::event(event);
    key->ignore();
    return false;
  }
  return QLineEdit::event(event);
}

void TDBValidEdit::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  if (!isReadOnly() && floatInput() && (typed == u"," || typed == u".")) {
    TypingRules rules;
    rules.to_decimal_separator = true;
    insert(QString(*FilterTypedChar(typed[0], rules)));
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TDBValidEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // A text selected whole before the focus came (a dialog opening on this
  // field) stays selected in the edit form.
  const bool all_selected = !text().isEmpty() && selectedText() == text();
  if (text() == shown_text_) showFieldValue();  // the edit form of the value
  if (LeavesField(event->reason())) {
    selectAll();
  } else if (all_selected) {
    const int length = static_cast<int>(text().size());
    setSelection(length, -length);
  }
}

void TDBValidEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (!LeavesField(event->reason()) || leaving_) return;
  leaving_ = true;
  QString engine_message;
  const Outcome outcome = validateAndWrite(&engine_message);
  if (outcome != Outcome::kAccepted) {
    keys_.ClearMark();
    RefuseLeave(this, [&] {
      if (outcome == Outcome::kWriteFailed) {
        ShowErrorBox(this, engine_message);
      } else if (on_error_) {
        on_error_(this);
      } else if (!error_string_.isEmpty()) {
        ShowErrorBox(this, error_string_);
      }
    });
    leaving_ = false;
    return;
  }
  leaving_ = false;
  // A window OnValid showed (a pick list) took the activation; give it back.
  if (!window()->isActiveWindow()) window()->activateWindow();
  if (link_.field()) showFieldValue();  // the display form again
  keys_.FocusLeft(this);
}

void TDBValidEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  button_->place();
}

}  // namespace controls
