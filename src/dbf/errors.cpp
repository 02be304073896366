#include "dbf/errors.h"

#include <cstring>
#include <initializer_list>

namespace dbf {
namespace {

std::string Fill(const char* pattern, std::initializer_list<const std::string*> args) {
  std::string out;
  auto next = args.begin();
  for (const char* p = pattern; *p != '\0'; ++p) {
    if (p[0] == '%' && (p[1] == 's' || p[1] == 'd') && next != args.end()) {
      out += **next++;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

}  // namespace

std::string FormatMessage(const char* pattern, const std::string& a) {
  return Fill(pattern, {&a});
}

std::string FormatMessage(const char* pattern, const std::string& a, const std::string& b) {
  return Fill(pattern, {&a, &b});
}

std::string FormatMessage(const char* pattern, const std::string& a, const std::string& b,
                          const std::string& c) {
  return Fill(pattern, {&a, &b, &c});
}

std::string DbfError::WithOsReason(const std::string& message, int os_error) {
  if (os_error == 0) return message;
  return message + ": " + std::strerror(os_error);
}

}  // namespace dbf
