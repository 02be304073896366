#ifndef SALDEX_ACCOUNTING_EXISTENCE_SEARCH_H_
#define SALDEX_ACCOUNTING_EXISTENCE_SEARCH_H_

#include <memory>
#include <string>
#include <string_view>

#include "dbf/data_set.h"

namespace accounting {

// The export's test "is this value in the table already": a case-sensitive
// partial-key Locate of one value on one field of a Saldex 2 table (no index
// open, record-number order). On a hit the table's cursor stands on the
// first matching record; on a miss it stays where it was.
class ExistenceSearch {
 public:
  virtual ~ExistenceSearch() = default;
  // `value` in the program's code page. Raises what the Locate raises when
  // it converts the value for the field ("Invalid %s value for field %s"),
  // also on a table that shows no record.
  virtual bool Locate(std::string_view value) = 0;
};

// How the export answers its existence tests.
enum class SearchMethod {
  kIndexed,     // PrefixIndex: the table is read once, appended records as they come
  kSequential,  // the cursor's Locate: a scan of the table for every question
};

// REQUIRES: `table` stays open while the search is used.
std::unique_ptr<ExistenceSearch> MakeExistenceSearch(SearchMethod method, dbf::DbfDataSet& table,
                                                     std::string field_name);

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_EXISTENCE_SEARCH_H_
