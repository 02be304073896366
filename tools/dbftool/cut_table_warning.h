#ifndef SALDEX_TOOLS_DBFTOOL_CUT_TABLE_WARNING_H_
#define SALDEX_TOOLS_DBFTOOL_CUT_TABLE_WARNING_H_

#include "dbf/dbf_file.h"

namespace dbftool {

// Prints to stderr that the table ends with a partial record (its whole
// records still read) and how to mend it; nothing for a sound table.
void WarnAboutCutTable(dbf::DbfFile& table);

}  // namespace dbftool

#endif  // SALDEX_TOOLS_DBFTOOL_CUT_TABLE_WARNING_H_
