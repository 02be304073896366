#ifndef SALDEX_ACCOUNTING_SEQUENTIAL_LOCATE_H_
#define SALDEX_ACCOUNTING_SEQUENTIAL_LOCATE_H_

#include <string>
#include <string_view>

#include "dbf/data_set.h"

namespace accounting {

// Case-sensitive partial-key Locate of one value on one field of a table
// without index: scans from the first record in record-number order.
bool LocatePartial(dbf::DbfDataSet& table, const std::string& field_name, std::string_view value);

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_SEQUENTIAL_LOCATE_H_
