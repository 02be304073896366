#ifndef SALDEX_DBF_FIELD_STRING_H_
#define SALDEX_DBF_FIELD_STRING_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "dbf/field_codec.h"

namespace dbf {

// The table layer's string form of field `f` of a record image: C without trailing spaces, N
// and F without leading and trailing spaces (blank: 0 with the decimals), L "T" or "F", D in
// the short date format (empty when not a date), the binary types of version 0x30 as numbers
// or date and time. `table` names the table in errors.
std::string FieldStringForm(const FieldDescriptor& f, const uint8_t* record, uint8_t version,
                            const std::string& table);

// The table layer's string put into field `f` of a record image: C left-justified; L true from
// "TtYyJj", false from "FfNn", else a number (non-zero true); D "yyyymmdd" or the short date
// format (empty: blank); every other type a number in the user's locale (empty: 0). Raises
// "Invalid %s value for field %s" ("Logical", "Number") and "Invalid date in field %s"
// (`table` + "->" + name + " (" + text + ")").
void PutFieldString(const FieldDescriptor& f, uint8_t* record, std::string_view text,
                    uint8_t version, const std::string& table);

}  // namespace dbf

#endif  // SALDEX_DBF_FIELD_STRING_H_
