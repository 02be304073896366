#include "index/text_case.h"

#include "dbf/charset_tables.h"

namespace idx {
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

void BuildAnsiTable(char32_t (*map)(char32_t), uint8_t* table) {
  const auto& unicode = dbf::Cp1250ToUnicode();
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
}

}  // namespace

TextCase::TextCase() {
  BuildAnsiTable(UpperOf, upper_);
  BuildAnsiTable(LowerOf, lower_);
  const dbf::CharsetTables& cp = dbf::CharsetTables::Get();
  for (int b = 0; b < 256; ++b) {
    const uint8_t ansi = cp.ToAnsi(static_cast<uint8_t>(b));
    oem_upper_[b] = cp.ToOem(upper_[ansi]);
    oem_lower_[b] = cp.ToOem(lower_[ansi]);
  }
}

const TextCase& TextCase::Get() {
  static const TextCase instance;
  return instance;
}

void TextCase::ToUpper(const char* source, char* destination, size_t length, bool translate) const {
  const uint8_t* table = translate ? oem_upper_ : upper_;
  for (size_t i = 0; i < length; ++i) {
    destination[i] = static_cast<char>(table[static_cast<uint8_t>(source[i])]);
  }
}

void TextCase::ToLower(const char* source, char* destination, size_t length, bool translate) const {
  const uint8_t* table = translate ? oem_lower_ : lower_;
  for (size_t i = 0; i < length; ++i) {
    destination[i] = static_cast<char>(table[static_cast<uint8_t>(source[i])]);
  }
}

}  // namespace idx
