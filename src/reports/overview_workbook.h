#ifndef SALDEX_REPORTS_OVERVIEW_WORKBOOK_H_
#define SALDEX_REPORTS_OVERVIEW_WORKBOOK_H_

#include <string>

#include "dbf/dates.h"
#include "reports/mem_table.h"

namespace reports {

// Writes an .xlsx workbook at `path` (UTF-8 file name), replacing a file of
// that name, with one worksheet: row 1 the field names bold and centred, then
// one row per table row in table order; dates as date cells shown
// "dd.mm.yyyy", numbers as number cells, texts as text cells (code page 1250
// converted to UTF-8), no cell for a field without a value; every column
// as wide as its longest shown text. The table's cursor stays. Raises
// std::runtime_error with the writer's text on any failure.
void WriteWorkbook(MemTable& rows, const std::string& path);

// "Přehled faktur k dd.mm.yyyy.xlsx" (UTF-8) for `today` in `directory`
// (UTF-8; "/" added unless it ends with one). An empty directory means the
// user's documents folder: $XDG_DOCUMENTS_DIR, else XDG_DOCUMENTS_DIR of
// ~/.config/user-dirs.dirs, else ~/Documents.
std::string WorkbookPath(const std::string& directory, const dbf::CivilDate& today);

// The user's documents folder as described above, ending with "/".
std::string DocumentsDirectory();

}  // namespace reports

#endif  // SALDEX_REPORTS_OVERVIEW_WORKBOOK_H_
