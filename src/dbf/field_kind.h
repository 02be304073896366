#ifndef SALDEX_DBF_FIELD_KIND_H_
#define SALDEX_DBF_FIELD_KIND_H_

#include <optional>

#include "dbf/field_codec.h"

namespace dbf {

// The kind of a field object: how the cursor delivers the value of a table field.
enum class FieldKind {
  kString,
  kSmallInt,  // 16-bit
  kInteger,   // 32-bit
  kLargeInt,  // 64-bit
  kFloat,
  kCurrency,
  kDate,
  kDateTime,
  kBoolean,
  kMemo,
  kBlob,
};

// Field kind of N fields without decimals of width 10 or more.
enum class LargeIntegerAs { kAsInteger, kAsLargeInt, kAsFloat };

// The name the toolkit prints for a kind: "String", "SmallInt", "Integer",
// "LargeInt", "Float", "Currency", "Date", "DateTime", "Boolean", "Memo", "Blob".
const char* KindName(FieldKind kind);

// Families whose members may bind to each other: small integer and integer;
// float and currency; date and date-time; memo and blob; string, boolean and
// large integer each alone.
bool SameFamily(FieldKind a, FieldKind b);

bool IsIntegerKind(FieldKind kind);

//  DBF type                          kind
//  C                                 string
//  N, F with decimals > 0            float
//  N, F, no decimals, width 1..4     small integer
//  N, F, no decimals, width 5..9     integer
//  N, F, no decimals, width >= 10    by LargeIntegerAs
//  I                                 integer
//  D / L / T / Y                     date / boolean / date-time / currency
//  M                                 memo
//  B, G                              blob (B of version 0x30 tables holds a double: float)
// Any other letter, and a letter the table's version does not have: no field.
std::optional<FieldKind> KindOfField(const FieldDescriptor& field, uint8_t version,
                                     LargeIntegerAs large_integer_as);

}  // namespace dbf

#endif  // SALDEX_DBF_FIELD_KIND_H_
