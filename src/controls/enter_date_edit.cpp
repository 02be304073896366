#include "controls/enter_date_edit.h"

#include <QCalendarWidget>
#include <QFocusEvent>
#include <cmath>

#include "controls/message_boxes.h"
#include "controls/moment_completion.h"

namespace controls {

QString QtShortDateFormat() {
  const MomentFormats formats = ProcessMomentFormats();
  QString out;
  for (QChar c : formats.short_date_format) {
    const QChar lower = c.toLower();
    if (lower == u'd' || lower == u'y') {
      out += lower;
    } else if (lower == u'm') {
      out += u'M';
    } else if (c == u'/') {
      out += formats.date_separator;
    } else {
      out += QStringLiteral("'") + c + QStringLiteral("'");
    }
  }
  return out;
}

TEnterDateEdit::TEnterDateEdit(QWidget* parent) : QDateEdit(parent) {
  setCalendarPopup(true);
  setDisplayFormat(QtShortDateFormat());
  const dbf::LocalTime now = dbf::Now();
  setDate(QDate(now.year, now.month, now.day));
}

dbf::DateTime TEnterDateEdit::dateValue() const {
  const QDate d = date();
  return static_cast<dbf::DateTime>(dbf::DaysFromCivil({d.year(), d.month(), d.day()}));
}

void TEnterDateEdit::setDateValue(dbf::DateTime value) {
  const dbf::CivilDate d = dbf::CivilFromDays(static_cast<int64_t>(std::floor(value)));
  setDate(QDate(d.year, d.month, d.day));
}

bool TEnterDateEdit::calendarOpen() const {
  const QCalendarWidget* calendar = calendarWidget();
  return calendar && calendar->window()->isVisible();
}

bool TEnterDateEdit::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    if (keys_.Filter(this, static_cast<QKeyEvent*>(event), !calendarOpen())) return true;
  }
  return QDateEdit::event(event);
}

bool TEnterDateEdit::focusNextPrevChild(bool next) {
  // Tab leaves the field instead of stepping through its sections.
  return QWidget::focusNextPrevChild(next);
}

void TEnterDateEdit::focusOutEvent(QFocusEvent* event) {
  QDateEdit::focusOutEvent(event);
  if (!LeavesField(event->reason()) || leaving_) return;
  leaving_ = true;
  QString message;
  if (!acceptLeave(&message)) {
    keys_.ClearMark();
    RefuseLeave(this, [&] { ShowErrorBox(this, message); });
  } else {
    keys_.FocusLeft(this);
  }
  leaving_ = false;
}

}  // namespace controls
