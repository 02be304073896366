#include "dbf/dates.h"

#include <cstdio>
#include <cstring>

namespace dbf {
namespace {

// Days from 1970-01-01 (H. Hinnant's civil calendar algorithms).
int64_t DaysFromEpoch(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

constexpr int64_t kEpochToZeroDate = 25569;  // 1899-12-30 .. 1970-01-01

}  // namespace

bool IsValidDate(int year, int month, int day) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

int64_t DaysFromCivil(const CivilDate& date) {
  return DaysFromEpoch(date.year, static_cast<unsigned>(date.month),
                       static_cast<unsigned>(date.day)) +
         kEpochToZeroDate;
}

CivilDate CivilFromDays(int64_t days) {
  int64_t z = days - kEpochToZeroDate + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return CivilDate{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

std::optional<CivilDate> ParseYyyymmdd(std::string_view text) {
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

std::string FormatYyyymmdd(const CivilDate& date) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", date.year % 10000, date.month % 100,
                date.day % 100);
  return buf;
}

}  // namespace dbf
