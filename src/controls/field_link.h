#ifndef SALDEX_CONTROLS_FIELD_LINK_H_
#define SALDEX_CONTROLS_FIELD_LINK_H_

#include <QString>
#include <functional>
#include <string>

#include "dbf/data_set.h"
#include "dbf/data_set_observer.h"
#include "dbf/data_source.h"

namespace controls {

// Connects a control to one field of a cursor through the cursor's observer
// interface. The control is told when the value it shows may have changed
// (open, close, moves, a new or re-read record, a write of its field, a state
// change) and when Post is about to write its pending text. The cursor must
// outlive the link or the link must be unbound first.
class FieldLink : public dbf::DataSetObserver {
 public:
  FieldLink(std::function<void()> data_changed, std::function<void()> update_data);
  ~FieldLink() override;
  FieldLink(const FieldLink&) = delete;
  FieldLink& operator=(const FieldLink&) = delete;

  // Either may be empty; the control shows nothing until both are set.
  void SetDataSource(dbf::DataSource* source);
  void SetFieldName(std::string name);
  dbf::DataSource* data_source() const { return source_; }
  const std::string& field_name() const { return field_name_; }

  dbf::DbfDataSet* data_set() const { return source_ ? &source_->data_set() : nullptr; }
  // The bound field of the open cursor; nullptr otherwise.
  dbf::Field* field() const;
  // The cursor is in edit or insert state.
  bool editing() const;

  void ActiveChanged(dbf::DbfDataSet&) override { data_changed_(); }
  void StateChanged(dbf::DbfDataSet&) override { data_changed_(); }
  void AfterScroll(dbf::DbfDataSet&) override { data_changed_(); }
  void DataSetChanged(dbf::DbfDataSet&) override { data_changed_(); }
  void RecordChanged(dbf::DbfDataSet&) override { data_changed_(); }
  void FieldChanged(dbf::DbfDataSet&, const dbf::Field& field) override;
  void UpdateData(dbf::DbfDataSet&) override { update_data_(); }

 private:
  void Attach(dbf::DataSource* source);

  std::function<void()> data_changed_;
  std::function<void()> update_data_;
  dbf::DataSource* source_ = nullptr;
  dbf::DbfDataSet* observed_ = nullptr;
  std::string field_name_;
};

// DataSource and DataField of a bound control, for it to inherit beside its
// Qt widget; the control is told through the two functions.
class DataFieldProperties {
 public:
  dbf::DataSource* dataSource() const { return link_.data_source(); }
  void setDataSource(dbf::DataSource* source) { link_.SetDataSource(source); }
  QString dataField() const;
  void setDataField(const QString& name);
  void bind(dbf::DataSource& source, const QString& field_name);
  // The bound field of the open cursor, or nullptr.
  dbf::Field* field() const { return link_.field(); }

 protected:
  DataFieldProperties(std::function<void()> data_changed, std::function<void()> update_data)
      : link_(std::move(data_changed), std::move(update_data)) {}

  FieldLink link_;
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_FIELD_LINK_H_
