// dbftool delete TABLE.dbf RECNO [--protocol P]: sets the deleted mark of one
// record through the cursor.

#include "command.h"
#include "dbf/data_set.h"
#include "table_writer.h"

namespace dbftool {
namespace {

int RunDelete(const std::vector<std::string>& args) {
  const auto parsed = ParseWriteArgs(args, false, false);
  if (!parsed || parsed->words.size() != 1) return Usage("delete");
  const auto recno = ParseRecno(parsed->words[0]);
  if (!recno) return Usage("delete");
  dbf::DbfDataSet table;
  OpenTable(table, parsed->table, parsed->protocol, parsed->index);
  table.SetRecNo(*recno);
  table.Delete();
  return 0;
}

const CommandRegistration kDelete(
    {"delete", "delete TABLE.dbf RECNO [--protocol default|db4|clip|fox] [--index INDEX.cdx]",
     RunDelete});

}  // namespace
}  // namespace dbftool
