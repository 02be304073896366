// dbftool dump FILE [--json] [--deleted]: the records in natural order.

#include <cstdio>
#include <iostream>

#include "command.h"
#include "dbf/dbf_file.h"
#include "record_values.h"

namespace dbftool {
namespace {

int RunDump(const std::vector<std::string>& args) {
  std::string file;
  bool json = false, deleted = false;
  for (const std::string& a : args) {
    if (a == "--json") {
      json = true;
    } else if (a == "--deleted") {
      deleted = true;
    } else if (file.empty() && !a.starts_with("--")) {
      file = a;
    } else {
      return Usage("dump");
    }
  }
  if (file.empty()) return Usage("dump");
  dbf::DbfFile table;
  table.Open(file, true, false);
  table.EnableReadAhead(true);
  for (bool ok = table.GoTo(dbf::DbfFile::Move::kFirst); ok;
       ok = table.GoTo(dbf::DbfFile::Move::kNext)) {
    if (table.deleted() && !deleted) continue;
    if (json) {
      std::cout << RecordToJson(table).dump() << '\n';
    } else {
      std::cout << RecordLine(table) << '\n';
    }
  }
  return 0;
}

const CommandRegistration kDump({"dump", "dump FILE [--json] [--deleted]", RunDump});

}  // namespace
}  // namespace dbftool
