#include "controls/field_text.h"

#include <QStringList>
#include <cmath>
#include <cstdio>

#include "controls/moment_completion.h"
#include "controls/qt_text.h"
#include "dbf/format_settings.h"

namespace controls {
namespace {

bool IsNumberKind(dbf::FieldKind kind) {
  return dbf::IsIntegerKind(kind) || kind == dbf::FieldKind::kFloat ||
         kind == dbf::FieldKind::kCurrency;
}

bool IsDateKind(dbf::FieldKind kind) {
  return kind == dbf::FieldKind::kDate || kind == dbf::FieldKind::kDateTime;
}

QString FormatDate(const dbf::Field& field, const QString& format) {
  const dbf::CivilDate date =
      dbf::CivilFromDays(static_cast<int64_t>(std::floor(field.AsDateTime())));
  dbf::LocalTime moment;
  moment.year = date.year;
  moment.month = date.month;
  moment.day = date.day;
  MomentFormats formats = ProcessMomentFormats();
  formats.short_date_format = format;
  return FormatShortDate(moment, formats);
}

}  // namespace

QString FieldEditText(const dbf::Field& field) {
  if (field.IsNull()) return QString();
  return FromAnsi(field.AsString());
}

QString FieldDisplayText(const dbf::Field& field, const QString& display_format) {
  if (display_format.isEmpty() || field.IsNull()) return FieldEditText(field);
  const dbf::FieldKind kind = field.kind();
  if (IsNumberKind(kind) && (display_format.contains(u'#') || display_format.contains(u'0'))) {
    return FormatNumber(field.AsFloat(), display_format);
  }
  if (IsDateKind(kind)) return FormatDate(field, display_format);
  if (kind == dbf::FieldKind::kBoolean && display_format.contains(u';')) {
    const QStringList parts = display_format.split(u';');
    return field.AsBoolean() ? parts[0] : parts[1];
  }
  return FieldEditText(field);
}

QString FormatNumber(double value, const QString& display_format) {
  const QString section = display_format.section(u';', 0, 0);
  const qsizetype point = section.indexOf(u'.');
  const QString whole_part = point < 0 ? section : section.left(point);
  const QString fraction_part = point < 0 ? QString() : section.mid(point + 1);
  const bool grouped = whole_part.contains(u',');
  const int min_whole = static_cast<int>(whole_part.count(u'0'));
  const int min_decimals = static_cast<int>(fraction_part.count(u'0'));
  const int max_decimals = min_decimals + static_cast<int>(fraction_part.count(u'#'));

  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", max_decimals, std::fabs(value));
  QString digits = QString::fromLatin1(buffer);
  bool zero = true;
  for (QChar c : digits) zero = zero && (c == u'0' || c == u'.');
  QString whole = digits.section(u'.', 0, 0);
  QString fraction = max_decimals > 0 ? digits.section(u'.', 1, 1) : QString();
  while (fraction.size() > min_decimals && fraction.endsWith(u'0')) fraction.chop(1);
  if (whole == u"0" && min_whole == 0) whole.clear();
  whole = whole.rightJustified(min_whole, u'0');
  if (grouped) {
    const QChar group = FromAnsi(std::string(1, dbf::Formats().thousand_separator)).at(0);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3) whole.insert(at, group);
  }
  QString out = (value < 0 && !zero) ? QStringLiteral("-") : QString();
  out += whole;
  if (!fraction.isEmpty()) {
    out += FromAnsi(std::string(1, dbf::Formats().decimal_separator));
    out += fraction;
  }
  return out;
}

void WriteFieldText(dbf::Field& field, const QString& text) {
  field.SetAsString(ToAnsi(text));
}

}  // namespace controls
