#include "controls/enter_date_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <cmath>

#include "controls/control_types.h"
#include "controls/message_boxes.h"
#include "controls/moment_completion.h"
#include "dbf/format_settings.h"

namespace controls {
namespace {

constexpr int kButtonWidth = 16;
constexpr int kMaxTyped = 10;  // dd.mm.yyyy

bool IsTypedSeparator(QChar c) {
  return c == u'*' || c == u'+' || c == u',' || c == u'-' || c == u'.' || c == u'/' || c == u':' ||
         c == u'?';
}

QDate Today() {
  const dbf::LocalTime now = dbf::Now();
  return QDate(now.year, now.month, now.day);
}

}  // namespace

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

std::optional<QDate> DateFromTypedText(const QString& text, const dbf::LocalTime& today) {
  const MomentFormats formats = ProcessMomentFormats();
  QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  bool digits_only = true;
  for (QChar c : t) digits_only = digits_only && c.isDigit();
  const QChar s = formats.date_separator;
  // Eight digits: two for the day, two for the month, four for the year.
  if (digits_only && t.size() == 8) t = t.left(2) + s + t.mid(2, 2) + s + t.mid(4);
  const Completion completed = CompleteDate(t, today, formats);
  if (!completed.valid) return std::nullopt;
  // The completed text holds digits and the date separator only.
  const std::optional<dbf::CivilDate> date = dbf::ParseShortDate(completed.text.toStdString());
  if (!date) return std::nullopt;
  return QDate(date->year, date->month, date->day);
}

TEnterDateEdit::TEnterDateEdit(QWidget* parent)
    : QLineEdit(parent), button_(new QToolButton(this)), calendar_(new QCalendarWidget(this)) {
  setMaxLength(kMaxTyped);
  button_->setArrowType(Qt::DownArrow);
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setCursor(Qt::ArrowCursor);
  connect(button_, &QToolButton::clicked, this, &TEnterDateEdit::openCalendar);
  calendar_->setWindowFlags(Qt::Popup);
  calendar_->setGridVisible(true);
  connect(calendar_, &QCalendarWidget::activated, this, &TEnterDateEdit::calendarPicked);
  connect(calendar_, &QCalendarWidget::clicked, this, &TEnterDateEdit::calendarPicked);
  setTextMargins(0, 0, kButtonWidth, 0);
  setDate(Today());
}

void TEnterDateEdit::setDate(const QDate& date) {
  date_ = date.isValid() ? date : QDate();
  showDate();
}

void TEnterDateEdit::showDate() {
  setText(date_.isValid() ? date_.toString(QtShortDateFormat()) : QString());
}

dbf::DateTime TEnterDateEdit::dateValue() const {
  if (!date_.isValid()) return 0;
  return static_cast<dbf::DateTime>(dbf::DaysFromCivil({date_.year(), date_.month(), date_.day()}));
}

void TEnterDateEdit::setDateValue(dbf::DateTime value) {
  const dbf::CivilDate d = dbf::CivilFromDays(static_cast<int64_t>(std::floor(value)));
  setDate(QDate(d.year, d.month, d.day));
}

bool TEnterDateEdit::calendarOpen() const {
  return calendar_->isVisible();
}

void TEnterDateEdit::openCalendar() {
  if (isReadOnly() || calendarOpen()) return;
  if (!takeTypedText()) return;
  calendar_->setSelectedDate(date_.isValid() ? date_ : Today());
  calendar_->adjustSize();
  calendar_->move(mapToGlobal(QPoint(0, height())));
  calendar_->show();
  calendar_->setFocus(Qt::PopupFocusReason);
}

void TEnterDateEdit::calendarPicked(const QDate& date) {
  calendar_->hide();
  if (isReadOnly()) return;
  date_ = date;
  showDate();
  emit dateEdited(date_);
  setFocus(Qt::PopupFocusReason);
  selectAll();
}

void TEnterDateEdit::mousePressEvent(QMouseEvent* event) {
  // The button's area, also for a press that reaches the edit itself.
  if (event->button() == Qt::LeftButton && button_->geometry().contains(event->pos())) {
    openCalendar();
    return;
  }
  QLineEdit::mousePressEvent(event);
}

void TEnterDateEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  button_->setGeometry(width() - kButtonWidth - 1, 1, kButtonWidth, height() - 2);
}

bool TEnterDateEdit::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    if (keys_.Filter(this, static_cast<QKeyEvent*>(event), !calendarOpen())) return true;
  }
  return QLineEdit::event(event);
}

void TEnterDateEdit::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if ((event->key() == Qt::Key_Down && modifiers == Qt::AltModifier) ||
      (event->key() == Qt::Key_F4 && modifiers == Qt::NoModifier)) {
    openCalendar();
    return;
  }
  const QString text = event->text();
  if (text.size() == 1 && (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier && text[0].isPrint()) {
    // A date takes digits and separators only; every other character is
    // dropped here, so no key moves the focus or reaches the window.
    if (!isReadOnly() && (text[0].isDigit() || IsTypedSeparator(text[0]))) {
      typeCharacter(text[0]);
    }
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TEnterDateEdit::typeCharacter(QChar c) {
  const QChar s = ProcessMomentFormats().date_separator;
  if (IsTypedSeparator(c)) {
    insert(QString(s));
    return;
  }
  // A digit after a full day or month section starts the next section.
  const QString before = text().left(cursorPosition());
  if (!hasSelectedText() && cursorPosition() == text().size()) {
    const int separators = static_cast<int>(before.count(s));
    const qsizetype section_start = before.lastIndexOf(s) + 1;
    const qsizetype section_length = before.size() - section_start;
    if (separators < 2 && section_length >= 2) {
      insert(QString(s) + c);
      return;
    }
    if (separators == 2 && section_length >= 4) return;  // the year is complete
  }
  insert(QString(c));
}

void TEnterDateEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (event->reason() != Qt::PopupFocusReason) selectAll();
}

bool TEnterDateEdit::takeTypedText() {
  const QString typed = text().trimmed();
  const QString shown = date_.isValid() ? date_.toString(QtShortDateFormat()) : QString();
  if (typed == shown) return true;
  if (typed.isEmpty()) {
    if (!blankAllowed()) return false;
    date_ = QDate();
    emit dateEdited(date_);
    return true;
  }
  const std::optional<QDate> date = DateFromTypedText(typed, dbf::Now());
  if (!date) return false;
  date_ = *date;
  showDate();
  emit dateEdited(date_);
  return true;
}

void TEnterDateEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (!LeavesField(event->reason()) || leaving_ || isReadOnly()) return;
  leaving_ = true;
  QString message = QString::fromUtf8(kBadFormatMessage);
  if (!takeTypedText() || !acceptLeave(&message)) {
    keys_.ClearMark();
    RefuseLeave(this, [&] { ShowErrorBox(this, message); });
    selectAll();
  } else {
    keys_.FocusLeft(this);
  }
  leaving_ = false;
}

}  // namespace controls
