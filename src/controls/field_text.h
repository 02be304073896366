#ifndef SALDEX_CONTROLS_FIELD_TEXT_H_
#define SALDEX_CONTROLS_FIELD_TEXT_H_

#include <QString>
#include <string_view>

#include "dbf/field.h"

namespace controls {

// The text a bound edit holds while it is edited: the field's value as text
// (numbers with the decimal separator, dates in the short date format).
QString FieldEditText(const dbf::Field& field);

// The text shown while the edit does not have the focus: the value in the
// display format ("#,##0.00", "dd.mm.yyyy", "Ano;Ne"), or the edit text when
// the format is empty or does not fit the field's kind.
QString FieldDisplayText(const dbf::Field& field, const QString& display_format);

// Formats a number with a display format of "#", "0", ",", "." (grouping
// with the thousand separator, the decimal separator).
QString FormatNumber(double value, const QString& display_format);

// Writes the text through the field object (its own conversion and checks,
// which raise the engine's errors).
void WriteFieldText(dbf::Field& field, const QString& text);

}  // namespace controls

#endif  // SALDEX_CONTROLS_FIELD_TEXT_H_
