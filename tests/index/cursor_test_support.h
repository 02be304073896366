#ifndef SALDEX_TESTS_INDEX_CURSOR_TEST_SUPPORT_H_
#define SALDEX_TESTS_INDEX_CURSOR_TEST_SUPPORT_H_

// A cursor with index support over a table written for the test, and small helpers to read
// the order it walks.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dbf/data_set.h"
#include "dbf/errors.h"
#include "index/cursor_index_support.h"
#include "support/table_builder.h"

namespace testing_support {

inline std::unique_ptr<dbf::DbfDataSet> IndexedCursor(const TempDir& dir,
                                                      const std::string& table) {
  auto ds = std::make_unique<dbf::DbfDataSet>();
  idx::InstallIndexSupport(*ds);
  ds->SetDatabaseName(dir.path());
  ds->SetTableName(table);
  return ds;
}

// Record numbers from First to Eof in the current order.
inline std::vector<uint32_t> WalkForward(dbf::DbfDataSet& ds) {
  std::vector<uint32_t> out;
  for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.RecNo());
  return out;
}

// Values of one field from First to Eof in the current order.
inline std::vector<std::string> WalkField(dbf::DbfDataSet& ds, const std::string& field) {
  std::vector<std::string> out;
  for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.FieldByName(field).AsString());
  return out;
}

inline std::string ErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const dbf::EngineError& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace testing_support

#endif  // SALDEX_TESTS_INDEX_CURSOR_TEST_SUPPORT_H_
