#ifndef SALDEX_INDEX_EXPRESSION_DATE_TEXT_H_
#define SALDEX_INDEX_EXPRESSION_DATE_TEXT_H_

#include <optional>
#include <string>
#include <string_view>

#include "dbf/dates.h"

namespace idx {

// Date text to Julian day number: trailing blanks dropped; "" or "00000000"
// is 0; exactly 8 digits are yyyymmdd (no calendar date: 0); any other text
// is read with the short date format. nullopt when that fails.
std::optional<double> ParseDateText(std::string_view text);
// As ParseDateText, raising the conversion error "'%s' is not a valid date".
double ParseDateTextOrThrow(std::string_view text);

// The calendar date of a Julian day number; nullopt for 0 or less, the
// empty date, and anything outside the years 1..9999.
std::optional<dbf::CivilDate> CivilFromJulian(double julian);
double JulianFromCivil(const dbf::CivilDate& date);

// "yyyymmdd"; 8 blanks when CivilFromJulian has no date.
std::string JulianToYyyymmdd(double julian);
// Short date format with a 4-digit year; blanks of that length when empty.
std::string JulianToShortDate(double julian);

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_DATE_TEXT_H_
