#ifndef SALDEX_INDEX_TAG_NAME_H_
#define SALDEX_INDEX_TAG_NAME_H_

#include <string>
#include <string_view>

namespace idx {

// Tag and file names compare without regard to ASCII case, trailing blanks ignored.
std::string UpperTagName(std::string_view name);
bool EqualTagNames(std::string_view a, std::string_view b);

}  // namespace idx

#endif  // SALDEX_INDEX_TAG_NAME_H_
