#ifndef SALDEX_ACCOUNTING_PREFIX_INDEX_H_
#define SALDEX_ACCOUNTING_PREFIX_INDEX_H_

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "dbf/data_set.h"
#include "dbf/dbf_file.h"

namespace accounting {

// The answer of a partial-key Locate on one field of a table read in record
// number order, without scanning the table for every question.
//
// A record matches `value` when the record's field string form (the table
// file layer's: character fields without trailing spaces, numbers without
// leading and trailing spaces) begins with the string form that `value`
// gets when put into a blank record (translated to OEM first when the table
// translates). Deleted records count only when the table shows them. The
// result is the lowest matching record number, as a sequential scan finds it.
//
// The index reads the table once through its own shared read-only handle and
// afterwards reads only records appended since the last question (by this
// program or another one), so later questions see them.
class PrefixIndex {
 public:
  // REQUIRES: `table` is open and outlives the index. Raises "There is no
  // field name %s" when the table has no such field.
  PrefixIndex(const dbf::DbfDataSet& table, const std::string& field_name);
  PrefixIndex(const PrefixIndex&) = delete;
  PrefixIndex& operator=(const PrefixIndex&) = delete;

  // `value` in the program's code page. Raises what putting it into the field
  // raises ("Invalid %s value for field %s" for a number field and a value
  // that is not a number).
  std::optional<uint32_t> FirstMatch(std::string_view value);

 private:
  void CatchUp();
  std::string KeyText(std::string_view value);

  const dbf::DbfDataSet& table_;
  dbf::DbfFile file_;
  int field_ = 0;
  uint32_t indexed_ = 0;  // records 1..indexed_ are in first_record_
  // Record text -> the lowest record number holding it.
  std::map<std::string, uint32_t, std::less<>> first_record_;
};

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_PREFIX_INDEX_H_
