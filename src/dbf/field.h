#ifndef SALDEX_DBF_FIELD_H_
#define SALDEX_DBF_FIELD_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "dbf/dates.h"
#include "dbf/field_codec.h"
#include "dbf/field_kind.h"

namespace dbf {

class DbfDataSet;

// A field object of a cursor: a named value of a fixed kind, decoded from the
// raw bytes of the cursor's current row on every read and encoded into them on
// every write (writes only in the edit and insert states).
//
// Reads (the kind decides, the DBF type letter decides the decoding):
//   string        trailing spaces removed, OEM -> ANSI with TranslateASCII;
//                 empty is null
//   integer kinds the number rounded to the nearest integer; never null
//   float, currency the number; never null
//   date          a valid "yyyymmdd" date, anything else null
//   date-time     null when the stored value is zero
//   boolean       true for one of "TtYyJj"; never null
//   memo, blob    the block number; null when it is zero
// A conversion a kind does not offer raises "Cannot access field '%s' as
// type %s"; a number outside the range of the asked type raises "%s is not a
// valid value for field '%s'. The allowed range is %s to %s".
//
// Writes: strings are cut to the field size, then translated ANSI -> OEM;
// numbers are encoded with the field's decimals ("numeric value too big in
// field %s" when too wide); dates as "yyyymmdd"; booleans "T" / "F". Clear()
// stores null: spaces for strings, dates and booleans, 0 for numbers. Text
// written into a number field: integer kinds take a whole decimal number with
// an optional sign, float kinds a number in the user's locale; empty text is
// null; anything else raises "'%s' is not a valid integer value for field
// '%s'" / "'%s' is not a valid floating point value for field '%s'".
class Field {
 public:
  Field(std::string name, FieldKind kind) : name_(std::move(name)), kind_(kind) {}
  Field(const Field&) = delete;
  Field& operator=(const Field&) = delete;

  const std::string& name() const { return name_; }
  FieldKind kind() const { return kind_; }
  // String fields: the field width; 0 for other kinds or while unbound.
  uint32_t size() const;
  // 1-based descriptor number in the open table; 0 while unbound.
  int field_no() const { return descriptor_ ? descriptor_->number : 0; }
  bool bound() const { return descriptor_ != nullptr; }
  DbfDataSet* data_set() const { return data_set_; }

  const std::string& display_label() const { return display_label_; }
  void set_display_label(std::string label) { display_label_ = std::move(label); }
  // The display label, or the name when there is none.
  const std::string& display_name() const {
    return display_label_.empty() ? name_ : display_label_;
  }
  bool read_only() const { return read_only_; }
  void set_read_only(bool read_only) { read_only_ = read_only; }

  bool IsNull() const;
  std::string AsString() const;
  int32_t AsInteger() const;
  int64_t AsLargeInt() const;
  double AsFloat() const;
  DateTime AsDateTime() const;
  bool AsBoolean() const;

  void SetAsString(std::string_view value);
  void SetAsInteger(int32_t value);
  void SetAsLargeInt(int64_t value);
  void SetAsFloat(double value);
  void SetAsDateTime(DateTime value);
  void SetAsBoolean(bool value);
  void Clear();

 private:
  friend class DbfDataSet;
  void Bind(DbfDataSet* data_set, const FieldDescriptor* descriptor, uint8_t version);
  void Unbind();

  const uint8_t* Record() const;
  bool IsNumberStorage() const;
  bool IsDateStorage() const { return descriptor_->type == 'D' || descriptor_->type == 'T'; }
  bool IsBlockStorage() const;
  double Number() const;
  int64_t WholeNumber() const;
  std::optional<DateTime> Moment() const;
  int64_t BlockNumber() const;
  std::string Text() const;
  [[noreturn]] void AccessError(FieldKind asked) const;
  [[noreturn]] void RangeError(double value, double low, double high) const;

  // Each write goes through Write(): checks, encode, bookkeeping.
  template <typename Encode>
  void Write(Encode&& encode);
  void StoreText(std::string_view value);
  void StoreWhole(int64_t value);
  void StoreInteger(int64_t value, FieldKind asked);
  void StoreNumber(double value);
  void StoreMoment(std::optional<DateTime> value);
  void StoreLogical(std::optional<bool> value);

  std::string name_;
  FieldKind kind_;
  std::string display_label_;
  bool read_only_ = false;
  DbfDataSet* data_set_ = nullptr;
  const FieldDescriptor* descriptor_ = nullptr;
  uint8_t version_ = 0;
  uint8_t* write_record_ = nullptr;  // valid only inside Write()
};

}  // namespace dbf

#endif  // SALDEX_DBF_FIELD_H_
