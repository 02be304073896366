#ifndef SALDEX_STORE_REBUILD_CATALOGUE_H_
#define SALDEX_STORE_REBUILD_CATALOGUE_H_

#include <string>
#include <string_view>
#include <vector>

namespace store {

// A file name beside CestaData: [separator] stem [StoreCode] extension. The
// spellings differ between the existence test, the index file and the
// message of one table ("Den" / "den"), and so does the separator; the
// catalogue keeps each exactly.
struct StoreFileName {
  bool separator = true;  // a path separator between CestaData and the stem
  std::string stem;       // "Skl", or a whole name such as "Org0000"
  bool per_store = true;  // StoreCode follows the stem
  std::string extension;  // ".dbf" or ".cdx"

  std::string Compose(const std::string& data_dir, const std::string& store_code) const;
};

// One index tag the rebuild builds.
struct RebuildTag {
  std::string name;           // "DO1"
  std::string key;            // xBase key expression
  std::string for_condition;  // empty: every record
  bool unique = false;        // only the first record of each key value
  bool descending = false;
  std::string label;  // progress window text while the tag is built (code page 1250)
};

// One table of the rebuild, with its tags in build order.
struct RebuildTable {
  std::string component;
  StoreFileName data_file;   // whose existence is tested
  StoreFileName index_file;  // deleted and built again
  StoreFileName not_found_file;
  std::string exclusive_failure_message;  // code page 1250
  std::vector<RebuildTag> tags;

  // "Nenalezen soubor " + the file as the message names it.
  std::string NotFoundMessage(const std::string& data_dir, const std::string& store_code) const;
  const RebuildTag* FindTag(std::string_view name) const;
};

// The 55 tables in rebuild order.
const std::vector<RebuildTable>& RebuildCatalogue();
const RebuildTable* FindRebuildTable(std::string_view component);

}  // namespace store

#endif  // SALDEX_STORE_REBUILD_CATALOGUE_H_
