#include "store/sign_in_name.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "dbf/ansi_case.h"
#include "dbf/ascii_text.h"
#include "store/ansi_text.h"

namespace store {
namespace {

constexpr size_t kLoginNameLength = 10;

std::string TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

std::string OperatingSystemUserName() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry;
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_name != nullptr && found->pw_name[0] != '\0') {
    return Ansi(found->pw_name);
  }
  const char* user = std::getenv("USER");
  return user ? Ansi(user) : std::string();
}

std::string AutomaticSignInName(std::string_view os_name) {
  std::string name(os_name);
  if (TrimBlanks(name).size() > kLoginNameLength) name.resize(kLoginNameLength);
  return dbf::AnsiUpperCase(name);
}

std::string DialogSignInName(std::string_view typed) {
  return dbf::AsciiUpperCase(typed);
}

}  // namespace store
