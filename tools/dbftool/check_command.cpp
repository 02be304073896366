// dbftool check TABLE.dbf [INDEX.cdx]: verifies the table file (header, field descriptors and
// record area against each other) and a compound index file against itself and the table (the
// index file named like the table when none is given; without one only the table is checked).
// Prints every fault; exit 0 when everything is sound, 1 when anything is damaged.

#include <cstdio>

#include "command.h"
#include "dbf/charset_tables.h"
#include "dbf/dbf_checker.h"
#include "dbf/errors.h"
#include "dbf/file_names.h"
#include "dbf/system_path.h"
#include "index/cdx_checker.h"
#include "index/cdx_index.h"
#include "index_session.h"

namespace dbftool {
namespace {

void Print(const std::vector<std::string>& faults, const std::vector<std::string>& notes) {
  for (const std::string& fault : faults) std::printf("FAULT %s\n", fault.c_str());
  for (const std::string& note : notes) std::printf("note  %s\n", note.c_str());
}

// Returns whether the table file is sound.
bool CheckTable(const std::string& table_path) {
  const std::string path = dbf::WithDefaultExtension(dbf::ProgramPath(table_path), ".DBF");
  const dbf::TableCheckReport report = dbf::CheckTableFile(path);
  Print(report.faults, report.notes);
  std::printf("%s: %zu fault(s)\n", dbf::Cp1250ToUtf8(path).c_str(), report.faults.size());
  return report.clean();
}

// Returns whether the index file is sound.
bool CheckIndex(const std::string& table_path, const std::string& index_path) {
  std::unique_ptr<IndexSession> session;
  try {
    session = std::make_unique<IndexSession>(table_path, index_path, false);
  } catch (const dbf::DbfError& e) {
    std::printf("FAULT %s\n", dbf::Cp1250ToUtf8(e.what()).c_str());
    return false;
  }
  idx::IndexLockScope lock(session->set());
  const idx::CdxCheckReport report = idx::CheckCdx(session->index(), &session->table());
  Print(report.faults, report.notes);
  std::printf("%s: %zu fault(s)\n", dbf::Cp1250ToUtf8(session->index().path()).c_str(),
              report.faults.size());
  return report.clean();
}

int RunCheck(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2 || args[0].starts_with("--")) return Usage("check");
  bool sound = CheckTable(args[0]);
  const std::string index_path = args.size() == 2 ? args[1] : IndexPathOfTable(args[0]);
  if (args.size() == 2 || dbf::FileExistsIgnoringCase(dbf::ProgramPath(index_path))) {
    sound = CheckIndex(args[0], index_path) && sound;
  }
  return sound ? 0 : 1;
}

const CommandRegistration kCheck({"check", "check TABLE.dbf [INDEX.cdx]", RunCheck});

}  // namespace
}  // namespace dbftool
