#include "dbf/field_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "dbf/format_settings.h"

namespace dbf {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool ParseTimeOfDay(std::string_view text, double& fraction) {
  int parts[3] = {0, 0, 0};
  int count = 0;
  while (!text.empty() && count < 3) {
    const char* end = text.data() + text.size();
    int value = 0;
    const auto [next, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || next == text.data() || next - text.data() > 2) return false;
    parts[count++] = value;
    text.remove_prefix(static_cast<size_t>(next - text.data()));
    if (text.empty()) break;
    if (text.front() != ':') return false;
    text.remove_prefix(1);
    if (text.empty()) return false;
  }
  if (!text.empty() || count < 2) return false;
  if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return false;
  fraction = (parts[0] * 3600 + parts[1] * 60 + parts[2]) / 86400.0;
  return true;
}

}  // namespace

std::optional<int64_t> ParseWholeNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [next, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || next != end) return std::nullopt;
  return value;
}

std::string FormatFloatText(double value) {
  char buffer[40];
  const int length = std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string text(buffer, length > 0 ? static_cast<size_t>(length) : 0);
  const char separator = Formats().decimal_separator;
  for (char& c : text) {
    if (c == '.') c = separator;
  }
  return text;
}

std::string FormatDateTimeText(DateTime value, bool with_time) {
  const double day = std::floor(value);
  std::string text = FormatShortDate(CivilFromDays(static_cast<int64_t>(day)), false);
  const int64_t seconds = std::llround((value - day) * 86400.0);
  if (with_time && seconds > 0 && seconds < 86400) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, " %d:%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    text += buffer;
  }
  return text;
}

std::optional<DateTime> ParseDateTimeText(std::string_view text) {
  text = TrimBlanks(text);
  const size_t blank = text.find(' ');
  const std::optional<CivilDate> date = ParseShortDate(text.substr(0, blank));
  if (!date) return std::nullopt;
  double fraction = 0.0;
  if (blank != std::string_view::npos &&
      !ParseTimeOfDay(TrimBlanks(text.substr(blank)), fraction)) {
    return std::nullopt;
  }
  return static_cast<double>(DaysFromCivil(*date)) + fraction;
}

}  // namespace dbf
