#include "app/display_format.h"

#include <cmath>
#include <cstdio>

#include "dbf/format_settings.h"

namespace app {
namespace {

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value % 100);
  return text;
}

bool IsDateFormat(std::string_view format) {
  return format.find("dd") != std::string_view::npos || format.find("yy") != std::string_view::npos;
}

bool IsNumberFormat(std::string_view format) {
  return format.find('0') != std::string_view::npos;
}

// Decimals of a "#,##0.00" style format: the zeros after '.'.
int DecimalsOf(std::string_view format) {
  const size_t dot = format.find('.');
  if (dot == std::string_view::npos) return 0;
  int decimals = 0;
  for (size_t i = dot + 1; i < format.size() && format[i] == '0'; ++i) ++decimals;
  return decimals;
}

}  // namespace

std::string FormatDate(const dbf::CivilDate& date, std::string_view format) {
  std::string text;
  for (size_t i = 0; i < format.size();) {
    const std::string_view rest = format.substr(i);
    if (rest.starts_with("yyyy")) {
      char year[8];
      std::snprintf(year, sizeof year, "%04d", date.year);
      text += year;
      i += 4;
    } else if (rest.starts_with("yy")) {
      text += TwoDigits(date.year);
      i += 2;
    } else if (rest.starts_with("dd")) {
      text += TwoDigits(date.day);
      i += 2;
    } else if (rest.starts_with("mm")) {
      text += TwoDigits(date.month);
      i += 2;
    } else {
      text += format[i++];
    }
  }
  return text;
}

std::string FormatGroupedNumber(double value, int decimals) {
  const char decimal = dbf::Formats().decimal_separator;
  const char group = decimal == ',' ? ' ' : ',';
  char digits[400];
  std::snprintf(digits, sizeof digits, "%.*f", decimals, std::fabs(value));
  std::string whole = digits;
  std::string fraction;
  if (const size_t dot = whole.find('.'); dot != std::string::npos) {
    fraction = whole.substr(dot + 1);
    whole.resize(dot);
  }
  std::string text;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) text += group;
    text += whole[i];
  }
  if (!fraction.empty()) text += decimal + fraction;
  // A value that rounds to zero shows no minus sign.
  const bool negative = value < 0 && text.find_first_not_of("0,. ") != std::string::npos;
  return negative ? "-" + text : text;
}

std::string DisplayText(const dbf::Field& field, std::string_view display_format) {
  using dbf::FieldKind;
  switch (field.kind()) {
    case FieldKind::kDate:
    case FieldKind::kDateTime: {
      if (display_format.empty() || !IsDateFormat(display_format)) break;
      if (field.IsNull()) return {};
      const auto days = static_cast<int64_t>(std::floor(field.AsDateTime()));
      return FormatDate(dbf::CivilFromDays(days), display_format);
    }
    case FieldKind::kFloat:
    case FieldKind::kCurrency:
    case FieldKind::kSmallInt:
    case FieldKind::kInteger:
    case FieldKind::kLargeInt:
      if (display_format.empty() || !IsNumberFormat(display_format)) break;
      return FormatGroupedNumber(field.AsFloat(), DecimalsOf(display_format));
    case FieldKind::kBoolean: {
      const size_t semicolon = display_format.find(';');
      if (semicolon == std::string_view::npos) break;
      return std::string(field.AsBoolean() ? display_format.substr(0, semicolon)
                                           : display_format.substr(semicolon + 1));
    }
    default:
      break;
  }
  return field.AsString();
}

}  // namespace app
