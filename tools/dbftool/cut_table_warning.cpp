#include "cut_table_warning.h"

#include <cstdio>
#include <string>

#include "dbf/charset_tables.h"

namespace dbftool {

void WarnAboutCutTable(dbf::DbfFile& table) {
  if (!table.HasPartialRecord()) return;
  const std::string path = dbf::Cp1250ToUtf8(table.path());
  std::fprintf(stderr,
               "warning: %s ends with a partial record after record %u "
               "(dbftool mend %s cuts it)\n",
               path.c_str(), table.record_count(), path.c_str());
}

}  // namespace dbftool
