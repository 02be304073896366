#ifndef SALDEX_STORE_SIGN_IN_NAME_H_
#define SALDEX_STORE_SIGN_IN_NAME_H_

#include <string>
#include <string_view>

namespace store {

// Login name of the user running the program: the password database entry
// of the effective user id, else $USER, else empty. Code page 1250 (a name
// in UTF-8 is converted; characters 1250 lacks become '?').
std::string OperatingSystemUserName();

// The name the automatic sign-in looks up in USR_LNA: when `os_name` trimmed
// of blanks is longer than 10 characters, the first 10 characters of the
// untrimmed name; then upper case by the rules of code page 1250.
std::string AutomaticSignInName(std::string_view os_name);

// Login dialog entries compare in upper case for a..z only.
std::string DialogSignInName(std::string_view typed);

}  // namespace store

#endif  // SALDEX_STORE_SIGN_IN_NAME_H_
