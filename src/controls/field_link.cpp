#include "controls/field_link.h"

#include "controls/qt_text.h"

namespace controls {

FieldLink::FieldLink(std::function<void()> data_changed, std::function<void()> update_data)
    : data_changed_(std::move(data_changed)), update_data_(std::move(update_data)) {}

FieldLink::~FieldLink() {
  if (observed_) observed_->RemoveObserver(this);
}

void FieldLink::SetDataSource(dbf::DataSource* source) {
  if (observed_) observed_->RemoveObserver(this);
  source_ = source;
  observed_ = source ? &source->data_set() : nullptr;
  if (observed_) observed_->AddObserver(this);
  data_changed_();
}

void FieldLink::SetFieldName(std::string name) {
  field_name_ = std::move(name);
  data_changed_();
}

dbf::Field* FieldLink::field() const {
  if (!observed_ || !observed_->active() || field_name_.empty()) return nullptr;
  return observed_->FindField(field_name_);
}

bool FieldLink::editing() const {
  return observed_ && (observed_->state() == dbf::DataSetState::kEdit ||
                       observed_->state() == dbf::DataSetState::kInsert);
}

void FieldLink::FieldChanged(dbf::DbfDataSet&, const dbf::Field& changed) {
  if (&changed == field()) data_changed_();
}

QString DataFieldProperties::dataField() const {
  return FromAnsi(link_.field_name());
}

void DataFieldProperties::setDataField(const QString& name) {
  link_.SetFieldName(ToAnsi(name));
}

void DataFieldProperties::bind(dbf::DataSource& source, const QString& field_name) {
  link_.SetFieldName(ToAnsi(field_name));
  link_.SetDataSource(&source);
}

}  // namespace controls
