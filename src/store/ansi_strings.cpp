#include "store/ansi_strings.h"

#include <array>
#include <cstdint>

namespace store {
namespace {

// Lower-case letters of code page 1250 outside a..z and 0xE0..0xFE, with
// their upper-case partners.
constexpr std::array<std::array<uint8_t, 2>, 9> kExtraPairs{{
    {0x9A, 0x8A},  // š Š
    {0x9C, 0x8C},  // ś Ś
    {0x9D, 0x8D},  // ť Ť
    {0x9E, 0x8E},  // ž Ž
    {0x9F, 0x8F},  // ź Ź
    {0xB3, 0xA3},  // ł Ł
    {0xB9, 0xA5},  // ą Ą
    {0xBE, 0xBC},  // ľ Ľ
    {0xBF, 0xAF},  // ż Ż
}};

constexpr uint8_t kDivisionSign = 0xF7;  // ÷, beside the letters, has no case

constexpr std::array<uint8_t, 256> BuildUpperTable() {
  std::array<uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<uint8_t>(c);
  for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<uint8_t>(c - 'a' + 'A');
  for (int c = 0xE0; c <= 0xFE; ++c) {
    if (c != kDivisionSign) table[c] = static_cast<uint8_t>(c - 0x20);
  }
  for (const auto& pair : kExtraPairs) table[pair[0]] = pair[1];
  return table;
}

constexpr std::array<uint8_t, 256> kUpper = BuildUpperTable();

bool IsBlankOrControl(char c) {
  return static_cast<uint8_t>(c) <= ' ';
}

}  // namespace

char AnsiUpper(char c) {
  return static_cast<char>(kUpper[static_cast<uint8_t>(c)]);
}

std::string AnsiUpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = AnsiUpper(c);
  return result;
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

std::string Trim(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace store
