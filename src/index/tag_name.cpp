#include "index/tag_name.h"

namespace idx {

std::string UpperTagName(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  std::string upper(name);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool EqualTagNames(std::string_view a, std::string_view b) {
  return UpperTagName(a) == UpperTagName(b);
}

}  // namespace idx
