#ifndef SALDEX_STORE_ANSI_TEXT_H_
#define SALDEX_STORE_ANSI_TEXT_H_

#include <string>
#include <string_view>

#include "dbf/charset_tables.h"

namespace store {

// Source files hold Czech texts in UTF-8; the program works in code page 1250.
inline std::string Ansi(std::string_view utf8) {
  return dbf::Utf8ToCp1250(utf8);
}

}  // namespace store

#endif  // SALDEX_STORE_ANSI_TEXT_H_
