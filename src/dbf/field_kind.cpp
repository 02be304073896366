#include "dbf/field_kind.h"

namespace dbf {

const char* KindName(FieldKind kind) {
  switch (kind) {
    case FieldKind::kString:
      return "String";
    case FieldKind::kSmallInt:
      return "SmallInt";
    case FieldKind::kInteger:
      return "Integer";
    case FieldKind::kLargeInt:
      return "LargeInt";
    case FieldKind::kFloat:
      return "Float";
    case FieldKind::kCurrency:
      return "Currency";
    case FieldKind::kDate:
      return "Date";
    case FieldKind::kDateTime:
      return "DateTime";
    case FieldKind::kBoolean:
      return "Boolean";
    case FieldKind::kMemo:
      return "Memo";
    case FieldKind::kBlob:
      return "Blob";
  }
  return "Unknown";
}

namespace {

int FamilyOf(FieldKind kind) {
  switch (kind) {
    case FieldKind::kSmallInt:
    case FieldKind::kInteger:
      return 1;
    case FieldKind::kFloat:
    case FieldKind::kCurrency:
      return 2;
    case FieldKind::kDate:
    case FieldKind::kDateTime:
      return 3;
    case FieldKind::kMemo:
    case FieldKind::kBlob:
      return 4;
    case FieldKind::kString:
      return 5;
    case FieldKind::kBoolean:
      return 6;
    case FieldKind::kLargeInt:
      return 7;
  }
  return 0;
}

}  // namespace

bool SameFamily(FieldKind a, FieldKind b) {
  return FamilyOf(a) == FamilyOf(b);
}

bool IsIntegerKind(FieldKind kind) {
  return kind == FieldKind::kSmallInt || kind == FieldKind::kInteger ||
         kind == FieldKind::kLargeInt;
}

std::optional<FieldKind> KindOfField(const FieldDescriptor& field, uint8_t version,
                                     LargeIntegerAs large_integer_as) {
  if (!IsKnownFieldType(field.type, version)) return std::nullopt;
  switch (field.type) {
    case 'C':
      return FieldKind::kString;
    case 'N':
    case 'F':
      if (field.decimals > 0) return FieldKind::kFloat;
      if (field.width <= 4) return FieldKind::kSmallInt;
      if (field.width <= 9) return FieldKind::kInteger;
      switch (large_integer_as) {
        case LargeIntegerAs::kAsInteger:
          return FieldKind::kInteger;
        case LargeIntegerAs::kAsLargeInt:
          return FieldKind::kLargeInt;
        case LargeIntegerAs::kAsFloat:
          return FieldKind::kFloat;
      }
      return FieldKind::kInteger;
    case 'I':
      return FieldKind::kInteger;
    case 'D':
      return FieldKind::kDate;
    case 'L':
      return FieldKind::kBoolean;
    case 'T':
      return FieldKind::kDateTime;
    case 'Y':
      return FieldKind::kCurrency;
    case 'M':
      return FieldKind::kMemo;
    case 'B':
      return version == 0x30 ? FieldKind::kFloat : FieldKind::kBlob;
    case 'G':
      return FieldKind::kBlob;
    default:
      return std::nullopt;
  }
}

}  // namespace dbf
