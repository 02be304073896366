#ifndef SALDEX_TESTS_DBF_DATA_SET_TEST_SUPPORT_H_
#define SALDEX_TESTS_DBF_DATA_SET_TEST_SUPPORT_H_

// Shared pieces of the cursor tests: a table in a fresh directory and a
// cursor opened on it.

#include <memory>
#include <string>
#include <vector>

#include "dbf/data_set.h"
#include "dbf/data_set_observer.h"
#include "support/table_builder.h"

namespace data_set_testing {

using testing_support::FieldSpec;
using testing_support::TableBuilder;
using testing_support::TempDir;

// A cursor on `name` in `dir`, not yet open.
inline std::unique_ptr<dbf::DbfDataSet> CursorOn(const TempDir& dir, const std::string& name) {
  auto ds = std::make_unique<dbf::DbfDataSet>();
  ds->SetDatabaseName(dir.path());
  ds->SetTableName(name);
  return ds;
}

// Records every notification as one word, for checking what views learn.
class RecordingObserver : public dbf::DataSetObserver {
 public:
  void ActiveChanged(dbf::DbfDataSet&) override { events.push_back("active"); }
  void StateChanged(dbf::DbfDataSet&) override { events.push_back("state"); }
  void BeforeScroll(dbf::DbfDataSet&) override { events.push_back("before-scroll"); }
  void AfterScroll(dbf::DbfDataSet&) override { events.push_back("after-scroll"); }
  void DataSetChanged(dbf::DbfDataSet&) override { events.push_back("data-set"); }
  void RecordChanged(dbf::DbfDataSet&) override { events.push_back("record"); }
  void FieldChanged(dbf::DbfDataSet&, const dbf::Field& f) override {
    events.push_back("field:" + f.name());
  }
  void UpdateData(dbf::DbfDataSet&) override { events.push_back("update-data"); }
  bool Saw(const std::string& event) const {
    for (const std::string& e : events) {
      if (e == event) return true;
    }
    return false;
  }
  std::vector<std::string> events;
};

}  // namespace data_set_testing

#endif  // SALDEX_TESTS_DBF_DATA_SET_TEST_SUPPORT_H_
