#ifndef SALDEX_DBF_FIELD_TEXT_H_
#define SALDEX_DBF_FIELD_TEXT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dbf/dates.h"

namespace dbf {

// Text forms of field values as the field objects read and write them. Every
// form that follows the user's locale takes its separators and the short date
// format from Formats().

// A whole decimal number with an optional sign, blanks around it allowed;
// nullopt for anything else or outside the 64-bit range.
std::optional<int64_t> ParseWholeNumber(std::string_view text);

// Up to 15 significant digits, the locale's decimal separator.
std::string FormatFloatText(double value);

// The date in the short date format; with a time of day other than midnight
// followed by " h:mm:ss".
std::string FormatDateTimeText(DateTime value, bool with_time);

// A date in the short date format, optionally followed by a blank and a time
// "h:mm" or "h:mm:ss"; nullopt for anything else.
std::optional<DateTime> ParseDateTimeText(std::string_view text);

}  // namespace dbf

#endif  // SALDEX_DBF_FIELD_TEXT_H_
