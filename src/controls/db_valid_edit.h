#ifndef SALDEX_CONTROLS_DB_VALID_EDIT_H_
#define SALDEX_CONTROLS_DB_VALID_EDIT_H_

#include <QColor>
#include <QLineEdit>
#include <QPixmap>

#include "controls/control_types.h"
#include "controls/entry_keys.h"
#include "controls/field_link.h"
#include "controls/side_button.h"
#include "dbf/clock.h"

namespace controls {

// Single-line edit bound to one field of a cursor (payment dialog, company
// header, system settings). Shows the current record's value (in the display
// format while it does not have the focus) and follows the cursor; it can be
// typed into only while the cursor is in edit or insert state. When the focus
// leaves, the text is validated as WhenValid says (completion of dates and
// times, then OnValid) and written into the field; a refused text or a failed
// field write keeps the focus in the edit (OnError, ErrorString or the
// engine's message). Post writes a pending text through UpdateData.
class TDBValidEdit : public QLineEdit,
                     public EntryKeyProperties,
                     public SideButtonProperties,
                     public DataFieldProperties {
  Q_OBJECT
 public:
  explicit TDBValidEdit(QWidget* parent = nullptr);
  ~TDBValidEdit() override;

  // Format of the text shown without the focus ("#,##0.00", "dd.mm.yyyy",
  // "Ano;Ne"); empty shows the edit text.
  QString displayFormat() const { return display_format_; }
  void setDisplayFormat(const QString& format);

  // --- properties
  // Colour of the edit while it cannot take the focus; the control's colour
  // (the palette's base) at creation.
  QColor colorDisable() const { return color_disable_; }
  void setColorDisable(const QColor& color);
  TValidEditType editType() const { return edit_type_; }
  void setEditType(TValidEditType type) { edit_type_ = type; }
  TValidDateTimeType dateTimeType() const { return date_time_type_; }
  void setDateTimeType(TValidDateTimeType type) { date_time_type_ = type; }
  // The default moment for sdtUser; the creation moment at first.
  dbf::LocalTime userMoment() const { return user_moment_; }
  void setUserMoment(const dbf::LocalTime& moment) { user_moment_ = moment; }
  TWhenValid whenValid() const { return when_valid_; }
  void setWhenValid(TWhenValid when) { when_valid_ = when; }
  QString errorString() const { return error_string_; }
  void setErrorString(const QString& text) { error_string_ = text; }

  // --- events
  const TValidEvent& onValid() const { return on_valid_; }
  void setOnValid(TValidEvent handler) { on_valid_ = std::move(handler); }
  const TValidErrorEvent& onError() const { return on_error_; }
  void setOnError(TValidErrorEvent handler) { on_error_ = std::move(handler); }

  // The leaving steps without the focus change: validate (as WhenValid
  // says), put the text back, write the field. Shows nothing.
  enum class Outcome { kAccepted, kRefused, kWriteFailed };
  Outcome validateAndWrite(QString* engine_message = nullptr);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void dataChanged();
  void updateData();
  void showFieldValue();
  bool floatInput() const;
  bool shouldValidate() const;
  bool writeText(QString* engine_message);

  QString display_format_;
  QColor color_disable_;
  TValidEditType edit_type_ = TValidEditType::setStandard;
  TValidDateTimeType date_time_type_ = TValidDateTimeType::sdtNow;
  dbf::LocalTime user_moment_;
  TWhenValid when_valid_ = TWhenValid::swvAlways;
  QString error_string_;
  TValidEvent on_valid_;
  TValidErrorEvent on_error_;
  QString shown_text_;    // the text last taken from the field
  bool leaving_ = false;  // the leaving steps are running
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_DB_VALID_EDIT_H_
