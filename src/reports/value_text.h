#ifndef SALDEX_REPORTS_VALUE_TEXT_H_
#define SALDEX_REPORTS_VALUE_TEXT_H_

#include <string>

#include "dbf/dates.h"

namespace reports {

// The shortest general decimal form with up to 15 significant digits, point
// as decimal separator, no thousands separator, whatever the locale: "12.5",
// "800", "0", "-3.25". Magnitudes from 1E15 up and below 1E-4 in exponent
// form without "+" and without leading exponent zeros: "1E20", "1E-5",
// "1.5E-7". Not a number and infinities: "NAN", "INF", "-INF".
std::string GeneralFloatText(double value);

// printf's "%<width>.<decimals>f" with `decimal_separator` in place of the
// point, whatever the C locale says.
std::string FixedFloatText(double value, int width, int decimals, char decimal_separator);

// "dd/mm/yyyy", followed by " hh:nn:ss" only when the time of day is not
// midnight.
std::string DumpDateTimeText(dbf::DateTime value);

// The date part in the process-wide short date format with a four-digit year.
std::string ShortDateText(dbf::DateTime value);

}  // namespace reports

#endif  // SALDEX_REPORTS_VALUE_TEXT_H_
