#ifndef SALDEX_CONTROLS_TYPED_LINE_EDIT_H_
#define SALDEX_CONTROLS_TYPED_LINE_EDIT_H_

#include <QLineEdit>

#include "controls/control_types.h"
#include "controls/entry_keys.h"
#include "controls/typed_text.h"

namespace controls {

// What TVEdit and TValidEdit share: the EditType with its test and
// formatting when the focus leaves (" Chybný formát dat " and the focus kept
// on failure), BlankDate / BlankTime, the aligned look, ConvertDecimalSymbol,
// EnterIsTab, OnTabExit and OnClickSpace.
class TypedLineEdit : public QLineEdit, public EntryKeyProperties {
  Q_OBJECT
 public:
  TEditType editType() const { return edit_type_; }
  void setEditType(TEditType type) { edit_type_ = type; }
  int floatPrecision() const { return float_precision_; }
  void setFloatPrecision(int precision) { float_precision_ = precision; }
  int floatDigits() const { return float_digits_; }
  void setFloatDigits(int digits) { float_digits_ = digits; }
  // Placeholder of an empty date (time); setting it on an empty edit of that
  // type, or one showing the old placeholder, shows the new one.
  QString blankDate() const { return blank_date_; }
  void setBlankDate(const QString& text);
  QString blankTime() const { return blank_time_; }
  void setBlankTime(const QString& text);
  // How the text is drawn while the edit does not have the focus (with the
  // focus it is left-aligned for editing). Hides QLineEdit::setAlignment.
  Qt::Alignment alignment() const { return alignment_; }
  void setAlignment(Qt::Alignment alignment);
  // "," typed becomes "." for ttFloat, ttDate and ttTime.
  bool convertDecimalSymbol() const { return convert_decimal_symbol_; }
  void setConvertDecimalSymbol(bool on) { convert_decimal_symbol_ = on; }

  // Every character shown as `c` (a null character: plain text).
  QChar passwordChar() const { return password_char_; }
  void setPasswordChar(QChar c);

 protected:
  explicit TypedLineEdit(QWidget* parent);

  // TValidEdit completes dates and times before testing them.
  virtual bool completesMoments() const = 0;
  // TValidEdit hands Esc and an Enter not turned into Tab to its window.
  virtual bool handsDialogKeys() const = 0;
  virtual TypingRules typingRules() const;
  // Width reserved at the right edge (side button); 0 here.
  virtual int reservedRight() const { return 0; }

  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

  // Alignment and margins for the focused (editing) or the resting look.
  void applyLook(bool focused);

 private:
  TEditType edit_type_ = TEditType::ttString;
  int float_precision_ = 0;
  int float_digits_ = 0;
  QString blank_date_;
  QString blank_time_;
  Qt::Alignment alignment_ = Qt::AlignLeft;
  bool convert_decimal_symbol_ = false;
  QChar password_char_;
  bool in_leave_check_ = false;
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_TYPED_LINE_EDIT_H_
