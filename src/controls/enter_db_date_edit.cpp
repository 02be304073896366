#include "controls/enter_db_date_edit.h"

#include <cmath>

#include "controls/qt_text.h"

namespace controls {
namespace {

// The date shown for an empty field, as a blank edit.
const QDate kBlankDate(100, 1, 1);

}  // namespace

TEnterDBDateEdit::TEnterDBDateEdit(QWidget* parent)
    : TEnterDateEdit(parent), link_([this] { dataChanged(); }, [this] { updateData(); }) {
  setMinimumDate(kBlankDate);
  setSpecialValueText(QStringLiteral(" "));
  connect(this, &QDateEdit::dateChanged, this, [this] {
    if (!showing_) modified_ = true;
  });
  dataChanged();
}

TEnterDBDateEdit::~TEnterDBDateEdit() = default;

QString TEnterDBDateEdit::dataField() const {
  return FromAnsi(link_.field_name());
}

void TEnterDBDateEdit::setDataField(const QString& name) {
  link_.SetFieldName(ToAnsi(name));
}

void TEnterDBDateEdit::bind(store::DataSource& source, const QString& field_name) {
  link_.SetFieldName(ToAnsi(field_name));
  link_.SetDataSource(&source);
}

void TEnterDBDateEdit::dataChanged() {
  showing_ = true;
  const dbf::Field* bound = link_.field();
  if (!bound || bound->IsNull()) {
    setDate(kBlankDate);
  } else {
    setDateValue(bound->AsDateTime());
  }
  setReadOnly(!link_.editing());
  modified_ = false;
  showing_ = false;
}

void TEnterDBDateEdit::storeDate() {
  dbf::Field* bound = link_.field();
  if (!bound || !link_.editing() || !modified_) return;
  if (date() == kBlankDate) {
    bound->Clear();
  } else {
    bound->SetAsDateTime(dateValue());
  }
  modified_ = false;
}

bool TEnterDBDateEdit::writeField(QString* error) {
  try {
    storeDate();
  } catch (const std::exception& failure) {
    if (error) *error = QString::fromUtf8(failure.what());
    return false;
  }
  return true;
}

// Post writes a changed date; a failed write stops the Post with the engine's error.
void TEnterDBDateEdit::updateData() {
  storeDate();
}

}  // namespace controls
