#ifndef SALDEX_STORE_JOURNAL_DATE_H_
#define SALDEX_STORE_JOURNAL_DATE_H_

#include <optional>
#include <string>
#include <string_view>

#include "dbf/dates.h"

namespace store {

// Formats a date with a pattern of the toolkit's date format: "d"/"dd" day,
// "m"/"mm" month (without / with a leading zero), "y"/"yy" the year in two
// digits, three or more "y" the full year; other characters are copied.
// "dd.mm.yyy" gives "05.03.2004".
std::string FormatDatePattern(const dbf::CivilDate& date, std::string_view pattern);

// The stock-journal check of the start-up: when `today` is earlier than the
// date of the last journal entry, the message to show, else nullopt. Only
// the date parts count; an empty date (0) passes.
std::optional<std::string> JournalDateMessage(dbf::DateTime today, dbf::DateTime last_entry);

}  // namespace store

#endif  // SALDEX_STORE_JOURNAL_DATE_H_
