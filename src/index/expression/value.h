#ifndef SALDEX_INDEX_EXPRESSION_VALUE_H_
#define SALDEX_INDEX_EXPRESSION_VALUE_H_

#include <cstdint>
#include <string_view>

namespace idx {

// Type code every expression node reports after evaluation. The names appear
// in error messages.
enum class ValueType : uint8_t {
  kUnknown = 0,  // not evaluated / no expression
  kEmpty = 1,    // missing argument or null value
  kAny = 2,      // argument checks only: any type accepted
  kText = 3,
  kNumber = 4,
  kInteger = 5,
  kDate = 6,  // Julian day number in `number`
  kDateTime = 7,
  kBoolean = 8,
  kMemo = 9,  // text of a field of any other type
  kPointer = 10,
};

// "Unknown", "Empty", ..., "Invalid Value" above 10.
const char* ValueTypeName(ValueType type);
const char* ValueTypeName(int code);

// Number, Integer, Date and DateTime match each other wherever two types must match.
constexpr bool IsNumericFamily(ValueType t) {
  return t >= ValueType::kNumber && t <= ValueType::kDateTime;
}
constexpr bool IsTextLike(ValueType t) {
  return t == ValueType::kText || t == ValueType::kMemo;
}
constexpr bool TypesMatch(ValueType a, ValueType b) {
  return a == b || (IsNumericFamily(a) && IsNumericFamily(b));
}

// The empty date that CTOD returns for an empty text.
constexpr double kEmptyDate = 1e100;

// One evaluated value. `text` points into the record image or into a buffer
// owned by the node that produced it; it stays valid until that node is
// evaluated again.
struct Value {
  ValueType type = ValueType::kUnknown;
  double number = 0;
  bool logical = false;
  std::string_view text;

  void SetText(std::string_view t, ValueType kind = ValueType::kText) {
    type = kind;
    text = t;
  }
  void SetNumber(double n, ValueType kind = ValueType::kNumber) {
    type = kind;
    number = n;
  }
  void SetLogical(bool b) {
    type = ValueType::kBoolean;
    logical = b;
  }
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_VALUE_H_
