#include "accounting/sequential_locate.h"

#include "dbf/dbf_file.h"

namespace accounting {

// Stand-in for the cursor's Locate until the search layer offers it: the
// scan of a table without index, record by record.
bool LocatePartial(dbf::DbfDataSet& table, const std::string& field_name, std::string_view value) {
  table.CheckBrowseMode();
  dbf::DbfFile scan;
  scan.Open(table.file().path(), true, false);
  const int field = scan.RequireField(field_name);
  scan.BlankRecord();
  scan.PutString(field, table.Translate(value, true));
  const std::string key = scan.GetString(field);
  scan.EnableReadAhead(true);
  for (uint32_t recno = 1; scan.GoTo(recno); ++recno) {
    if (scan.deleted() && !table.use_deleted()) continue;
    if (scan.GetString(field).compare(0, key.size(), key) == 0 &&
        scan.GetString(field).size() >= key.size()) {
      table.SetRecNo(recno);
      return true;
    }
  }
  return false;
}

}  // namespace accounting
