#include "index/key_encoding.h"

#include <bit>
#include <cassert>
#include <charconv>
#include <stdexcept>

#include "dbf/dates.h"
#include "dbf/format_settings.h"

namespace idx {
namespace {

constexpr size_t kNumberKeyLength = 8;
constexpr uint64_t kSignBit = uint64_t{1} << 63;

std::string DateText(int32_t julian_day) {
  const dbf::CivilDate date = dbf::CivilFromDays(julian_day - dbf::kJulianDayOfZeroDate);
  return dbf::FormatShortDate(date, true);
}

double NumberOf(const KeyValue& value) {
  switch (value.kind()) {
    case KeyKind::kFloat:
      return value.AsFloat();
    case KeyKind::kInteger:
      return value.AsInteger();
    case KeyKind::kLogical:
      return value.AsLogical() ? 1.0 : 0.0;
    default:
      throw std::invalid_argument("text keys of N and D tags must be converted first");
  }
}

// "1.5E+20" -> "1.5E20", "1E-05" -> "1E-5".
std::string TidyExponent(std::string text) {
  const size_t e = text.find('E');
  if (e == std::string::npos) return text;
  std::string mantissa = text.substr(0, e);
  std::string exponent = text.substr(e + 1);
  std::string sign;
  if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
    if (exponent[0] == '-') sign = "-";
    exponent.erase(0, 1);
  }
  const size_t first_digit = exponent.find_first_not_of('0');
  exponent = first_digit == std::string::npos ? "0" : exponent.substr(first_digit);
  return mantissa + "E" + sign + exponent;
}

}  // namespace

std::string EncodeNumberKey(double value, bool trim) {
  uint64_t bits = std::bit_cast<uint64_t>(value);
  bits = (bits & kSignBit) ? ~bits : (bits | kSignBit);
  std::string key(kNumberKeyLength, '\0');
  for (size_t i = 0; i < kNumberKeyLength; ++i) {
    key[i] = static_cast<char>(bits >> (56 - 8 * i));
  }
  if (trim) key.resize(TrimKey(key, KeyType::kNumber).size());
  return key;
}

double DecodeNumberKey(std::string_view key) {
  assert(key.size() <= kNumberKeyLength);
  uint64_t bits = 0;
  for (size_t i = 0; i < kNumberKeyLength; ++i) {
    const uint8_t byte = i < key.size() ? static_cast<uint8_t>(key[i]) : 0;
    bits = bits << 8 | byte;
  }
  bits = (bits & kSignBit) ? (bits & ~kSignBit) : ~bits;
  return std::bit_cast<double>(bits);
}

std::string_view TrimKey(std::string_view key, KeyType type) {
  const char pad = static_cast<char>(PadByte(type));
  while (!key.empty() && key.back() == pad) key.remove_suffix(1);
  return key;
}

std::string PadKey(std::string_view key, KeyType type, uint16_t key_length) {
  assert(key.size() <= key_length);
  std::string padded(key);
  padded.resize(key_length, static_cast<char>(PadByte(type)));
  return padded;
}

std::string EncodeKey(KeyType type, uint16_t key_length, const KeyValue& value, bool trim) {
  std::string key;
  if (type == KeyType::kCharacter) {
    switch (value.kind()) {
      case KeyKind::kLogical:
        key.assign(1, value.AsLogical() ? 'T' : 'F');
        break;
      case KeyKind::kFloat:
        key = ShortestDecimalText(value.AsFloat());
        break;
      case KeyKind::kInteger:
        key = DateText(value.AsInteger());
        break;
      default:
        key = value.bytes();
    }
    if (key.size() > key_length) key.resize(key_length);
  } else if (value.kind() == KeyKind::kRaw) {
    key = value.bytes().substr(0, kNumberKeyLength);
  } else {
    key = EncodeNumberKey(NumberOf(value), false);
  }
  if (trim) key.resize(TrimKey(key, type).size());
  return key;
}

std::string ShortestDecimalText(double value) {
  // The fewest significant digits (at most 15) that read back as the value, written as a
  // 15-digit general form would show them. std::to_chars never uses the locale.
  char buffer[40];
  double rounded = value;
  for (int precision = 1; precision <= 15; ++precision) {
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision)
            .ptr;
    std::from_chars(buffer, end, rounded);
    if (rounded == value) break;
  }
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::general, 15).ptr;
  std::string text(buffer, end);
  for (char& c : text) {
    if (c == 'e') c = 'E';
  }
  return TidyExponent(text);
}

}  // namespace idx
