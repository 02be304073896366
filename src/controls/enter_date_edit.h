#ifndef SALDEX_CONTROLS_ENTER_DATE_EDIT_H_
#define SALDEX_CONTROLS_ENTER_DATE_EDIT_H_

#include <QCalendarWidget>
#include <QDate>
#include <QLineEdit>
#include <QToolButton>
#include <optional>

#include "controls/entry_keys.h"
#include "dbf/clock.h"
#include "dbf/dates.h"

namespace controls {

// Date edit with a drop-down calendar (date-range dialog, payment dialog).
// The date is typed as one text, the way it is written: day, month and year
// with the date separator between them ("15.03.2025", "1.6.2025"; any of
// * + , - . / : ? counts as a separator and shows as the date separator),
// or digits only ("15032025": a full day or month section moves on to the
// next section by itself). Every key stays in the edit; Enter (as Tab) or Tab
// leaves it, and only then is the text completed from today's date (as the
// family completes short dates: "5" is the 5th of this month, "5.3" the 5th
// of March this year) and checked. A text that is no date keeps the focus
// after " Chybný formát dat "; a valid one is shown in the short date format.
// Entering the edit selects its text, so a typed date replaces the shown one.
// The calendar opens with the button at the right edge, Alt+Down or F4, and
// closes with the date picked by Enter or a click (Esc: unchanged).
class TEnterDateEdit : public QLineEdit, public EntryKeyProperties {
  Q_OBJECT
 public:
  explicit TEnterDateEdit(QWidget* parent = nullptr);

  // The date shown; a null QDate when the edit is blank.
  QDate date() const { return date_; }
  // Shows `date` (a null date: blank) as the program set it.
  void setDate(const QDate& date);
  // The date as the program holds it (days since 30 December 1899); 0 when blank.
  dbf::DateTime dateValue() const;
  void setDateValue(dbf::DateTime value);

  QCalendarWidget* calendarWidget() const { return calendar_; }
  bool calendarOpen() const;
  void openCalendar();

 signals:
  // The operator changed the date: typed and left the edit, or picked it.
  void dateEdited(const QDate& date);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  // Whether a blank edit is a valid entry (a field without a date).
  virtual bool blankAllowed() const { return false; }
  // Whether the focus may leave once the typed text is taken; `message` is
  // shown when not (the focus stays).
  virtual bool acceptLeave(QString* /*message*/) { return true; }
  // Takes the typed text as the date (dateEdited when it differs from the
  // date shown): false when it is no date (the text stays).
  bool takeTypedText();

 private:
  void typeCharacter(QChar c);
  void showDate();
  void calendarPicked(const QDate& date);

  QDate date_;
  QToolButton* button_;
  QCalendarWidget* calendar_;
  bool leaving_ = false;
};

// The Qt display format ("dd.MM.yyyy") of the process-wide short date format.
QString QtShortDateFormat();

// The date a clerk typed: the short-form completion from `today` (see
// CompleteDate), eight digits as day, month and year, a two-digit year in
// this century; nullopt when it is no calendar date (an empty text included).
std::optional<QDate> DateFromTypedText(const QString& text, const dbf::LocalTime& today);

}  // namespace controls

#endif  // SALDEX_CONTROLS_ENTER_DATE_EDIT_H_
