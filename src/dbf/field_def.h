#ifndef SALDEX_DBF_FIELD_DEF_H_
#define SALDEX_DBF_FIELD_DEF_H_

#include <cstdint>
#include <string>

#include "dbf/field_kind.h"

namespace dbf {

// One field definition of an open table: made per descriptor whose type has
// a kind (field_kind.h), in descriptor order.
struct FieldDef {
  std::string name;
  FieldKind kind = FieldKind::kString;
  uint32_t size = 0;  // string: the field width; 0 for other kinds
  int field_no = 0;   // 1-based descriptor number in the table
};

}  // namespace dbf

#endif  // SALDEX_DBF_FIELD_DEF_H_
