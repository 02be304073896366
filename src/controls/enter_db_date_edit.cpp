#include "controls/enter_db_date_edit.h"

#include <cmath>

namespace controls {

TEnterDBDateEdit::TEnterDBDateEdit(QWidget* parent)
    : TEnterDateEdit(parent),
      DataFieldProperties([this] { dataChanged(); }, [this] { updateData(); }) {
  connect(this, &TEnterDateEdit::dateEdited, this, [this] { modified_ = true; });
  dataChanged();
}

TEnterDBDateEdit::~TEnterDBDateEdit() = default;

void TEnterDBDateEdit::dataChanged() {
  const dbf::Field* bound = link_.field();
  if (!bound || bound->IsNull()) {
    setDate(QDate());
  } else {
    setDateValue(bound->AsDateTime());
  }
  setReadOnly(!link_.editing());
  modified_ = false;
}

void TEnterDBDateEdit::storeDate() {
  dbf::Field* bound = link_.field();
  if (!bound || !link_.editing() || !modified_) return;
  // Set first: the write makes the field tell every view, this edit included.
  modified_ = false;
  if (date().isValid()) {
    bound->SetAsDateTime(dateValue());
  } else {
    bound->Clear();
  }
}

bool TEnterDBDateEdit::writeField(QString* error) {
  try {
    storeDate();
  } catch (const std::exception& failure) {
    modified_ = true;
    if (error) *error = QString::fromUtf8(failure.what());
    return false;
  }
  return true;
}

// Post writes a changed date, a typed one included; a failed write stops the
// Post with the engine's error.
void TEnterDBDateEdit::updateData() {
  if (hasFocus()) takeTypedText();
  storeDate();
}

}  // namespace controls
