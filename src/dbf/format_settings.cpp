#include "dbf/format_settings.h"

#include <langinfo.h>

#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "dbf/clock.h"

namespace dbf {

FormatSettings& Formats() {
  static FormatSettings settings;
  return settings;
}

void InitFormatsFromLocale() {
  FormatSettings& f = Formats();
  if (const char* point = nl_langinfo(RADIXCHAR); point && point[0] && !point[1]) {
    f.decimal_separator = point[0];
  }
  // Grouping: a one-byte separator as it is; a (narrow) no-break space as a blank.
  if (const char* group = nl_langinfo(THOUSEP); group && group[0]) {
    f.thousand_separator = group[1] ? ' ' : group[0];
  }
  if (const char* time = nl_langinfo(T_FMT); time) {
    for (const char* p = time; *p; ++p) {
      if (*p == '%' && p[1]) {
        ++p;
      } else if (*p != ' ') {
        f.time_separator = *p;
        break;
      }
    }
  }
  // Turn the strftime date format ("%d.%m.%Y") into "dd.mm.yyyy" form.
  const char* fmt = nl_langinfo(D_FMT);
  if (!fmt) return;
  std::string out;
  char sep = 0;
  for (const char* p = fmt; *p; ++p) {
    if (*p == '%' && p[1]) {
      ++p;
      switch (*p) {
        case 'd':
        case 'e':
          out += "dd";
          break;
        case 'm':
          out += "mm";
          break;
        case 'y':
          out += "yy";
          break;
        case 'Y':
          out += "yyyy";
          break;
        default:
          return;  // a format we cannot mirror: keep the defaults
      }
    } else {
      if (!sep) sep = *p;
      out += *p;
    }
  }
  if (sep && out.size() >= 6) {
    f.date_separator = sep;
    f.short_date_format = out;
  }
}

std::string FormatShortDate(const CivilDate& date, bool four_digit_year) {
  const std::string& fmt = Formats().short_date_format;
  std::string out;
  char buf[16];
  for (size_t i = 0; i < fmt.size();) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(fmt[i])));
    size_t run = 1;
    while (i + run < fmt.size() && std::tolower(static_cast<unsigned char>(fmt[i + run])) == c) {
      ++run;
    }
    if (c == 'd' || c == 'm') {
      const int v = c == 'd' ? date.day : date.month;
      std::snprintf(buf, sizeof buf, run >= 2 ? "%02d" : "%d", v);
      out += buf;
    } else if (c == 'y') {
      if (run <= 2 && !four_digit_year) {
        std::snprintf(buf, sizeof buf, "%02d", date.year % 100);
      } else {
        std::snprintf(buf, sizeof buf, "%04d", date.year);
      }
      out += buf;
    } else if (c == '/') {
      out.append(run, Formats().date_separator);
    } else {
      out.append(fmt, i, run);
    }
    i += run;
  }
  return out;
}

std::optional<CivilDate> ParseShortDate(std::string_view text) {
  const FormatSettings& f = Formats();
  // Order of day, month and year as they appear in the format.
  std::string order;
  for (char ch : f.short_date_format) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if ((c == 'd' || c == 'm' || c == 'y') && order.find(c) == std::string::npos) order += c;
  }
  if (order.size() != 3) order = "dmy";

  std::vector<int> numbers;
  std::vector<int> digits;
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && text[i] == ' ') ++i;
  };
  skip_blanks();
  while (i < text.size()) {
    int value = 0, count = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      if (count < 9) value = value * 10 + (text[i] - '0');
      ++count;
      ++i;
    }
    if (count == 0 || count > 4) return std::nullopt;
    numbers.push_back(value);
    digits.push_back(count);
    skip_blanks();
    if (i < text.size()) {
      if (text[i] != f.date_separator || numbers.size() == 3) return std::nullopt;
      ++i;
      skip_blanks();
      if (i == text.size()) break;  // a trailing separator is tolerated
    }
  }
  const int current_year = Now().year;
  int day = 0, month = 0, year = current_year;
  int year_digits = 4;
  if (numbers.size() == 3) {
    for (size_t k = 0; k < 3; ++k) {
      if (order[k] == 'd') day = numbers[k];
      if (order[k] == 'm') month = numbers[k];
      if (order[k] == 'y') year = numbers[k], year_digits = digits[k];
    }
  } else if (numbers.size() == 2) {
    std::string dm;
    for (char c : order) {
      if (c != 'y') dm += c;
    }
    day = dm[0] == 'd' ? numbers[0] : numbers[1];
    month = dm[0] == 'm' ? numbers[0] : numbers[1];
  } else {
    return std::nullopt;
  }
  if (year_digits <= 2) {
    year += current_year / 100 * 100;
    if (f.two_digit_year_window > 0 && year < current_year - f.two_digit_year_window) {
      year += 100;
    }
  }
  if (!IsValidDate(year, month, day)) return std::nullopt;
  return CivilDate{year, month, day};
}

std::optional<double> ParseLocaleNumber(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  if (b == e) return std::nullopt;
  std::string s(text.substr(b, e - b));
  const char sep = Formats().decimal_separator;
  for (char& c : s) {
    if (c == sep) {
      c = '.';
    } else if (c == '.' && sep != '.') {
      return std::nullopt;
    }
  }
  // Only sign, digits, one point and an exponent are accepted.
  size_t k = 0;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
  bool digits = false;
  while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) ++k, digits = true;
  if (k < s.size() && s[k] == '.') {
    ++k;
    while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) ++k, digits = true;
  }
  if (!digits) return std::nullopt;
  if (k < s.size() && (s[k] == 'e' || s[k] == 'E')) {
    ++k;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
    bool exp_digits = false;
    while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) ++k, exp_digits = true;
    if (!exp_digits) return std::nullopt;
  }
  if (k != s.size()) return std::nullopt;
  double v = 0;
  const auto res = std::from_chars(s.data() + (s[0] == '+' ? 1 : 0), s.data() + s.size(), v);
  if (res.ec != std::errc() || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace dbf
