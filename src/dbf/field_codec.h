#ifndef SALDEX_DBF_FIELD_CODEC_H_
#define SALDEX_DBF_FIELD_CODEC_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dbf/dates.h"

namespace dbf {

// One field of a table as the 32-byte descriptor describes it:
//
//  Offset Size Meaning
//  0      11   name, ASCII, NUL-padded (at most 10 characters)
//  11     1    type letter
//  12     4    data address (not read; offsets are computed from the widths)
//  16     1    width
//  17     1    decimal count; for type C the high byte of the width
//  18     14   reserved
struct FieldDescriptor {
  std::string name;
  char type = 'C';
  uint32_t width = 0;     // C: width byte + 256 * decimal byte
  uint32_t decimals = 0;  // 0 for C
  uint32_t offset = 0;    // in the record; the deletion flag is at 0
  int number = 0;         // 1-based
};

// Whether a type letter is offered to the cursor in a table of `version`.
bool IsKnownFieldType(char type, uint8_t version);

// Decoding and encoding of field values inside a record image. `record`
// points at byte 0 (the deletion flag) of a record. Messages that name the
// table use `table` (the file name without extension, as in the path).
namespace codec {

std::string_view Raw(const FieldDescriptor& f, const uint8_t* record);
// Trailing spaces removed (leading kept).
std::string_view TrimmedText(const FieldDescriptor& f, const uint8_t* record);

// N / F: the text without trailing spaces parsed as a number ("." point,
// sign, exponent); blank is 0. Raises "Invalid numeric value in field %s".
double DecodeNumeric(const FieldDescriptor& f, const uint8_t* record, const std::string& table);
// Any numeric type (N, F; I, B, Y, T in version 0x30). T gives days since
// 1899-12-30 with the time as fraction. Raises "Field %s is the incorrect type".
double DecodeNumber(const FieldDescriptor& f, const uint8_t* record, const std::string& table,
                    uint8_t version);
// D: valid "yyyymmdd" date, else nullopt (blank, "00000000", no calendar date).
// A field of width 8 is parsed in place: trailing blanks would fail the
// digit test just as the trimmed text fails the length test.
inline std::optional<CivilDate> DecodeDate(const FieldDescriptor& f, const uint8_t* record) {
  if (f.width == 8) {
    return ParseYyyymmdd(std::string_view(reinterpret_cast<const char*>(record + f.offset), 8));
  }
  return ParseYyyymmdd(TrimmedText(f, record));
}
// L: true when the character occurs in "TtYyJj".
bool DecodeLogical(const FieldDescriptor& f, const uint8_t* record);
// T (version 0x30): days since 1899-12-30; nullopt when all 8 bytes are zero.
std::optional<DateTime> DecodeDateTime(const FieldDescriptor& f, const uint8_t* record);

// Fixed-point text of `value` with `decimals` decimals: the decimal expansion
// cut to 18 digits (17 decimal places below 10, 18 significant digits
// otherwise) rounded half away from zero; "-" kept on every negative value.
std::string FormatFixed(double value, uint32_t decimals);
// N / F: right-justified FormatFixed. Raises "numeric value too big in field
// %s" (field name, " - ", text) and leaves the field unchanged when too wide.
void EncodeNumeric(const FieldDescriptor& f, uint8_t* record, double value);
// Any numeric type (N, F; I, B, Y, T in version 0x30).
void EncodeNumber(const FieldDescriptor& f, uint8_t* record, double value, uint8_t version);
// C / D / L left-justified, every other type right-justified, cut to the width.
void EncodeRaw(const FieldDescriptor& f, uint8_t* record, std::string_view text);
void EncodeDate(const FieldDescriptor& f, uint8_t* record, const std::optional<CivilDate>& date);
void EncodeLogical(const FieldDescriptor& f, uint8_t* record, bool value);
// T: Julian day and milliseconds (both truncated); 0 writes 8 zero bytes.
void EncodeDateTime(const FieldDescriptor& f, uint8_t* record, DateTime value);

// A blank record: spaces, 0 in every N and F field, zero bytes in the binary
// fields (B, G, I, M, T, Y) of version 0x30 tables; deletion flag a space.
void BlankRecord(const FieldDescriptor* fields, int count, uint8_t* record, uint32_t record_length,
                 uint8_t version);

}  // namespace codec
}  // namespace dbf

#endif  // SALDEX_DBF_FIELD_CODEC_H_
