#include "index/expression/value.h"

namespace idx {

const char* ValueTypeName(int code) {
  static const char* const kNames[] = {"Unknown", "Empty",   "Any",    "Text",
                                       "Number",  "Integer", "Date",   "DateTime",
                                       "Boolean", "Memo",    "Pointer"};
  if (code < 0 || code > 10) return "Invalid Value";
  return kNames[code];
}

const char* ValueTypeName(ValueType type) {
  return ValueTypeName(static_cast<int>(type));
}

}  // namespace idx
