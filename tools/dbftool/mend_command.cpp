// dbftool mend TABLE.dbf: mends a table left damaged by a writer that stopped part way. Cuts a
// partial last record (and ends the records with the end-of-file mark) and sets the header's
// record count to the whole records in the file, after copying the file to TABLE.dbf.bak.
// Prints what it did; exit 0 when the table is sound afterwards, 1 when it cannot be mended.

#include <cstdio>

#include "command.h"
#include "dbf/charset_tables.h"
#include "dbf/file_names.h"
#include "dbf/system_path.h"
#include "dbf/table_mend.h"

namespace dbftool {
namespace {

int RunMend(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].starts_with("--")) return Usage("mend");
  const std::string path = dbf::WithDefaultExtension(dbf::ProgramPath(args[0]), ".DBF");
  const dbf::TableMendReport report = dbf::MendTableFile(path);
  const std::string name = dbf::Cp1250ToUtf8(report.path);
  if (!report.changed()) {
    std::printf("%s: %u records, nothing to mend\n", name.c_str(), report.record_count);
    return 0;
  }
  std::printf("%s: copied to %s\n", name.c_str(), dbf::Cp1250ToUtf8(report.backup_path).c_str());
  if (report.partial_record_bytes > 0) {
    std::printf("%s: cut %llu bytes of a partial record after record %u\n", name.c_str(),
                static_cast<unsigned long long>(report.partial_record_bytes), report.record_count);
  }
  if (report.old_header_count != report.record_count) {
    std::printf("%s: header record count %u set to %u\n", name.c_str(), report.old_header_count,
                report.record_count);
  }
  return 0;
}

const CommandRegistration kMend({"mend", "mend TABLE.dbf", RunMend});

}  // namespace
}  // namespace dbftool
