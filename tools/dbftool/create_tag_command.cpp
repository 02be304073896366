// dbftool create-tag TABLE.dbf INDEX.cdx NAME EXPR [--for EXPR] [--unique] [--descending]:
// builds (or rebuilds) one tag from every record of the table, opened exclusively, through the
// cursor's CreateTag. A progress bar goes to stderr when stderr is a terminal.

#include <unistd.h>

#include <cstdio>

#include "command.h"
#include "dbf/charset_tables.h"
#include "dbf/data_set.h"
#include "dbf/system_path.h"
#include "index/cursor_index_support.h"
#include "progress_bar.h"
#include "table_writer.h"

namespace dbftool {
namespace {

int RunCreateTag(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  std::string for_expression;
  bool unique = false, descending = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--for" && i + 1 < args.size()) {
      for_expression = args[++i];
    } else if (a == "--unique") {
      unique = true;
    } else if (a == "--descending") {
      descending = true;
    } else if (a.starts_with("--")) {
      return Usage("create-tag");
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 4) return Usage("create-tag");
  dbf::DbfDataSet table;
  idx::InstallIndexSupport(table);
  SetTablePath(table, positional[0]);
  table.set_exclusive(true);
  ProgressBar bar(isatty(STDERR_FILENO) == 1);
  table.set_on_status([&bar](int32_t a, int32_t b, int32_t c) { bar.Report(a, b, c); });
  table.Open();
  table.CreateTag(dbf::ProgramPath(positional[1]), positional[2], dbf::Utf8ToCp852(positional[3]),
                  dbf::Utf8ToCp852(for_expression), unique ? 0 : 1, descending ? 1 : 0);
  std::printf("tag %s built in %s\n", positional[2].c_str(), positional[1].c_str());
  return 0;
}

const CommandRegistration kCreateTag(
    {"create-tag",
     "create-tag TABLE.dbf INDEX.cdx NAME EXPR [--for EXPR] [--unique] [--descending]",
     RunCreateTag});

}  // namespace
}  // namespace dbftool
