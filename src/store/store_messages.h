#ifndef SALDEX_STORE_STORE_MESSAGES_H_
#define SALDEX_STORE_STORE_MESSAGES_H_

#include <string>

namespace store {

struct RebuildTable;

// Texts for the operator about damaged or unwritable store files, code page
// 1250 like every text of the program (arguments too).

// A table file that ends with the remains of a cut record: its whole records
// are used, the cut one is not, and `dbftool mend` repairs the file.
std::string CutTableText(const std::string& table_path);

// Why the rebuild of one table failed. `opened`: the table's exclusive open
// had succeeded before `error` (the engine's text, naming the operating
// system's reason of a failed write) struck. The table's own exclusive-open
// message only when another program's open is what refused it; otherwise the
// file and the real reason.
std::string RebuildFailureText(const RebuildTable& rebuild, const std::string& data_file,
                               const std::string& index_file, bool opened,
                               const std::string& error);

}  // namespace store

#endif  // SALDEX_STORE_STORE_MESSAGES_H_
