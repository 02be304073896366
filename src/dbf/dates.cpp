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

std::string FormatYyyymmdd(const CivilDate& date) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", date.year % 10000, date.month % 100,
                date.day % 100);
  return buf;
}

}  // namespace dbf
