// dbftool dump FILE [--json] [--deleted] [--index INDEX.cdx --tag NAME [--range LOW HIGH]]:
// the records in natural order, or in the tag's order within the range with each key shown.

#include <cstdio>
#include <iostream>

#include "command.h"
#include "cut_table_warning.h"
#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "dbf/system_path.h"
#include "index/cdx_tag.h"
#include "index_session.h"
#include "record_values.h"

namespace dbftool {
namespace {

struct TagDump {
  std::string index, tag, low, high;
  bool range = false;
};

void PrintRecord(const dbf::DbfFile& table, bool json, const std::string* key) {
  if (json) {
    nlohmann::ordered_json record = RecordToJson(table);
    if (key != nullptr) record["_key"] = *key;
    std::cout << record.dump() << '\n';
  } else {
    std::cout << (key != nullptr ? *key + " | " : std::string()) << RecordLine(table) << '\n';
  }
}

int DumpInTagOrder(const std::string& file, const TagDump& order, bool json, bool deleted) {
  IndexSession session(file, order.index, false);
  idx::CdxTag& tag = session.Tag(order.tag);
  dbf::DbfFile& table = session.table();
  idx::IndexLockScope lock(session.set());
  if (order.range) tag.SetTagRange(dbf::Utf8ToCp852(order.low), dbf::Utf8ToCp852(order.high));
  for (uint32_t recno = tag.First(); recno != 0; recno = tag.Next()) {
    if (!table.GoTo(recno) || (table.deleted() && !deleted)) continue;
    const std::string key = KeyText(tag, tag.current_key());
    PrintRecord(table, json, &key);
  }
  return 0;
}

int RunDump(const std::vector<std::string>& args) {
  std::string file;
  bool json = false, deleted = false;
  TagDump order;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json") {
      json = true;
    } else if (a == "--deleted") {
      deleted = true;
    } else if (a == "--index" && i + 1 < args.size()) {
      order.index = args[++i];
    } else if (a == "--tag" && i + 1 < args.size()) {
      order.tag = args[++i];
    } else if (a == "--range" && i + 2 < args.size()) {
      order.range = true;
      order.low = args[++i];
      order.high = args[++i];
    } else if (file.empty() && !a.starts_with("--")) {
      file = a;
    } else {
      return Usage("dump");
    }
  }
  if (file.empty() || order.index.empty() != order.tag.empty()) return Usage("dump");
  if (!order.index.empty()) return DumpInTagOrder(file, order, json, deleted);
  if (order.range) return Usage("dump");
  dbf::DbfFile table;
  table.Open(dbf::ProgramPath(file), true, false);
  WarnAboutCutTable(table);
  table.EnableReadAhead(true);
  for (bool ok = table.GoTo(dbf::DbfFile::Move::kFirst); ok;
       ok = table.GoTo(dbf::DbfFile::Move::kNext)) {
    if (table.deleted() && !deleted) continue;
    PrintRecord(table, json, nullptr);
  }
  return 0;
}

const CommandRegistration kDump(
    {"dump", "dump FILE [--json] [--deleted] [--index INDEX.cdx --tag NAME [--range LOW HIGH]]",
     RunDump});

}  // namespace
}  // namespace dbftool
