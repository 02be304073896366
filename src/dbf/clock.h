#ifndef SALDEX_DBF_CLOCK_H_
#define SALDEX_DBF_CLOCK_H_

#include <optional>

#include "dbf/dates.h"

namespace dbf {

struct LocalTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  CivilDate date() const { return {year, month, day}; }
  DateTime ToDateTime() const;
};

// The local wall clock of the process; tests may pin it.
LocalTime Now();
void SetClockForTesting(std::optional<LocalTime> fixed);

}  // namespace dbf

#endif  // SALDEX_DBF_CLOCK_H_
