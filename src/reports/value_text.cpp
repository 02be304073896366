#include "reports/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "dbf/format_settings.h"

namespace reports {

std::string GeneralFloatText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  // to_chars in the general form is printf's "%.15g" in the C locale: fixed
  // notation for decimal exponents -5 < e < 15, trailing zeros removed.
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, result.ptr);
  const size_t e = text.find('e');
  if (e == std::string::npos) return text;
  // "1e+20" -> "1E20", "1.5e-07" -> "1.5E-7".
  std::string exponent = text.substr(e + 1);
  const bool negative = !exponent.empty() && exponent[0] == '-';
  if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) exponent.erase(0, 1);
  const size_t digits = exponent.find_first_not_of('0');
  exponent = digits == std::string::npos ? "0" : exponent.substr(digits);
  return text.substr(0, e) + "E" + (negative ? "-" : "") + exponent;
}

namespace {

// "%.*f" of `value` for 0 to 4 decimals through integer arithmetic: with a
// 64-bit long double mantissa, value (53 bits) times 10^decimals (at most
// 14 bits) is exact, and rounding it to an integer to nearest, ties to
// even, is what printf does with the exact binary value. nullopt when the
// product does not fit an integer.
std::optional<std::string> ExactFixedText(double value, int decimals) {
  if constexpr (std::numeric_limits<long double>::digits < 64) return std::nullopt;
  static constexpr long double kScale[] = {1, 10, 100, 1000, 10000};
  if (decimals < 0 || decimals > 4 || !std::isfinite(value)) return std::nullopt;
  const long double product = static_cast<long double>(value) * kScale[decimals];
  if (std::fabs(product) >= 9e18L) return std::nullopt;
  const long long scaled = std::llrint(product);
  const unsigned long long magnitude = scaled < 0 ? 0ULL - static_cast<unsigned long long>(scaled)
                                                  : static_cast<unsigned long long>(scaled);
  char digits[32];
  char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
  std::string text;
  if (std::signbit(value)) text += '-';
  const int count = static_cast<int>(end - digits);
  if (count <= decimals) {
    text += '0';
    if (decimals > 0) text += '.';
    text.append(static_cast<size_t>(decimals - count), '0');
    text.append(digits, end);
  } else {
    text.append(digits, end - decimals);
    if (decimals > 0) {
      text += '.';
      text.append(end - decimals, end);
    }
  }
  return text;
}

}  // namespace

std::string FixedFloatText(double value, int width, int decimals, char decimal_separator) {
  std::string text;
  if (std::optional<std::string> exact = ExactFixedText(value, decimals)) {
    text = std::move(*exact);
  } else {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    text = result.ec == std::errc() ? std::string(buffer, result.ptr) : "INF";
  }
  for (char& c : text) {
    if (c == '.') c = decimal_separator;
  }
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string DumpDateTimeText(dbf::DateTime value) {
  const double days = std::floor(value);
  const dbf::CivilDate date = dbf::CivilFromDays(static_cast<int64_t>(days));
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", date.day, date.month, date.year);
  std::string text = buffer;
  const long seconds = std::lround((value - days) * 86400.0);
  if (seconds > 0 && seconds < 86400) {
    std::snprintf(buffer, sizeof buffer, " %02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    text += buffer;
  }
  return text;
}

std::string ShortDateText(dbf::DateTime value) {
  return dbf::FormatShortDate(dbf::CivilFromDays(static_cast<int64_t>(std::floor(value))), true);
}

}  // namespace reports
