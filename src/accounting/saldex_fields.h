#ifndef SALDEX_ACCOUNTING_SALDEX_FIELDS_H_
#define SALDEX_ACCOUNTING_SALDEX_FIELDS_H_

#include <string>
#include <vector>

#include "dbf/field_kind.h"

namespace accounting {

// One field a Saldex 2 table must hold. The file's field must be of the same
// family as `kind` (dbf::SameFamily); character widths are not tested at open.
struct SaldexField {
  std::string name;
  dbf::FieldKind kind;
  int width = 0;  // character fields: the width Saldex 2 gives them; else 0
};

// The declared fields of "KPOHLED.DBF", "ADRESAR.DBF" and "SYSTEMAK.DBF", in
// the order Saldex 2 lists them.
const std::vector<SaldexField>& ReceivableFields();
const std::vector<SaldexField>& AddressFields();
const std::vector<SaldexField>& CounterFields();

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_SALDEX_FIELDS_H_
