#include "dbf/ansi_case.h"

#include "dbf/charset_tables.h"

namespace dbf {
namespace {

// Simple case mapping of the Latin letters that code page 1250 can hold.
char32_t UpperOf(char32_t u) {
  if (u >= 'a' && u <= 'z') return u - 0x20;
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return u - 0x20;
  if (u == 0xFF) return 0x178;
  if ((u >= 0x100 && u <= 0x12F) || (u >= 0x132 && u <= 0x137) || (u >= 0x14A && u <= 0x177)) {
    return u & ~char32_t{1};
  }
  if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E)) return (u & 1) ? u : u - 1;
  return u;
}

char32_t LowerOf(char32_t u) {
  if (u >= 'A' && u <= 'Z') return u + 0x20;
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return u + 0x20;
  if (u == 0x178) return 0xFF;
  if ((u >= 0x100 && u <= 0x12F) || (u >= 0x132 && u <= 0x137) || (u >= 0x14A && u <= 0x177)) {
    return u | 1;
  }
  if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E)) return (u & 1) ? u + 1 : u;
  return u;
}

std::array<uint8_t, 256> BuildAnsiTable(char32_t (*map)(char32_t)) {
  std::array<uint8_t, 256> table;
  const auto& unicode = Cp1250ToUnicode();
  for (int b = 0; b < 256; ++b) {
    table[b] = static_cast<uint8_t>(b);
    const char32_t u = b < 0x80 ? char32_t(b) : unicode[b];
    if (u == 0) continue;
    const char32_t mapped = map(u);
    if (mapped == u) continue;
    for (int t = 0; t < 256; ++t) {
      const char32_t candidate = t < 0x80 ? char32_t(t) : unicode[t];
      if (candidate == mapped) {
        table[b] = static_cast<uint8_t>(t);
        break;
      }
    }
  }
  return table;
}

}  // namespace

AnsiCase::AnsiCase() : upper_(BuildAnsiTable(UpperOf)), lower_(BuildAnsiTable(LowerOf)) {}

const AnsiCase& AnsiCase::Get() {
  static const AnsiCase instance;
  return instance;
}

std::string AnsiCase::ToUpper(std::string_view text) const {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(upper_[static_cast<uint8_t>(c)]);
  return out;
}

}  // namespace dbf
