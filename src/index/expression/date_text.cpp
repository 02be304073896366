#include "index/expression/date_text.h"

#include <cmath>

#include "dbf/errors.h"
#include "dbf/format_settings.h"
#include "index/expression/value.h"

namespace idx {
namespace {

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

const double kFirstJulian = JulianFromCivil({1, 1, 1});
const double kLastJulian = JulianFromCivil({9999, 12, 31});

}  // namespace

double JulianFromCivil(const dbf::CivilDate& date) {
  return static_cast<double>(dbf::DaysFromCivil(date) + dbf::kJulianDayOfZeroDate);
}

std::optional<double> ParseDateText(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty() || text == "00000000") return 0.0;
  if (text.size() == 8 && AllDigits(text)) {
    const auto date = dbf::ParseYyyymmdd(text);
    return date ? JulianFromCivil(*date) : 0.0;
  }
  const auto date = dbf::ParseShortDate(text);
  if (!date) return std::nullopt;
  return JulianFromCivil(*date);
}

double ParseDateTextOrThrow(std::string_view text) {
  const auto julian = ParseDateText(text);
  if (!julian) {
    throw dbf::ExpressionError(dbf::FormatMessage("'%s' is not a valid date", std::string(text)));
  }
  return *julian;
}

std::optional<dbf::CivilDate> CivilFromJulian(double julian) {
  if (!(julian >= kFirstJulian && julian <= kLastJulian)) return std::nullopt;
  const auto days = static_cast<int64_t>(std::floor(julian)) - dbf::kJulianDayOfZeroDate;
  return dbf::CivilFromDays(days);
}

std::string JulianToYyyymmdd(double julian) {
  const auto date = CivilFromJulian(julian);
  return date ? dbf::FormatYyyymmdd(*date) : std::string(8, ' ');
}

std::string JulianToShortDate(double julian) {
  const auto date = CivilFromJulian(julian);
  if (date) return dbf::FormatShortDate(*date, true);
  return std::string(dbf::FormatShortDate({2000, 1, 1}, true).size(), ' ');
}

}  // namespace idx
