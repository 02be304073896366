#ifndef SALDEX_APP_DISPLAY_FORMAT_H_
#define SALDEX_APP_DISPLAY_FORMAT_H_

#include <string>
#include <string_view>

#include "dbf/field.h"

namespace app {

// A field's value as a grid cell shows it (code page 1250), through the
// display format of the store catalogue:
//   "dd.mm.yyyy"  dates: dd, mm, yyyy (and yy) replaced, other characters kept
//   "#,##0.00"    numbers: two decimals, the locale's decimal separator,
//                 thousands grouped (blank, or "," when the decimal
//                 separator is not ",")
//   "Ano;Ne"      booleans: the text before ";" for true, after it for false
// An empty format, or one that does not fit the field's kind, shows the
// field's own text. A null date shows empty.
std::string DisplayText(const dbf::Field& field, std::string_view display_format);

// The pieces, for other callers and tests.
std::string FormatDate(const dbf::CivilDate& date, std::string_view format);
std::string FormatGroupedNumber(double value, int decimals);

}  // namespace app

#endif  // SALDEX_APP_DISPLAY_FORMAT_H_
