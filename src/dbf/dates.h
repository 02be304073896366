#ifndef SALDEX_DBF_DATES_H_
#define SALDEX_DBF_DATES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dbf {

// Dates and date-times are days since 30 December 1899 in a double; the
// fraction is the time of day. Index keys and T fields use Julian day numbers.
using DateTime = double;

constexpr int64_t kJulianDayOfZeroDate = 2415019;  // 1899-12-30; 1980-01-01 is 2444240

struct CivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

bool IsValidDate(int year, int month, int day);
// Days since 1899-12-30 of a (proleptic Gregorian) calendar date.
int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(int64_t days);

// "yyyymmdd": eight digits forming a valid calendar date, else nullopt.
std::optional<CivilDate> ParseYyyymmdd(std::string_view text);
std::string FormatYyyymmdd(const CivilDate& date);

}  // namespace dbf

#endif  // SALDEX_DBF_DATES_H_
