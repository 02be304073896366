#ifndef SALDEX_CONTROLS_MOMENT_COMPLETION_H_
#define SALDEX_CONTROLS_MOMENT_COMPLETION_H_

#include <QString>

#include "dbf/clock.h"

namespace controls {

// The locale values that completion and moment texts follow.
struct MomentFormats {
  QChar date_separator = '.';
  QChar time_separator = ':';
  QString short_date_format = "dd.mm.yyyy";  // d, m, y runs; "/" is the date separator
  QString long_time_format = "hh:nn:ss";     // h, n (or m), s runs; ":" is the time separator
};

// The process-wide values (dbf::Formats()).
MomentFormats ProcessMomentFormats();

struct Completion {
  QString text;  // replaces the typed text; empty when not valid
  bool valid = false;
};

// Completes a date typed in short form from `default_moment` (its short date
// form DT): "5" -> "5.12.2026", "5.3" -> "5.3.2026", "050326" -> "05.03.26",
// an empty text stays empty and valid. The result is not checked to be a
// calendar date. Separators typed as any of * + , - . / : ? become the date
// separator. Texts longer than 8 characters are cut to 10.
Completion CompleteDate(const QString& text, const dbf::LocalTime& default_moment,
                        const MomentFormats& formats);

// The same for a time of day, with the time separator, the long time form of
// `default_moment` and a length limit of 8: "8" -> "8:30:15" at 8:30:15.
Completion CompleteTime(const QString& text, const dbf::LocalTime& default_moment,
                        const MomentFormats& formats);

// The default moment in the short date / long time form.
QString FormatShortDate(const dbf::LocalTime& moment, const MomentFormats& formats);
QString FormatLongTime(const dbf::LocalTime& moment, const MomentFormats& formats);

}  // namespace controls

#endif  // SALDEX_CONTROLS_MOMENT_COMPLETION_H_
