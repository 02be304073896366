#include "dbf/system_path.h"

#include <algorithm>

#include "dbf/charset_tables.h"

namespace dbf {
namespace {

bool Ascii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string SystemPath(std::string_view path) {
  return Ascii(path) ? std::string(path) : Cp1250ToUtf8(path);
}

std::string ProgramPath(std::string_view system_path) {
  return Ascii(system_path) ? std::string(system_path) : Utf8ToCp1250(system_path);
}

}  // namespace dbf
