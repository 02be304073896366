#include "store/cursor_index.h"

#include <map>
#include <memory>

#include "dbf/errors.h"
#include "dbf/field.h"
#include "index/cdx_add_tag.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/expression_key_source.h"
#include "index/index_set.h"
#include "store/ansi_strings.h"

namespace store {
namespace {

// The index files open on one table, until the cursor carries them itself.
struct AttachedIndexes {
  std::unique_ptr<idx::ExpressionKeySourceFactory> key_sources;
  std::unique_ptr<idx::IndexSet> set;
  std::string selected;
};

std::map<const dbf::DbfDataSet*, AttachedIndexes>& Registry() {
  static std::map<const dbf::DbfDataSet*, AttachedIndexes> registry;
  return registry;
}

AttachedIndexes* Find(const dbf::DbfDataSet& table) {
  auto it = Registry().find(&table);
  return it == Registry().end() ? nullptr : &it->second;
}

void CheckOpen(const dbf::DbfDataSet& table) {
  if (!table.active()) {
    throw dbf::DatasetError("Cannot perform this operation on a closed dataset");
  }
}

AttachedIndexes& Attached(dbf::DbfDataSet& table) {
  AttachedIndexes& entry = Registry()[&table];
  if (!entry.set) {
    entry.key_sources = std::make_unique<idx::ExpressionKeySourceFactory>(table.file());
    entry.set = std::make_unique<idx::IndexSet>(table.file(), entry.key_sources.get());
    entry.set->set_lock_protocol(table.lock_protocol());
    table.file().set_index_hooks(entry.set.get());
  }
  return entry;
}

void DetachAll(dbf::DbfDataSet& table) {
  auto it = Registry().find(&table);
  if (it == Registry().end()) return;
  table.file().set_index_hooks(nullptr);
  Registry().erase(it);
}

}  // namespace

int OpenIndexFile(dbf::DbfDataSet& table, const std::string& file_name) {
  CheckOpen(table);
  AttachedIndexes& entry = Attached(table);
  const int result = entry.set->Attach(file_name);
  if (entry.set->file_count() == 0) DetachAll(table);
  return result;
}

void CloseIndexFile(dbf::DbfDataSet& table, const std::string& file_name) {
  AttachedIndexes* entry = Find(table);
  if (entry == nullptr) return;
  entry->set->Detach(file_name);
  if (entry->set->current_tag() == nullptr) entry->selected.clear();
  if (entry->set->file_count() == 0) DetachAll(table);
}

void SelectTag(dbf::DbfDataSet& table, const std::string& tag_name) {
  CheckOpen(table);
  AttachedIndexes* entry = Find(table);
  if (Trim(tag_name).empty()) {
    if (entry != nullptr) {
      entry->set->SelectTag(nullptr);
      entry->selected.clear();
    }
    return;
  }
  if (entry == nullptr)
    throw dbf::DbfError(dbf::FormatMessage("Cannot find index tag %s", tag_name));
  entry->set->SelectTag(entry->set->FindTagByName(tag_name));
  entry->selected = tag_name;
}

std::string SelectedTagName(const dbf::DbfDataSet& table) {
  const AttachedIndexes* entry = Find(table);
  return entry ? entry->selected : std::string();
}

int TagCount(const dbf::DbfDataSet& table) {
  const AttachedIndexes* entry = Find(table);
  return entry ? entry->set->TagCount() : 0;
}

std::vector<std::string> OpenIndexFilePaths(const dbf::DbfDataSet& table) {
  std::vector<std::string> paths;
  if (const AttachedIndexes* entry = Find(table)) {
    for (idx::CdxIndex* file : entry->set->files()) paths.push_back(file->path());
  }
  return paths;
}

void CreateTag(dbf::DbfDataSet& table, const std::string& file_name, const std::string& tag_name,
               const std::string& key_expression, const std::string& for_expression, bool unique,
               bool descending) {
  CheckOpen(table);
  table.CheckBrowseMode();
  DetachAll(table);
  if (Trim(tag_name).empty()) {
    throw dbf::DbfError(dbf::FormatMessage("Cannot find index tag %s", tag_name));
  }
  idx::ExpressionKeySourceFactory key_sources(table.file());
  idx::CdxOpenOptions options;
  options.shared = !table.exclusive();
  options.may_create = true;
  options.table = &table.file();
  options.key_sources = &key_sources;
  table.set_building_index(true);
  try {
    auto index = idx::CdxIndex::Open(file_name, options);
    index->set_lock_protocol(table.lock_protocol());
    if (!index->LockWithRetry()) {
      throw dbf::DbfError(dbf::FormatMessage("Can not Lock file %s", index->path()));
    }
    const idx::TagDefinition definition{key_expression, for_expression, unique, descending};
    try {
      idx::AddTag(*index, tag_name, definition,
                  [&table](int32_t a, int32_t b, int32_t c) { table.ReportStatus(a, b, c); });
    } catch (...) {
      index->Unlock();
      throw;
    }
    index->Unlock();
  } catch (...) {
    table.set_building_index(false);
    table.First();
    throw;
  }
  table.set_building_index(false);
  table.First();
}

void CloseTable(dbf::DbfDataSet& table) {
  DetachAll(table);
  table.Close();
}

bool LocateText(dbf::DbfDataSet& table, const std::string& field_name, const std::string& value) {
  CheckOpen(table);
  table.CheckBrowseMode();
  dbf::Field& field = table.FieldByName(field_name);
  std::string wanted = value.substr(0, field.size() ? field.size() : value.size());
  while (!wanted.empty() && wanted.back() == ' ') wanted.pop_back();
  const uint32_t start = table.RecNo();
  for (table.First(); !table.Eof(); table.Next()) {
    if (field.AsString() == wanted) return true;
  }
  if (start != 0) table.SetRecNo(start);
  return false;
}

}  // namespace store
