#ifndef SALDEX_DBF_DATA_SOURCE_H_
#define SALDEX_DBF_DATA_SOURCE_H_

#include "dbf/data_set.h"

namespace dbf {

// What a window binds its grids and edit controls to: one table cursor of
// a data module. Controls observe the cursor through it (AddObserver) and
// read and write the current record through it, so that a window never
// names the table itself.
class DataSource {
 public:
  explicit DataSource(DbfDataSet& data_set) : data_set_(&data_set) {}

  DbfDataSet& data_set() const { return *data_set_; }

 private:
  DbfDataSet* data_set_;
};

}  // namespace dbf

#endif  // SALDEX_DBF_DATA_SOURCE_H_
