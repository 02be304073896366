// dbftool set TABLE.dbf RECNO FIELD=VALUE... [--protocol P]: changes fields of
// one record through the cursor: Edit (record lock), the writes, Post.

#include "command.h"
#include "dbf/data_set.h"
#include "table_writer.h"

namespace dbftool {
namespace {

int RunSet(const std::vector<std::string>& args) {
  const auto parsed = ParseWriteArgs(args, true, false);
  if (!parsed || parsed->words.size() != 1) return Usage("set");
  const auto recno = ParseRecno(parsed->words[0]);
  if (!recno) return Usage("set");
  dbf::DbfDataSet table;
  OpenTable(table, parsed->table, parsed->protocol, parsed->index);
  table.SetRecNo(*recno);
  table.Edit();
  PutValues(table, parsed->values);
  table.Post();
  return 0;
}

const CommandRegistration kSet(
    {"set",
     "set TABLE.dbf RECNO FIELD=VALUE... [--protocol default|db4|clip|fox] [--index INDEX.cdx]",
     RunSet});

}  // namespace
}  // namespace dbftool
