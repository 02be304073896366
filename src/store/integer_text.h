#ifndef SALDEX_STORE_INTEGER_TEXT_H_
#define SALDEX_STORE_INTEGER_TEXT_H_

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace store {

// A text that should have held a whole number; the message names the text:
// "'abc' is not a valid integer value".
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(std::string_view text);
};

// A whole decimal number with an optional sign that fits 32 bits; nothing
// else (no blanks, no fraction, no hexadecimal).
std::optional<int32_t> ParseInteger(std::string_view text);
// As ParseInteger; throws ConversionError for anything else.
int32_t StrToInt(std::string_view text);

}  // namespace store

#endif  // SALDEX_STORE_INTEGER_TEXT_H_
