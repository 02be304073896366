#ifndef SALDEX_DBF_DATES_H_
#define SALDEX_DBF_DATES_H_

#include <cstdint>
#include <cstring>
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

inline bool IsValidDate(int year, int month, int day) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}
// Days since 1899-12-30 of a (proleptic Gregorian) calendar date.
int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(int64_t days);

// "yyyymmdd": eight digits forming a valid calendar date, else nullopt.
// Inline: every scan of a D field runs it, and a call returning the date
// through memory costs more than the parse.
inline std::optional<CivilDate> ParseYyyymmdd(std::string_view text) {
  if (text.size() != 8) return std::nullopt;
  uint64_t x;
  std::memcpy(&x, text.data(), 8);
  const uint64_t d = x - 0x3030303030303030ull;
  // Every byte a digit: no byte borrowed below '0' and none above '9'.
  if (((x & 0xF0F0F0F0F0F0F0F0ull) != 0x3030303030303030ull) ||
      ((d + 0x7676767676767676ull) & 0x8080808080808080ull) != 0) {
    return std::nullopt;
  }
  auto digit = [&](int i) { return static_cast<int>((d >> (8 * i)) & 0xFF); };
  const int year = digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3);
  const int month = digit(4) * 10 + digit(5);
  const int day = digit(6) * 10 + digit(7);
  if (!IsValidDate(year, month, day)) return std::nullopt;
  return CivilDate{year, month, day};
}
std::string FormatYyyymmdd(const CivilDate& date);

}  // namespace dbf

#endif  // SALDEX_DBF_DATES_H_
