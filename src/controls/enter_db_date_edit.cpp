#include "controls/enter_db_date_edit.h"

#include <QKeyEvent>
#include <cmath>

#include "controls/qt_text.h"
#include "dbf/clock.h"

namespace controls {
namespace {

// The date shown for an empty field, as a blank edit.
const QDate kBlankDate(100, 1, 1);

}  // namespace

TEnterDBDateEdit::TEnterDBDateEdit(QWidget* parent)
    : TEnterDateEdit(parent),
      DataFieldProperties([this] { dataChanged(); }, [this] { updateData(); }) {
  setMinimumDate(kBlankDate);
  setSpecialValueText(QStringLiteral(" "));
  connect(this, &QDateEdit::dateChanged, this, [this] {
    if (!showing_) modified_ = true;
  });
  dataChanged();
}

TEnterDBDateEdit::~TEnterDBDateEdit() = default;

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

void TEnterDBDateEdit::keyPressEvent(QKeyEvent* event) {
  // A blank edit has no sections to type into: the first digit starts from
  // today's date with its first section selected, so that typing replaces it.
  if (date() == kBlankDate && !isReadOnly() && event->text().size() == 1 &&
      event->text()[0].isDigit()) {
    const dbf::LocalTime now = dbf::Now();
    setDate(QDate(now.year, now.month, now.day));
    setSelectedSection(sectionAt(0));
  }
  TEnterDateEdit::keyPressEvent(event);
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
