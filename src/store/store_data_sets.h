#ifndef SALDEX_STORE_STORE_DATA_SETS_H_
#define SALDEX_STORE_STORE_DATA_SETS_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/data_set.h"
#include "store/store_tables.h"

namespace store {

// One cursor per table of the store catalogue, built with the common store
// settings (OEM translation on, shared, deleted records hidden, wide N fields
// as 32-bit integers, no automatic flush, user id 0, ClipLock except
// DobVolHla with Default), the table's declared fields with their labels, and
// the index layer's support for compound index files.
// The cursors live as long as this object; closing them is its destructor's
// business.
class StoreDataSets {
 public:
  StoreDataSets();
  ~StoreDataSets();
  StoreDataSets(const StoreDataSets&) = delete;
  StoreDataSets& operator=(const StoreDataSets&) = delete;

  // Directory `data_dir` and name prefix + `store_code` (or the fixed name)
  // for every table. Nothing is opened.
  void SetLocations(const std::string& data_dir, const std::string& store_code);

  // REQUIRES: `component` names a table of StoreTables().
  dbf::DbfDataSet& Get(std::string_view component);
  // nullptr for an unknown component.
  dbf::DbfDataSet* Find(std::string_view component);
  const StoreTable& Description(std::string_view component) const;

  // Every cursor with its catalogue entry, in declaration order.
  struct Entry {
    const StoreTable* table;
    std::unique_ptr<dbf::DbfDataSet> data_set;
  };
  std::vector<Entry>& entries() { return entries_; }

 private:
  std::vector<Entry> entries_;
};

// The cursor field kind of a declared field.
dbf::FieldKind FieldKindOf(DeclaredKind kind);

}  // namespace store

#endif  // SALDEX_STORE_STORE_DATA_SETS_H_
