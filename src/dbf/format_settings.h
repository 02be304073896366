#ifndef SALDEX_DBF_FORMAT_SETTINGS_H_
#define SALDEX_DBF_FORMAT_SETTINGS_H_

#include <optional>
#include <string>
#include <string_view>

#include "dbf/dates.h"

namespace dbf {

// The process-wide locale values every locale-dependent conversion follows.
// Initialised from the process locale; the program's start-up then sets the
// short date format "dd.mm.yyyy". Only the user-interface thread touches it.
struct FormatSettings {
  char decimal_separator = '.';
  char date_separator = '.';
  std::string short_date_format = "dd.mm.yyyy";
  char time_separator = ':';
  std::string long_time_format = "hh:nn:ss";  // h hour, n (or m) minute, s second
  char thousand_separator = ' ';              // digit grouping of display formats
  int two_digit_year_window = 50;  // years before the current one that a 2-digit year may mean
};

FormatSettings& Formats();
// Re-reads decimal, thousand, date and time separators and the short date
// format from the process locale (LC_NUMERIC, LC_TIME).
void InitFormatsFromLocale();

// Formats a date with the short date format; with `four_digit_year` a "yy"
// year is widened to four digits.
std::string FormatShortDate(const CivilDate& date, bool four_digit_year);
// Parses text in the order of the short date format (day, month, year as the
// format places them), numbers separated by the date separator. Two numbers
// mean the current year; a year of one or two digits is expanded with the
// two-digit-year window. Returns nullopt for anything else.
std::optional<CivilDate> ParseShortDate(std::string_view text);

// Parses a decimal number written with the locale's decimal separator
// (leading/trailing blanks, sign, digits, one separator, exponent).
std::optional<double> ParseLocaleNumber(std::string_view text);

}  // namespace dbf

#endif  // SALDEX_DBF_FORMAT_SETTINGS_H_
