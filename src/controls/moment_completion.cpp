#include "controls/moment_completion.h"

#include "controls/qt_text.h"
#include "dbf/format_settings.h"

namespace controls {
namespace {

constexpr int kDateLengthLimit = 10;
constexpr int kTimeLengthLimit = 8;
constexpr int kCutAbove = 8;

bool IsBlank(QChar c) {
  return c.unicode() <= u' ';
}

QString TrimBlanks(const QString& text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.mid(begin, end - begin);
}

bool IsTypedSeparator(QChar c) {
  return c == u'*' || c == u'+' || c == u',' || c == u'-' || c == u'.' || c == u'/' || c == u':' ||
         c == u'?';
}

// Every character a blank, a digit or one of the two separators.
bool Allowed(const QString& t, const MomentFormats& formats) {
  for (QChar c : t) {
    const bool digit = c >= u'0' && c <= u'9';
    if (c != u' ' && !digit && c != formats.date_separator && c != formats.time_separator) {
      return false;
    }
  }
  return true;
}

// The part of `dt` after its `n`-th separator `s`; empty when it has fewer.
QString After(const QString& dt, QChar s, int n) {
  qsizetype at = -1;
  for (int k = 0; k < n; ++k) {
    at = dt.indexOf(s, at + 1);
    if (at < 0) return QString();
  }
  return dt.mid(at + 1);
}

Completion Invalid() {
  return Completion{QString(), false};
}

Completion Checked(const QString& t, const QString& result, const MomentFormats& formats) {
  return Allowed(t, formats) ? Completion{result, true} : Invalid();
}

Completion Complete(const QString& text, QChar s, const QString& dt, int limit,
                    const MomentFormats& formats) {
  QString t = TrimBlanks(text);
  qsizetype n = t.size();
  if (n == 0) return Completion{text, true};
  if (n > kCutAbove) {
    t.truncate(limit);
    n = t.size();
  }
  qsizetype p1 = 0, p2 = 0;
  for (qsizetype i = 0; i < n && p2 == 0; ++i) {
    if (!IsTypedSeparator(t[i])) continue;
    t[i] = s;
    (p1 == 0 ? p1 : p2) = i + 1;
  }

  if (p1 == 0) {
    if (n <= 2) return Checked(t, t + s + After(dt, s, 1), formats);
    if (n == 6) {
      // dd S mm S yy, built from the text as typed.
      return Completion{text.left(2) + s + text.mid(2, 2) + s + text.mid(4), true};
    }
    return Invalid();
  }
  if (p1 == 1) return Completion{dt, true};
  if (p2 == 0) {
    if (p1 < n) return Checked(t, t + s + After(dt, s, 2), formats);
    return Checked(t, t + After(dt, s, 1), formats);
  }
  if (p2 == p1 + 1) return Invalid();
  if (p2 < n) return Checked(t, t, formats);
  return Checked(t, t + After(dt, s, 2), formats);
}

QString Number(int value, int width) {
  return QString::number(value).rightJustified(width, u'0');
}

// Walks `format` in runs of one letter (case-insensitive); `field` gives the
// text of a run (lower-case letter, length) or an empty text for a literal.
template <typename Field>
QString ExpandFormat(const QString& format, Field&& field) {
  QString out;
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format[i].toLower();
    qsizetype run = 1;
    while (i + run < format.size() && format[i + run].toLower() == c) ++run;
    const QString text = field(c, run);
    out += text.isEmpty() ? format.mid(i, run) : text;
    i += run;
  }
  return out;
}

}  // namespace

MomentFormats ProcessMomentFormats() {
  const dbf::FormatSettings& f = dbf::Formats();
  MomentFormats formats;
  formats.date_separator = FromAnsi(std::string(1, f.date_separator)).at(0);
  formats.time_separator = FromAnsi(std::string(1, f.time_separator)).at(0);
  formats.short_date_format = FromAnsi(f.short_date_format);
  formats.long_time_format = FromAnsi(f.long_time_format);
  return formats;
}

QString FormatShortDate(const dbf::LocalTime& moment, const MomentFormats& formats) {
  return ExpandFormat(formats.short_date_format, [&](QChar c, qsizetype run) -> QString {
    const int width = run >= 2 ? 2 : 1;
    if (c == u'd') return Number(moment.day, width);
    if (c == u'm') return Number(moment.month, width);
    if (c == u'y') return run <= 2 ? Number(moment.year % 100, 2) : Number(moment.year, 4);
    if (c == u'/') return QString(run, formats.date_separator);
    return QString();
  });
}

QString FormatLongTime(const dbf::LocalTime& moment, const MomentFormats& formats) {
  return ExpandFormat(formats.long_time_format, [&](QChar c, qsizetype run) -> QString {
    const int width = run >= 2 ? 2 : 1;
    if (c == u'h') return Number(moment.hour, width);
    if (c == u'n' || c == u'm') return Number(moment.minute, width);
    if (c == u's') return Number(moment.second, width);
    if (c == u':') return QString(run, formats.time_separator);
    return QString();
  });
}

Completion CompleteDate(const QString& text, const dbf::LocalTime& default_moment,
                        const MomentFormats& formats) {
  return Complete(text, formats.date_separator, FormatShortDate(default_moment, formats),
                  kDateLengthLimit, formats);
}

Completion CompleteTime(const QString& text, const dbf::LocalTime& default_moment,
                        const MomentFormats& formats) {
  return Complete(text, formats.time_separator, FormatLongTime(default_moment, formats),
                  kTimeLengthLimit, formats);
}

}  // namespace controls
