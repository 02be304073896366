// dbftool seek TABLE.dbf INDEX.cdx TAG KEY [--exact] [--near]: seeks KEY (UTF-8) in the tag
// and prints the record it lands on. Exit 0 when found, 1 when not.

#include <iostream>

#include "command.h"
#include "dbf/charset_tables.h"
#include "index/cdx_tag.h"
#include "index_session.h"
#include "record_values.h"

namespace dbftool {
namespace {

int RunSeek(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  bool exact = false, near = false;
  for (const std::string& a : args) {
    if (a == "--exact") {
      exact = true;
    } else if (a == "--near") {
      near = true;
    } else if (a.starts_with("--")) {
      return Usage("seek");
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 4) return Usage("seek");
  IndexSession session(positional[0], positional[1], false);
  idx::CdxTag& tag = session.Tag(positional[2]);
  dbf::DbfFile& table = session.table();
  idx::IndexLockScope lock(session.set());
  const auto visible = [&](uint32_t recno) { return table.GoTo(recno) && !table.deleted(); };
  const idx::CdxTag::SeekResult result =
      tag.SeekText(dbf::Utf8ToCp852(positional[3]), exact, near, visible);
  if (result.record == 0) {
    std::cout << "not found\n";
    return 1;
  }
  table.GoTo(result.record);
  std::cout << (result.found ? "found: " : "near: ") << RecordLine(table) << '\n';
  return result.found ? 0 : 1;
}

const CommandRegistration kSeek({"seek", "seek TABLE.dbf INDEX.cdx TAG KEY [--exact] [--near]",
                                 RunSeek});

}  // namespace
}  // namespace dbftool
