#include "store/journal_date.h"

#include <cmath>
#include <cstdio>

#include "store/ansi_text.h"

namespace store {
namespace {

std::string Number(int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", digits, value);
  return text;
}

}  // namespace

std::string FormatDatePattern(const dbf::CivilDate& date, std::string_view pattern) {
  std::string result;
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    if (lower == 'd' && run <= 2) {
      result += Number(date.day, static_cast<int>(run));
    } else if (lower == 'm' && run <= 2) {
      result += Number(date.month, static_cast<int>(run));
    } else if (lower == 'y') {
      result += run <= 2 ? Number(date.year % 100, 2) : Number(date.year, 4);
    } else {
      result.append(run, c);
    }
    i += run;
  }
  return result;
}

std::optional<std::string> JournalDateMessage(dbf::DateTime today, dbf::DateTime last_entry) {
  if (last_entry == 0 || !std::isfinite(last_entry)) return std::nullopt;
  const auto today_day = static_cast<int64_t>(std::floor(today));
  const auto last_day = static_cast<int64_t>(std::floor(last_entry));
  if (today_day >= last_day) return std::nullopt;
  return Ansi("Zápis ve skladovém deniků je (") +
         FormatDatePattern(dbf::CivilFromDays(last_day), "dd.mm.yyy") +
         Ansi(") tj. později než je systémové datum");
}

}  // namespace store
