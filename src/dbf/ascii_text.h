#ifndef SALDEX_DBF_ASCII_TEXT_H_
#define SALDEX_DBF_ASCII_TEXT_H_

#include <string>
#include <string_view>

namespace dbf {

// Text helpers for names and keys that compare by their ASCII letters only
// (field, tag, table, alias and file names, settings keys). They never
// depend on the process locale; bytes from 0x80 up stay as they are.

// `c` with a..z raised to A..Z.
inline char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when `a` and `b` differ at most in the case of ASCII letters.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// `text` with a..z raised to A..Z; every other byte stays.
std::string AsciiUpperCase(std::string_view text);

// `text` without leading and trailing blanks and control characters (bytes
// up to ' '). The result views `text`: it lives as long as the text does.
std::string_view Trim(std::string_view text);

}  // namespace dbf

#endif  // SALDEX_DBF_ASCII_TEXT_H_
