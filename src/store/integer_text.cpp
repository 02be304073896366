#include "store/integer_text.h"

#include <charconv>

namespace store {

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' is not a valid integer value") {}

std::optional<int32_t> ParseInteger(std::string_view text) {
  const bool plus = !text.empty() && text.front() == '+';
  if (plus) text.remove_prefix(1);
  if (text.empty() || (plus && text.front() == '-')) return std::nullopt;
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

int32_t StrToInt(std::string_view text) {
  const auto value = ParseInteger(text);
  if (!value) throw ConversionError(text);
  return *value;
}

}  // namespace store
