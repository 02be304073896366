// dbftool locate TABLE.dbf FIELDS VALUE... [--partial] [--nocase]: the cursor's Locate over
// the fields (separated by ";") with one value (UTF-8) per field; prints the record found or
// "not found". Exit 0 when found, 1 when not.

#include <iostream>

#include "command.h"
#include "dbf/charset_tables.h"
#include "dbf/data_set.h"
#include "record_values.h"
#include "table_writer.h"

namespace dbftool {
namespace {

int RunLocate(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  dbf::LocateOptions options;
  for (const std::string& a : args) {
    if (a == "--partial") {
      options.partial_key = true;
    } else if (a == "--nocase") {
      options.case_insensitive = true;
    } else if (a.starts_with("--")) {
      return Usage("locate");
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() < 3) return Usage("locate");
  dbf::DbfDataSet table;
  SetTablePath(table, positional[0]);
  table.set_read_only(true);
  table.Open();
  std::vector<dbf::SearchValue> values;
  for (size_t i = 2; i < positional.size(); ++i)
    values.emplace_back(dbf::Utf8ToCp1250(positional[i]));
  if (!table.Locate(positional[1], values, options)) {
    std::cout << "not found\n";
    return 1;
  }
  table.file().GoTo(table.RecNo());
  std::cout << RecordLine(table.file()) << '\n';
  return 0;
}

const CommandRegistration kLocate({"locate",
                                   "locate TABLE.dbf FIELDS VALUE... [--partial] [--nocase]",
                                   RunLocate});

}  // namespace
}  // namespace dbftool
