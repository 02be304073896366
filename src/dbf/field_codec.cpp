#include "dbf/field_codec.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "dbf/errors.h"

namespace dbf {

bool IsKnownFieldType(char type, uint8_t version) {
  switch (type) {
    case 'C':
    case 'N':
    case 'F':
    case 'D':
    case 'L':
    case 'M':
    case 'G':
    case 'B':
      return true;
    case 'I':
    case 'Y':
    case 'T':
      return version == 0x30;
    default:
      return false;
  }
}

namespace codec {
namespace {

bool IsVfpBinary(char type, uint8_t version) {
  return version == 0x30 &&
         (type == 'B' || type == 'G' || type == 'I' || type == 'M' || type == 'T' || type == 'Y');
}

int32_t LoadInt32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 |
                              static_cast<uint32_t>(p[3]) << 24);
}

void StoreInt32(uint8_t* p, int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}

int64_t LoadInt64(const uint8_t* p) {
  uint64_t u = 0;
  for (int i = 7; i >= 0; --i) u = u << 8 | p[i];
  return static_cast<int64_t>(u);
}

void StoreInt64(uint8_t* p, int64_t v) {
  const uint64_t u = static_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}

bool AllSpaces(const uint8_t* p, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (p[i] != ' ') return false;
  }
  return true;
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Plain "[-]digits[.digits]" with at most 15 significant digits: the digits
// as an integer are exact in a double, and so is 10^decimals, so one
// division gives the correctly rounded value. Returns false for anything else.
bool ParsePlainDecimal(std::string_view text, double& out) {
  size_t i = 0;
  const bool negative = text[0] == '-';
  if (negative) ++i;
  uint64_t mantissa = 0;
  int digits = 0, decimals = -1;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
      if (++digits > 15) return false;
      if (decimals >= 0) ++decimals;
    } else if (c == '.' && decimals < 0) {
      decimals = 0;
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  double value = static_cast<double>(mantissa);
  if (decimals > 0) value /= kPowersOfTen[decimals];
  out = negative ? -value : value;
  return true;
}

// Strict decimal number: leading spaces, sign, digits, ".", exponent. The
// words "nan", "inf" and "infinity" are no numbers here.
bool ParseDecimal(std::string_view text, double& out) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && text[i] == '+') ++i;
  if (i == text.size()) return false;
  const size_t mantissa = i + (text[i] == '-' ? 1 : 0);
  if (mantissa == text.size() ||
      !(std::isdigit(static_cast<unsigned char>(text[mantissa])) || text[mantissa] == '.')) {
    return false;
  }
  if (ParsePlainDecimal(text.substr(i), out)) return true;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  const auto result = std::from_chars(first, last, out, std::chars_format::general);
  return result.ec == std::errc() && result.ptr == last;
}

[[noreturn]] void IncorrectType(const FieldDescriptor& f) {
  throw DbfError(FormatMessage("Field %s is the incorrect type", f.name));
}

[[noreturn]] void TooBig(const FieldDescriptor& f, const std::string& text) {
  throw DbfError(FormatMessage("numeric value too big in field %s", f.name + " - " + text));
}

}  // namespace

std::string_view Raw(const FieldDescriptor& f, const uint8_t* record) {
  return {reinterpret_cast<const char*>(record + f.offset), f.width};
}

std::string_view TrimmedText(const FieldDescriptor& f, const uint8_t* record) {
  std::string_view v = Raw(f, record);
  while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
  return v;
}

double DecodeNumeric(const FieldDescriptor& f, const uint8_t* record, const std::string& table) {
  // Fast path for the common layout: blanks, optional "-", up to 15 digits
  // with an optional ".", trailing blanks.
  const uint8_t* p = record + f.offset;
  const uint8_t* end = p + f.width;
  while (p < end && *p == ' ') ++p;
  if (p == end) return 0.0;
  const bool negative = *p == '-';
  const uint8_t* q = p + (negative ? 1 : 0);
  uint64_t mantissa = 0;
  int digits = 0, decimals = -1;
  for (; q < end; ++q) {
    const unsigned d = static_cast<unsigned>(*q) - '0';
    if (d <= 9) {
      mantissa = mantissa * 10 + d;
      ++digits;
      decimals += decimals >= 0;
    } else if (*q == '.' && decimals < 0) {
      decimals = 0;
    } else {
      break;
    }
  }
  const uint8_t* rest = q;
  while (rest < end && *rest == ' ') ++rest;
  if (rest == end && digits > 0 && digits <= 15) {
    double value = static_cast<double>(mantissa);
    if (decimals > 0) value /= kPowersOfTen[decimals];
    return negative ? -value : value;
  }
  const std::string_view text = TrimmedText(f, record);
  double value = 0.0;
  if (!ParseDecimal(text, value)) {
    throw DbfError(FormatMessage("Invalid numeric value in field %s",
                                 table + "->" + f.name + " (" + std::string(text) + ")"));
  }
  return value;
}

double DecodeNumber(const FieldDescriptor& f, const uint8_t* record, const std::string& table,
                    uint8_t version) {
  const uint8_t* p = record + f.offset;
  switch (f.type) {
    case 'N':
    case 'F':
      return DecodeNumeric(f, record, table);
    default:
      break;
  }
  if (version != 0x30) IncorrectType(f);
  switch (f.type) {
    case 'I':
      if (f.width < 4 || AllSpaces(p, 4)) return 0.0;
      return LoadInt32(p);
    case 'B': {
      if (f.width < 8) return 0.0;
      double d;
      std::memcpy(&d, p, 8);
      return d;
    }
    case 'Y':
      if (f.width < 8) return 0.0;
      return static_cast<double>(LoadInt64(p)) / 10000.0;
    case 'T':
      return DecodeDateTime(f, record).value_or(0.0);
    default:
      IncorrectType(f);
  }
}

bool DecodeLogical(const FieldDescriptor& f, const uint8_t* record) {
  if (f.width == 0) return false;
  const char c = static_cast<char>(record[f.offset]);
  return c != '\0' && std::strchr("TtYyJj", c) != nullptr;
}

std::optional<DateTime> DecodeDateTime(const FieldDescriptor& f, const uint8_t* record) {
  if (f.width < 8) return std::nullopt;
  const uint8_t* p = record + f.offset;
  const int32_t day = LoadInt32(p);
  const int32_t ms = LoadInt32(p + 4);
  if (day == 0 && ms == 0) return std::nullopt;
  return static_cast<double>(static_cast<int64_t>(day) - kJulianDayOfZeroDate) + ms / 86400000.0;
}

std::string FormatFixed(double value, uint32_t decimals) {
  // -0.0 is no negative value: it is written without a sign.
  const bool negative = value < 0.0;
  const double magnitude = std::fabs(value);
  // The decimal expansion, cut to 18 digits: 17 decimal places below 10,
  // otherwise 18 significant digits.
  char buf[64];
  std::string digits;
  int int_digits = 0;  // digits before the decimal point
  if (magnitude < 10.0) {
    std::snprintf(buf, sizeof buf, "%.17f", magnitude);
    const char* point = std::strchr(buf, '.');
    int_digits = static_cast<int>(point - buf);
    digits.assign(buf, static_cast<size_t>(point - buf));
    digits.append(point + 1);
  } else {
    std::snprintf(buf, sizeof buf, "%.17e", magnitude);
    const char* e = std::strchr(buf, 'e');
    digits.push_back(buf[0]);
    digits.append(buf + 2, static_cast<size_t>(e - (buf + 2)));
    int_digits = std::atoi(e + 1) + 1;
  }
  // Round half away from zero at the wanted number of decimals.
  const size_t keep = static_cast<size_t>(std::max(0, int_digits)) + decimals;
  if (int_digits < 0) digits.insert(0, static_cast<size_t>(-int_digits), '0'), int_digits = 0;
  if (digits.size() < keep) digits.append(keep - digits.size(), '0');
  const bool round_up = digits.size() > keep && digits[keep] >= '5';
  digits.resize(keep);
  if (round_up) {
    size_t i = keep;
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(digits.begin(), '1');
      ++int_digits;
    } else {
      ++digits[i - 1];
    }
  }
  std::string int_part = digits.substr(0, static_cast<size_t>(int_digits));
  const size_t nonzero = int_part.find_first_not_of('0');
  int_part = nonzero == std::string::npos ? "0" : int_part.substr(nonzero);
  std::string text;
  if (negative) text.push_back('-');
  text += int_part;
  if (decimals > 0) {
    text.push_back('.');
    text.append(digits, static_cast<size_t>(int_digits), decimals);
  }
  return text;
}

void EncodeNumeric(const FieldDescriptor& f, uint8_t* record, double value) {
  if (!std::isfinite(value)) TooBig(f, std::isnan(value) ? "NAN" : "INF");
  const std::string text = FormatFixed(value, f.decimals);
  if (text.size() > f.width) TooBig(f, text);
  uint8_t* p = record + f.offset;
  const size_t pad = f.width - text.size();
  std::memset(p, ' ', pad);
  std::memcpy(p + pad, text.data(), text.size());
}

void EncodeNumber(const FieldDescriptor& f, uint8_t* record, double value, uint8_t version) {
  if (f.type == 'N' || f.type == 'F') return EncodeNumeric(f, record, value);
  if (version != 0x30) IncorrectType(f);
  uint8_t* p = record + f.offset;
  switch (f.type) {
    case 'I': {
      const double t = std::trunc(value);
      if (!(t >= std::numeric_limits<int32_t>::min() && t <= std::numeric_limits<int32_t>::max())) {
        TooBig(f, FormatFixed(value, 0));
      }
      if (f.width >= 4) StoreInt32(p, static_cast<int32_t>(t));
      return;
    }
    case 'B':
      if (f.width >= 8) std::memcpy(p, &value, 8);
      return;
    case 'Y': {
      const double scaled = std::round(value * 10000.0);
      if (!(std::fabs(scaled) < 9.2e18)) TooBig(f, FormatFixed(value, 4));
      if (f.width >= 8) StoreInt64(p, static_cast<int64_t>(scaled));
      return;
    }
    case 'T':
      return EncodeDateTime(f, record, value);
    default:
      IncorrectType(f);
  }
}

void EncodeRaw(const FieldDescriptor& f, uint8_t* record, std::string_view text) {
  if (text.size() > f.width) text = text.substr(0, f.width);
  uint8_t* p = record + f.offset;
  const size_t pad = f.width - text.size();
  const bool left = f.type == 'C' || f.type == 'D' || f.type == 'L';
  if (left) {
    std::memcpy(p, text.data(), text.size());
    std::memset(p + text.size(), ' ', pad);
  } else {
    std::memset(p, ' ', pad);
    std::memcpy(p + pad, text.data(), text.size());
  }
}

void EncodeDate(const FieldDescriptor& f, uint8_t* record, const std::optional<CivilDate>& date) {
  EncodeRaw(f, record, date ? FormatYyyymmdd(*date) : std::string());
}

void EncodeLogical(const FieldDescriptor& f, uint8_t* record, bool value) {
  EncodeRaw(f, record, value ? "T" : "F");
}

void EncodeDateTime(const FieldDescriptor& f, uint8_t* record, DateTime value) {
  if (f.width < 8) return;
  uint8_t* p = record + f.offset;
  if (value == 0.0 || !std::isfinite(value)) {
    std::memset(p, 0, 8);
    return;
  }
  const double days = std::trunc(value);
  double ms = std::trunc((value - days) * 86400000.0);
  if (ms < 0) ms = -ms;  // the time of day of dates before 1899-12-30 is |fraction|
  const double julian = days + static_cast<double>(kJulianDayOfZeroDate);
  if (!(julian >= 0 && julian <= std::numeric_limits<int32_t>::max())) {
    TooBig(f, FormatFixed(value, 0));
  }
  StoreInt32(p, static_cast<int32_t>(julian));
  StoreInt32(p + 4, static_cast<int32_t>(ms));
}

void BlankRecord(const FieldDescriptor* fields, int count, uint8_t* record, uint32_t record_length,
                 uint8_t version) {
  std::memset(record, ' ', record_length);
  for (int i = 0; i < count; ++i) {
    const FieldDescriptor& f = fields[i];
    if (f.type == 'N' || f.type == 'F') {
      const std::string zero = FormatFixed(0.0, f.decimals);
      if (zero.size() <= f.width) {
        std::memcpy(record + f.offset + f.width - zero.size(), zero.data(), zero.size());
      }
    } else if (IsVfpBinary(f.type, version)) {
      std::memset(record + f.offset, 0, f.width);
    }
  }
}

}  // namespace codec
}  // namespace dbf
