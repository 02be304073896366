#ifndef SALDEX_STORE_ANSI_STRINGS_H_
#define SALDEX_STORE_ANSI_STRINGS_H_

#include <string>
#include <string_view>

namespace store {

// Text helpers over code page 1250 bytes.

// Upper case by the rules of code page 1250: a..z and every lower-case
// letter with a diacritic ("žluťoučký" -> "ŽLUŤOUČKÝ"); ß, µ and ˙ stay.
char AnsiUpper(char c);
std::string AnsiUpperCase(std::string_view text);
// Upper case for the ASCII letters a..z only; every other byte stays.
std::string UpperCase(std::string_view text);
// Without leading and trailing blanks and control characters (bytes up to ' ').
std::string Trim(std::string_view text);

}  // namespace store

#endif  // SALDEX_STORE_ANSI_STRINGS_H_
