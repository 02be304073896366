#ifndef SALDEX_TOOLS_DBFTOOL_INDEX_SESSION_H_
#define SALDEX_TOOLS_DBFTOOL_INDEX_SESSION_H_

#include <memory>
#include <string>

#include "dbf/dbf_file.h"
#include "index/expression_key_source.h"
#include "index/index_set.h"

namespace idx {
class CdxIndex;
class CdxTag;
}  // namespace idx

namespace dbftool {

// A table opened shared with one compound index file attached, its tags' expressions compiled
// against the table, and the index set installed for key maintenance.
class IndexSession {
 public:
  IndexSession(const std::string& table_path, const std::string& index_path, bool read_write);
  ~IndexSession();

  dbf::DbfFile& table() { return table_; }
  idx::IndexSet& set() { return *set_; }
  idx::CdxIndex& index() { return *set_->files().front(); }
  // Raises "Cannot find index tag %s".
  idx::CdxTag& Tag(const std::string& name);

 private:
  dbf::DbfFile table_;
  std::unique_ptr<idx::ExpressionKeySourceFactory> factory_;
  std::unique_ptr<idx::IndexSet> set_;
};

// The index file named like the table: its path with the extension ".cdx".
std::string IndexPathOfTable(const std::string& table_path);

// A key as display text (UTF-8): C keys decoded from code page 852, N keys as numbers, D keys
// as YYYY-MM-DD.
std::string KeyText(const idx::CdxTag& tag, const std::string& key);

}  // namespace dbftool

#endif  // SALDEX_TOOLS_DBFTOOL_INDEX_SESSION_H_
