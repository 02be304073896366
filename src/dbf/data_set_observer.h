#ifndef SALDEX_DBF_DATA_SET_OBSERVER_H_
#define SALDEX_DBF_DATA_SET_OBSERVER_H_

namespace dbf {

class DbfDataSet;
class Field;

// A view attached to a cursor (grid, edit control, item model). The cursor
// calls these on the user-interface thread; a view must not close or detach
// from the cursor inside a call. Every method has an empty default.
class DataSetObserver {
 public:
  virtual ~DataSetObserver() = default;

  // The cursor opened or closed.
  virtual void ActiveChanged(DbfDataSet& /*data_set*/) {}
  // The state changed between browse, edit and insert.
  virtual void StateChanged(DbfDataSet& /*data_set*/) {}
  // Before and after the current record moves to another record.
  virtual void BeforeScroll(DbfDataSet& /*data_set*/) {}
  virtual void AfterScroll(DbfDataSet& /*data_set*/) {}
  // The rows shown may all be different (open, a jump, delete, post, a
  // setting that changes which records are shown).
  virtual void DataSetChanged(DbfDataSet& /*data_set*/) {}
  // The contents of the current record changed (re-read at Edit, blank new
  // record, Cancel).
  virtual void RecordChanged(DbfDataSet& /*data_set*/) {}
  // One field of the current record was written.
  virtual void FieldChanged(DbfDataSet& /*data_set*/, const Field& /*field*/) {}
  // Post is about to write: edit controls put their pending text into fields.
  virtual void UpdateData(DbfDataSet& /*data_set*/) {}
};

}  // namespace dbf

#endif  // SALDEX_DBF_DATA_SET_OBSERVER_H_
