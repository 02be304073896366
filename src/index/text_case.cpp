#include "index/text_case.h"

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

}  // namespace idx
