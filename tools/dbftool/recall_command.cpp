// dbftool recall TABLE.dbf RECNO [--protocol P]: clears the deleted mark of one
// record through the cursor.

#include "command.h"
#include "dbf/data_set.h"
#include "table_writer.h"

namespace dbftool {
namespace {

int RunRecall(const std::vector<std::string>& args) {
  const auto parsed = ParseWriteArgs(args, false, false);
  if (!parsed || parsed->words.size() != 1) return Usage("recall");
  const auto recno = ParseRecno(parsed->words[0]);
  if (!recno) return Usage("recall");
  dbf::DbfDataSet table;
  table.set_use_deleted(true);
  OpenTable(table, parsed->table, parsed->protocol, parsed->index);
  table.SetRecNo(*recno);
  table.Recall();
  return 0;
}

const CommandRegistration kRecall(
    {"recall", "recall TABLE.dbf RECNO [--protocol default|db4|clip|fox] [--index INDEX.cdx]",
     RunRecall});

}  // namespace
}  // namespace dbftool
