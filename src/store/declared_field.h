#ifndef SALDEX_STORE_DECLARED_FIELD_H_
#define SALDEX_STORE_DECLARED_FIELD_H_

#include <cstdint>
#include <string>

namespace store {

// How a declared field delivers its value. Mirrors the cursor's field kinds
// that store tables use: C is a string, N with decimals a float, N without
// decimals a 16- or 32-bit integer, D a date, L a boolean.
enum class DeclaredKind { kString, kSmallInt, kInteger, kFloat, kDate, kBoolean };

// One field a store table declares. The table file must hold a field of this
// name whose kind is the declared one; further fields of the file are ignored.
struct DeclaredField {
  std::string name;  // DBF field name, e.g. "HLA_DO1"
  DeclaredKind kind = DeclaredKind::kString;
  uint32_t size = 0;           // string width; 0 for the other kinds
  std::string label;           // display label (code page 1250), may be empty
  std::string display_format;  // "dd.mm.yyyy", "#,##0.00", "Ano;Ne" or empty
};

}  // namespace store

#endif  // SALDEX_STORE_DECLARED_FIELD_H_
