#ifndef SALDEX_CONTROLS_TYPED_TEXT_H_
#define SALDEX_CONTROLS_TYPED_TEXT_H_

#include <QChar>
#include <QString>
#include <optional>

#include "controls/control_types.h"
#include "dbf/clock.h"

namespace controls {

// What an edit does with a typed character.
struct TypingRules {
  bool only_number_chars = false;     // + , - . digits and the date and time separators
  bool comma_to_point = false;        // "," becomes "."
  bool to_decimal_separator = false;  // "," and "." become the decimal separator
};
// The character to insert, or nullopt when it is refused (the edit beeps).
// Separators come from the process-wide format settings.
std::optional<QChar> FilterTypedChar(QChar typed, const TypingRules& rules);

// How TValidEdit and TVEdit test and format their text when the focus leaves.
struct LeaveRules {
  TEditType type = TEditType::ttString;
  int float_precision = 0;
  int float_digits = 0;
  QString blank_date;
  QString blank_time;
  bool complete_moments = false;  // TValidEdit completes dates and times first
  dbf::LocalTime now;             // default moment of that completion
};
struct LeaveCheck {
  bool accepted = false;
  QString text;  // the text the edit shows afterwards
};
// Numbers, dates and times follow the process-wide format settings.
LeaveCheck CheckOnLeave(const QString& text, const LeaveRules& rules);

// "h:mm" or "h:mm:ss" with the time separator, a time of day.
bool IsTimeText(const QString& text, QChar time_separator);
// A date in the short date format (two numbers mean the current year).
bool IsDateText(const QString& text);
// A number written with "." or the decimal separator as its point.
std::optional<double> ParseNumberText(const QString& text);
// Fixed notation: `precision` significant digits, `digits` decimals, the
// decimal separator; scientific when the whole part has more digits than
// `precision`.
QString FormatFixed(double value, int precision, int digits);

}  // namespace controls

#endif  // SALDEX_CONTROLS_TYPED_TEXT_H_
