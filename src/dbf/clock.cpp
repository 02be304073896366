#include "dbf/clock.h"

#include <sys/time.h>

#include <ctime>

namespace dbf {
namespace {
std::optional<LocalTime> g_fixed;
}

DateTime LocalTime::ToDateTime() const {
  return static_cast<double>(DaysFromCivil(date())) +
         (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
}

LocalTime Now() {
  if (g_fixed) return *g_fixed;
  timeval tv{};
  gettimeofday(&tv, nullptr);
  std::tm tm{};
  localtime_r(&tv.tv_sec, &tm);
  return LocalTime{tm.tm_year + 1900,
                   tm.tm_mon + 1,
                   tm.tm_mday,
                   tm.tm_hour,
                   tm.tm_min,
                   tm.tm_sec,
                   static_cast<int>(tv.tv_usec / 1000)};
}

void SetClockForTesting(std::optional<LocalTime> fixed) {
  g_fixed = fixed;
}

}  // namespace dbf
