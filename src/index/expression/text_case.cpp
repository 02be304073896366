#include "index/expression/text_case.h"

#include "dbf/ansi_case.h"
#include "dbf/charset_tables.h"

namespace idx {

TextCase::TextCase() {
  const dbf::AnsiCase& ansi_case = dbf::AnsiCase::Get();
  for (int b = 0; b < 256; ++b) {
    upper_[b] = ansi_case.Upper(static_cast<uint8_t>(b));
    lower_[b] = ansi_case.Lower(static_cast<uint8_t>(b));
  }
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

uint8_t PlainLetter(uint8_t ansi_upper) {
  if (ansi_upper >= 'A' && ansi_upper <= 'Z') return ansi_upper;
  switch (ansi_upper) {
    case 0xC1:
    case 0xC4:
    case 0xC2:
    case 0xC3:
    case 0xA5:
      return 'A';
    case 0xC8:
    case 0xC6:
    case 0xC7:
      return 'C';
    case 0xCF:
    case 0xD0:
      return 'D';
    case 0xC9:
    case 0xCC:
    case 0xCB:
    case 0xCA:
      return 'E';
    case 0xCD:
    case 0xCE:
      return 'I';
    case 0xC5:
    case 0xBC:
    case 0xA3:
      return 'L';
    case 0xD2:
    case 0xD1:
      return 'N';
    case 0xD3:
    case 0xD4:
    case 0xD6:
    case 0xD5:
      return 'O';
    case 0xD8:
    case 0xC0:
      return 'R';
    case 0x8A:
    case 0x8C:
    case 0xAA:
    case 0xDF:
      return 'S';
    case 0x8D:
    case 0xDE:
      return 'T';
    case 0xDA:
    case 0xD9:
    case 0xDC:
    case 0xDB:
      return 'U';
    case 0xDD:
      return 'Y';
    case 0x8E:
    case 0x8F:
    case 0xAF:
      return 'Z';
    default:
      return 0;
  }
}

}  // namespace idx
