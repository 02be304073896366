#ifndef SALDEX_TOOLS_DEMO_DATA_KORVANA_DIRECTORY_H_
#define SALDEX_TOOLS_DEMO_DATA_KORVANA_DIRECTORY_H_

#include <string>

#include "korvana_content.h"

namespace demo {

struct KorvanaDirectory {
  std::string data_dir;       // target + "data/": the store tables and their CDX files
  std::string export_dir;     // target + "saldex/": where the Saldex 2 tables belong
  std::string settings_file;  // target + "Korvana.ini"
};

// The paths of the demo layout under `target` (a directory ending with '/').
KorvanaDirectory KorvanaLayout(const std::string& target);

// Writes the Korvana data directory for StoreCode "0001" under `target`:
// every table, its CDX file built by the data module's index rebuild, and
// "Korvana.ini" pointing at the data and export directories. Existing files
// of the same names are replaced. Raises std::runtime_error when a table
// cannot be written or the rebuild reports anything.
KorvanaDirectory WriteKorvanaDirectory(const std::string& target, const KorvanaSize& size,
                                       const std::string& os_user);

// Writes "Korvana.ini" of the layout: StoreCode 0001, CestaData and
// CestaExport pointing at the layout's directories, the login dialog off.
void WriteKorvanaSettings(const KorvanaDirectory& layout);

// Writes the store tables only (no index files) into `data_dir`.
void WriteKorvanaTables(const std::string& data_dir, const KorvanaSize& size,
                        const std::string& os_user);
// Builds every CDX file of `data_dir` through TData::Index.
void BuildKorvanaIndexes(const std::string& data_dir);

}  // namespace demo

#endif  // SALDEX_TOOLS_DEMO_DATA_KORVANA_DIRECTORY_H_
