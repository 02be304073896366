#include "store/store_data_sets.h"

#include <cassert>

#include "index/cursor_index_support.h"

namespace store {

dbf::FieldKind FieldKindOf(DeclaredKind kind) {
  switch (kind) {
    case DeclaredKind::kString:
      return dbf::FieldKind::kString;
    case DeclaredKind::kSmallInt:
      return dbf::FieldKind::kSmallInt;
    case DeclaredKind::kInteger:
      return dbf::FieldKind::kInteger;
    case DeclaredKind::kFloat:
      return dbf::FieldKind::kFloat;
    case DeclaredKind::kDate:
      return dbf::FieldKind::kDate;
    case DeclaredKind::kBoolean:
      return dbf::FieldKind::kBoolean;
  }
  return dbf::FieldKind::kString;
}

StoreDataSets::StoreDataSets() {
  const StoreDataSetSettings common;
  for (const StoreTable& table : StoreTables()) {
    auto data_set = std::make_unique<dbf::DbfDataSet>();
    idx::InstallIndexSupport(*data_set);
    data_set->set_translate_ascii(common.translate_ascii);
    data_set->set_exclusive(common.exclusive);
    data_set->set_use_deleted(common.use_deleted);
    data_set->set_large_integer_as(common.large_integer_as_integer ? dbf::LargeIntegerAs::kAsInteger
                                                                   : dbf::LargeIntegerAs::kAsFloat);
    data_set->SetAutoFlush(common.auto_flush);
    data_set->SetUserId(static_cast<uint32_t>(common.user_id));
    data_set->SetLockProtocol(table.lock_protocol);
    for (const DeclaredField& declared : table.Fields()) {
      dbf::Field& field = data_set->DeclareField(declared.name, FieldKindOf(declared.kind));
      field.set_display_label(declared.label);
    }
    entries_.push_back(Entry{&table, std::move(data_set)});
  }
}

StoreDataSets::~StoreDataSets() {
  for (Entry& entry : entries_) {
    try {
      entry.data_set->Close();
    } catch (...) {
      // A table that cannot be closed cleanly is released by the file layer.
    }
  }
}

void StoreDataSets::SetLocations(const std::string& data_dir, const std::string& store_code) {
  for (Entry& entry : entries_) {
    entry.data_set->SetDatabaseName(data_dir);
    entry.data_set->SetTableName(entry.table->TableName(store_code));
  }
}

dbf::DbfDataSet* StoreDataSets::Find(std::string_view component) {
  for (Entry& entry : entries_) {
    if (entry.table->component == component) return entry.data_set.get();
  }
  return nullptr;
}

dbf::DbfDataSet& StoreDataSets::Get(std::string_view component) {
  dbf::DbfDataSet* data_set = Find(component);
  assert(data_set != nullptr);
  return *data_set;
}

const StoreTable& StoreDataSets::Description(std::string_view component) const {
  const StoreTable* table = FindStoreTable(component);
  assert(table != nullptr);
  return *table;
}

}  // namespace store
