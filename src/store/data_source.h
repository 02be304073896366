#ifndef SALDEX_STORE_DATA_SOURCE_H_
#define SALDEX_STORE_DATA_SOURCE_H_

#include "dbf/data_set.h"

namespace store {

// What a window binds its grids and edit controls to: one table cursor of
// the data module. Controls observe the cursor through it (AddObserver) and
// read and write the current record through it, so that a window never
// names the table itself.
class DataSource {
 public:
  explicit DataSource(dbf::DbfDataSet& data_set) : data_set_(&data_set) {}

  dbf::DbfDataSet& data_set() const { return *data_set_; }

 private:
  dbf::DbfDataSet* data_set_;
};

}  // namespace store

#endif  // SALDEX_STORE_DATA_SOURCE_H_
