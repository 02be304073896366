// dbftool append TABLE.dbf FIELD=VALUE... [--protocol P]: appends one record
// through the cursor, under its locks, and prints its record number.

#include <cstdio>

#include "command.h"
#include "dbf/data_set.h"
#include "table_writer.h"

namespace dbftool {
namespace {

int RunAppend(const std::vector<std::string>& args) {
  const auto parsed = ParseWriteArgs(args, true, false);
  if (!parsed || !parsed->words.empty()) return Usage("append");
  dbf::DbfDataSet table;
  OpenTable(table, parsed->table, parsed->protocol, parsed->index);
  table.Append();
  PutValues(table, parsed->values);
  table.Post();
  std::printf("%u\n", table.RecNo());
  return 0;
}

const CommandRegistration kAppend(
    {"append",
     "append TABLE.dbf FIELD=VALUE... [--protocol default|db4|clip|fox] [--index INDEX.cdx]",
     RunAppend});

}  // namespace
}  // namespace dbftool
