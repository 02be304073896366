#include "controls/typed_text.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "controls/moment_completion.h"
#include "controls/qt_text.h"
#include "dbf/field_text.h"
#include "dbf/format_settings.h"

namespace controls {
namespace {

QChar DecimalSeparator() {
  return FromAnsi(std::string(1, dbf::Formats().decimal_separator)).at(0);
}

bool IsNumberChar(QChar c, const MomentFormats& formats) {
  return (c >= u'0' && c <= u'9') || c == u'+' || c == u',' || c == u'-' || c == u'.' ||
         c == formats.date_separator || c == formats.time_separator;
}

bool IsWholeNumberText(const QString& text) {
  const std::optional<int64_t> number = dbf::ParseWholeNumber(ToAnsi(text));
  return number && *number >= std::numeric_limits<int32_t>::min() &&
         *number <= std::numeric_limits<int32_t>::max();
}

LeaveCheck Accept(QString text) {
  return LeaveCheck{true, std::move(text)};
}
LeaveCheck Refuse(QString text) {
  return LeaveCheck{false, std::move(text)};
}

LeaveCheck CheckMoment(const QString& text, const QString& blank, bool date,
                       const LeaveRules& rules) {
  if (text.trimmed().isEmpty() || text == blank) return Accept(blank);
  const MomentFormats formats = ProcessMomentFormats();
  QString result = text;
  if (rules.complete_moments) {
    dbf::LocalTime start = rules.now;
    if (!date) start.hour = start.minute = start.second = start.millisecond = 0;
    const Completion completion =
        date ? CompleteDate(text, start, formats) : CompleteTime(text, start, formats);
    if (!completion.valid) return Refuse(completion.text);
    result = completion.text;
  }
  const bool valid = date ? IsDateText(result) : IsTimeText(result, formats.time_separator);
  return valid ? Accept(result) : Refuse(result);
}

}  // namespace

std::optional<QChar> FilterTypedChar(QChar typed, const TypingRules& rules) {
  if (rules.only_number_chars && !IsNumberChar(typed, ProcessMomentFormats())) {
    return std::nullopt;
  }
  QChar c = typed;
  if (rules.comma_to_point && c == u',') c = u'.';
  if (rules.to_decimal_separator && (c == u',' || c == u'.')) c = DecimalSeparator();
  return c;
}

LeaveCheck CheckOnLeave(const QString& text, const LeaveRules& rules) {
  switch (rules.type) {
    case TEditType::ttString:
      return Accept(text);
    case TEditType::ttInteger:
      if (text.trimmed().isEmpty() || IsWholeNumberText(text)) return Accept(text);
      return Refuse(text);
    case TEditType::ttFloat: {
      if (rules.float_precision == 0 || text.trimmed().isEmpty()) return Accept(text);
      const std::optional<double> number = ParseNumberText(text);
      if (!number) return Refuse(text);
      return Accept(FormatFixed(*number, rules.float_precision, rules.float_digits));
    }
    case TEditType::ttDate:
      return CheckMoment(text, rules.blank_date, true, rules);
    case TEditType::ttTime:
      return CheckMoment(text, rules.blank_time, false, rules);
  }
  return Accept(text);
}

bool IsTimeText(const QString& text, QChar time_separator) {
  const QStringList parts = text.trimmed().split(time_separator);
  if (parts.size() < 2 || parts.size() > 3) return false;
  const int limits[3] = {23, 59, 59};
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const QString part = parts[i].trimmed();
    if (part.isEmpty() || part.size() > 2) return false;
    for (QChar c : part) {
      if (c < u'0' || c > u'9') return false;
    }
    if (part.toInt() > limits[i]) return false;
  }
  return true;
}

bool IsDateText(const QString& text) {
  return dbf::ParseShortDate(ToAnsi(text)).has_value();
}

std::optional<double> ParseNumberText(const QString& text) {
  QString normal = text;
  const QChar separator = DecimalSeparator();
  for (QChar& c : normal) {
    if (c == u',' || c == u'.') c = separator;
  }
  return dbf::ParseLocaleNumber(ToAnsi(normal));
}

QString FormatFixed(double value, int precision, int digits) {
  precision = std::clamp(precision, 1, 18);
  digits = std::clamp(digits, 0, 18);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, value);
  const double rounded = std::strtod(buffer, nullptr);
  const int whole_digits =
      rounded == 0 ? 1 : static_cast<int>(std::floor(std::log10(std::fabs(rounded)))) + 1;
  if (whole_digits > precision) {
    std::snprintf(buffer, sizeof buffer, "%.*E", precision - 1, rounded);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.*f", digits, rounded);
  }
  QString out = QString::fromLatin1(buffer);
  out.replace(u'.', DecimalSeparator());
  return out;
}

}  // namespace controls
