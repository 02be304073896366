#ifndef SALDEX_REPORTS_TEXT_DUMP_H_
#define SALDEX_REPORTS_TEXT_DUMP_H_

#include <string>

#include "reports/mem_table.h"

namespace reports {

// The comma-separated text dump of a MemTable, bytes as the table holds them
// (code page 1250), every line ended by CR LF:
//   header   "Name1","Name2",...,"NameN",
//   row      value1,value2,...,valueN,
// A field without a value gives nothing between its commas; every other
// value is enclosed in double quotes with inner quotes doubled:
//   string     % -> %%, CR -> %c, LF -> %n, NUL -> %0, then quoted ("" when empty)
//   date-time  dd/mm/yyyy, " hh:nn:ss" added when not midnight
//   float      GeneralFloatText (value_text.h)
// No table definition, no trailer.
std::string TextDumpHeader(const MemTable& table);
// The line of the current row, CR LF included.
std::string TextDumpLine(const MemTable& table);
// One string value escaped and quoted.
std::string QuotedDumpText(std::string_view text);

}  // namespace reports

#endif  // SALDEX_REPORTS_TEXT_DUMP_H_
