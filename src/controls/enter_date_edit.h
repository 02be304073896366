#ifndef SALDEX_CONTROLS_ENTER_DATE_EDIT_H_
#define SALDEX_CONTROLS_ENTER_DATE_EDIT_H_

#include <QDateEdit>

#include "controls/entry_keys.h"
#include "dbf/dates.h"

namespace controls {

// Date edit with a drop-down calendar (date-range dialog). Shows dates in the
// process-wide short date format; Enter moves to the next field only while
// the calendar is closed; Tab leaves the field (it does not step through the
// day, month and year sections).
class TEnterDateEdit : public QDateEdit, public EntryKeyProperties {
  Q_OBJECT
 public:
  explicit TEnterDateEdit(QWidget* parent = nullptr);

  // The date as the program holds it (days since 30 December 1899).
  dbf::DateTime dateValue() const;
  void setDateValue(dbf::DateTime value);

  bool calendarOpen() const;

 protected:
  bool event(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;

  // Whether the focus may leave; `message` is shown when not (the focus stays).
  virtual bool acceptLeave(QString* /*message*/) { return true; }

 private:
  bool leaving_ = false;
};

// The Qt display format ("dd.MM.yyyy") of the process-wide short date format.
QString QtShortDateFormat();

}  // namespace controls

#endif  // SALDEX_CONTROLS_ENTER_DATE_EDIT_H_
