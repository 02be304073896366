// dbftool check TABLE.dbf [INDEX.cdx]: verifies a compound index file against itself and the
// table (the index file named like the table when none is given). Prints every fault; exit 0
// when the file is sound, 1 when it is damaged.

#include <cstdio>

#include "command.h"
#include "dbf/charset_tables.h"
#include "dbf/errors.h"
#include "dbf/system_path.h"
#include "index/cdx_checker.h"
#include "index/cdx_index.h"
#include "index_session.h"

namespace dbftool {
namespace {

int RunCheck(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2 || args[0].starts_with("--")) return Usage("check");
  const std::string index_path = args.size() == 2 ? args[1] : IndexPathOfTable(args[0]);
  std::unique_ptr<IndexSession> session;
  try {
    session = std::make_unique<IndexSession>(args[0], index_path, false);
  } catch (const dbf::DbfError& e) {
    if (std::string(e.what()).find("is corrupted") == std::string::npos) throw;
    std::printf("FAULT %s\n", e.what());
    return 1;
  }
  idx::IndexLockScope lock(session->set());
  const idx::CdxCheckReport report = idx::CheckCdx(session->index(), &session->table());
  for (const std::string& fault : report.faults) std::printf("FAULT %s\n", fault.c_str());
  for (const std::string& note : report.notes) std::printf("note  %s\n", note.c_str());
  std::printf("%s: %zu fault(s)\n", dbf::Cp1250ToUtf8(session->index().path()).c_str(),
              report.faults.size());
  return report.clean() ? 0 : 1;
}

const CommandRegistration kCheck({"check", "check TABLE.dbf [INDEX.cdx]", RunCheck});

}  // namespace
}  // namespace dbftool
