#include "dbf/field.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "dbf/charset_tables.h"
#include "dbf/data_set.h"
#include "dbf/errors.h"
#include "dbf/field_text.h"
#include "dbf/format_settings.h"

namespace dbf {
namespace {

constexpr double kLowestDay = -693593.0;   // 0001-01-01
constexpr double kHighestDay = 2958465.0;  // 9999-12-31
constexpr double kInt64Limit = 9223372036854775807.0;

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string NumberText(double value) {
  char buffer[40];
  const int length = std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

[[noreturn]] void InvalidValue(const char* pattern, std::string_view text, const Field& field) {
  throw DatasetError(FormatMessage(pattern, std::string(text), field.display_name()));
}

}  // namespace

void Field::Bind(DbfDataSet* data_set, const FieldDescriptor* descriptor, uint8_t version) {
  data_set_ = data_set;
  descriptor_ = descriptor;
  version_ = version;
}

void Field::Unbind() {
  descriptor_ = nullptr;
}

uint32_t Field::size() const {
  return descriptor_ && kind_ == FieldKind::kString ? descriptor_->width : 0;
}

const uint8_t* Field::Record() const {
  const uint8_t* record = descriptor_ ? data_set_->active_record() : nullptr;
  if (record == nullptr) {
    throw DatasetError("Cannot perform this operation on a closed dataset");
  }
  return record;
}

bool Field::IsNumberStorage() const {
  switch (descriptor_->type) {
    case 'N':
    case 'F':
    case 'I':
    case 'Y':
      return true;
    case 'B':
      return version_ == 0x30;
    default:
      return false;
  }
}

bool Field::IsBlockStorage() const {
  return descriptor_->type == 'M' || descriptor_->type == 'G' ||
         (descriptor_->type == 'B' && version_ != 0x30);
}

double Field::Number() const {
  return codec::DecodeNumber(*descriptor_, Record(), data_set_->file().table_name(), version_);
}

int64_t Field::WholeNumber() const {
  const uint8_t* record = Record();
  const FieldDescriptor& f = *descriptor_;
  if ((f.type == 'N' || f.type == 'F') && f.decimals == 0) {
    // Whole numbers are read exactly, also beyond the 53 bits of a double.
    std::string_view text = codec::TrimmedText(f, record);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (text.empty()) return 0;
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const char* begin = text.front() == '+' ? text.data() + 1 : text.data();
    const auto [next, ec] = std::from_chars(begin, end, value);
    if (ec == std::errc() && next == end) return value;
  }
  const double value = Number();
  if (!(std::fabs(value) < kInt64Limit)) RangeError(value, -kInt64Limit, kInt64Limit);
  return std::llround(value);
}

std::optional<DateTime> Field::Moment() const {
  const uint8_t* record = Record();
  if (descriptor_->type == 'T') return codec::DecodeDateTime(*descriptor_, record);
  const std::optional<CivilDate> date = codec::DecodeDate(*descriptor_, record);
  if (!date) return std::nullopt;
  return static_cast<double>(DaysFromCivil(*date));
}

int64_t Field::BlockNumber() const {
  const uint8_t* record = Record();
  const FieldDescriptor& f = *descriptor_;
  if (version_ == 0x30 && f.type != 'B') {
    const uint8_t* p = record + f.offset;
    if (f.width < 4 || std::memcmp(p, "    ", 4) == 0) return 0;
    return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
  }
  std::string_view text = codec::TrimmedText(f, record);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::string Field::Text() const {
  const std::string_view raw = codec::TrimmedText(*descriptor_, Record());
  std::string text(raw);
  CharsetTables::Get().Translate(text.data(), text.data(), text.size(), false,
                                 data_set_->translate_ascii());
  return text;
}

void Field::AccessError(FieldKind asked) const {
  throw DatasetError(
      FormatMessage("Cannot access field '%s' as type %s", display_name(), KindName(asked)));
}

void Field::RangeError(double value, double low, double high) const {
  throw DatasetError(FormatMessage("%s is not a valid value for field '%s'. The allowed range is ",
                                   NumberText(value), display_name()) +
                     NumberText(low) + " to " + NumberText(high));
}

// --- reads

bool Field::IsNull() const {
  Record();
  if (descriptor_->type == 'C') return codec::TrimmedText(*descriptor_, Record()).empty();
  if (IsDateStorage()) return !Moment().has_value();
  if (IsBlockStorage()) return BlockNumber() == 0;
  return false;
}

std::string Field::AsString() const {
  Record();
  switch (kind_) {
    case FieldKind::kString:
      return Text();
    case FieldKind::kSmallInt:
    case FieldKind::kInteger:
    case FieldKind::kLargeInt:
      return std::to_string(WholeNumber());
    case FieldKind::kFloat:
    case FieldKind::kCurrency:
      return FormatFloatText(Number());
    case FieldKind::kDate:
    case FieldKind::kDateTime: {
      const std::optional<DateTime> value = Moment();
      return value ? FormatDateTimeText(*value, kind_ == FieldKind::kDateTime) : std::string();
    }
    case FieldKind::kBoolean:
      return AsBoolean() ? "True" : "False";
    case FieldKind::kMemo:
    case FieldKind::kBlob: {
      const int64_t block = BlockNumber();
      return block == 0 ? std::string() : std::to_string(block);
    }
  }
  return std::string();
}

int64_t Field::AsLargeInt() const {
  Record();
  switch (kind_) {
    case FieldKind::kSmallInt:
    case FieldKind::kInteger:
    case FieldKind::kLargeInt:
      return WholeNumber();
    case FieldKind::kFloat:
    case FieldKind::kCurrency: {
      const double value = Number();
      if (!(std::fabs(value) < kInt64Limit)) RangeError(value, -kInt64Limit, kInt64Limit);
      return std::llround(value);
    }
    case FieldKind::kString: {
      const std::string text = Text();
      if (text.empty()) return 0;
      const std::optional<int64_t> value = ParseWholeNumber(text);
      if (!value) InvalidValue("'%s' is not a valid integer value for field '%s'", text, *this);
      return *value;
    }
    default:
      AccessError(FieldKind::kLargeInt);
  }
}

int32_t Field::AsInteger() const {
  if (kind_ != FieldKind::kString && !IsIntegerKind(kind_) && kind_ != FieldKind::kFloat &&
      kind_ != FieldKind::kCurrency) {
    Record();
    AccessError(FieldKind::kInteger);
  }
  const int64_t value = AsLargeInt();
  constexpr int64_t kLow = std::numeric_limits<int32_t>::min();
  constexpr int64_t kHigh = std::numeric_limits<int32_t>::max();
  if (value < kLow || value > kHigh) {
    RangeError(static_cast<double>(value), static_cast<double>(kLow), static_cast<double>(kHigh));
  }
  return static_cast<int32_t>(value);
}

double Field::AsFloat() const {
  Record();
  switch (kind_) {
    case FieldKind::kSmallInt:
    case FieldKind::kInteger:
    case FieldKind::kLargeInt:
      return static_cast<double>(WholeNumber());
    case FieldKind::kFloat:
    case FieldKind::kCurrency:
      return Number();
    case FieldKind::kDate:
    case FieldKind::kDateTime:
      return Moment().value_or(0.0);
    case FieldKind::kString: {
      const std::string text = Text();
      if (text.empty()) return 0.0;
      const std::optional<double> value = ParseLocaleNumber(text);
      if (!value) {
        InvalidValue("'%s' is not a valid floating point value for field '%s'", text, *this);
      }
      return *value;
    }
    default:
      AccessError(FieldKind::kFloat);
  }
}

DateTime Field::AsDateTime() const {
  Record();
  switch (kind_) {
    case FieldKind::kDate:
    case FieldKind::kDateTime:
      return Moment().value_or(0.0);
    case FieldKind::kString: {
      const std::string text = Text();
      if (text.empty()) return 0.0;
      const std::optional<DateTime> value = ParseDateTimeText(text);
      if (!value) InvalidValue("'%s' is not a valid date and time for field '%s'", text, *this);
      return *value;
    }
    default:
      AccessError(FieldKind::kDateTime);
  }
}

bool Field::AsBoolean() const {
  const uint8_t* record = Record();
  switch (kind_) {
    case FieldKind::kBoolean:
      return codec::DecodeLogical(*descriptor_, record);
    case FieldKind::kString: {
      const std::string text = Text();
      return !text.empty() && std::strchr("TtYyJj", text[0]) != nullptr;
    }
    default:
      AccessError(FieldKind::kBoolean);
  }
}

// --- writes

template <typename Encode>
void Field::Write(Encode&& encode) {
  if (data_set_ == nullptr || descriptor_ == nullptr) {
    throw DatasetError("Cannot perform this operation on a closed dataset");
  }
  write_record_ = data_set_->BeginFieldWrite(*this);
  try {
    encode();
  } catch (...) {
    write_record_ = nullptr;
    data_set_->FieldWriteFailed();
    throw;
  }
  write_record_ = nullptr;
  data_set_->FieldWritten(*this);
}

void Field::StoreText(std::string_view value) {
  const FieldDescriptor& f = *descriptor_;
  if (f.type != 'C') AccessError(FieldKind::kString);
  // Cut to the field size first, then translate in place.
  value = value.substr(0, f.width);
  codec::EncodeRaw(f, write_record_, value);
  char* bytes = reinterpret_cast<char*>(write_record_ + f.offset);
  CharsetTables::Get().Translate(bytes, bytes, value.size(), true, data_set_->translate_ascii());
}

void Field::StoreWhole(int64_t value) {
  double low = -kInt64Limit, high = kInt64Limit;
  if (kind_ == FieldKind::kSmallInt) {
    low = std::numeric_limits<int16_t>::min();
    high = std::numeric_limits<int16_t>::max();
  } else if (kind_ == FieldKind::kInteger) {
    low = std::numeric_limits<int32_t>::min();
    high = std::numeric_limits<int32_t>::max();
  }
  if (static_cast<double>(value) < low || static_cast<double>(value) > high) {
    RangeError(static_cast<double>(value), low, high);
  }
  const FieldDescriptor& f = *descriptor_;
  if ((f.type == 'N' || f.type == 'F') && f.decimals == 0) {
    // Exact digits, also beyond the 53 bits of a double.
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    const std::string_view text(digits, static_cast<size_t>(result.ptr - digits));
    if (text.size() > f.width) {
      throw DbfError(
          FormatMessage("numeric value too big in field %s", f.name + " - " + std::string(text)));
    }
    codec::EncodeRaw(f, write_record_, text);
    return;
  }
  StoreNumber(static_cast<double>(value));
}

void Field::StoreNumber(double value) {
  if (!IsNumberStorage()) AccessError(kind_);
  if (!std::isfinite(value)) {
    InvalidValue("'%s' is not a valid floating point value for field '%s'", NumberText(value),
                 *this);
  }
  codec::EncodeNumber(*descriptor_, write_record_, value, version_);
}

void Field::StoreMoment(std::optional<DateTime> value) {
  if (value && !(*value >= kLowestDay && *value < kHighestDay + 1)) {
    RangeError(*value, kLowestDay, kHighestDay);
  }
  if (descriptor_->type == 'T') {
    codec::EncodeDateTime(*descriptor_, write_record_, value.value_or(0.0));
    return;
  }
  std::optional<CivilDate> date;
  if (value) date = CivilFromDays(static_cast<int64_t>(std::floor(*value)));
  codec::EncodeDate(*descriptor_, write_record_, date);
}

void Field::StoreLogical(std::optional<bool> value) {
  if (value) {
    codec::EncodeLogical(*descriptor_, write_record_, *value);
  } else {
    codec::EncodeRaw(*descriptor_, write_record_, "");
  }
}

void Field::SetAsString(std::string_view value) {
  Write([&] {
    switch (kind_) {
      case FieldKind::kString:
        return StoreText(value);
      case FieldKind::kSmallInt:
      case FieldKind::kInteger:
      case FieldKind::kLargeInt: {
        if (IsBlank(value)) return StoreWhole(0);
        const std::optional<int64_t> number = ParseWholeNumber(value);
        if (!number) InvalidValue("'%s' is not a valid integer value for field '%s'", value, *this);
        return StoreWhole(*number);
      }
      case FieldKind::kFloat:
      case FieldKind::kCurrency: {
        if (IsBlank(value)) return StoreNumber(0.0);
        const std::optional<double> number = ParseLocaleNumber(value);
        if (!number) {
          InvalidValue("'%s' is not a valid floating point value for field '%s'", value, *this);
        }
        return StoreNumber(*number);
      }
      case FieldKind::kDate:
      case FieldKind::kDateTime: {
        if (IsBlank(value)) return StoreMoment(std::nullopt);
        std::optional<DateTime> moment;
        if (kind_ == FieldKind::kDateTime) {
          moment = ParseDateTimeText(value);
        } else if (const std::optional<CivilDate> date = ParseShortDate(value)) {
          moment = static_cast<double>(DaysFromCivil(*date));
        }
        if (!moment) {
          InvalidValue(kind_ == FieldKind::kDate
                           ? "'%s' is not a valid date for field '%s'"
                           : "'%s' is not a valid date and time for field '%s'",
                       value, *this);
        }
        return StoreMoment(moment);
      }
      case FieldKind::kBoolean: {
        if (IsBlank(value)) return StoreLogical(std::nullopt);
        if (std::strchr("TtYyJj", value[0]) != nullptr) return StoreLogical(true);
        if (std::strchr("FfNn", value[0]) != nullptr) return StoreLogical(false);
        InvalidValue("'%s' is not a valid boolean value for field '%s'", value, *this);
      }
      default:
        AccessError(FieldKind::kString);
    }
  });
}

void Field::StoreInteger(int64_t value, FieldKind asked) {
  if (IsIntegerKind(kind_)) return StoreWhole(value);
  if (kind_ == FieldKind::kFloat || kind_ == FieldKind::kCurrency) {
    return StoreNumber(static_cast<double>(value));
  }
  if (kind_ == FieldKind::kString) return StoreText(std::to_string(value));
  AccessError(asked);
}

void Field::SetAsLargeInt(int64_t value) {
  Write([&] { StoreInteger(value, FieldKind::kLargeInt); });
}

void Field::SetAsInteger(int32_t value) {
  Write([&] { StoreInteger(value, FieldKind::kInteger); });
}

void Field::SetAsFloat(double value) {
  Write([&] {
    switch (kind_) {
      case FieldKind::kSmallInt:
      case FieldKind::kInteger:
      case FieldKind::kLargeInt:
        if (!(std::fabs(value) < kInt64Limit)) RangeError(value, -kInt64Limit, kInt64Limit);
        return StoreWhole(std::llround(value));
      case FieldKind::kFloat:
      case FieldKind::kCurrency:
        return StoreNumber(value);
      case FieldKind::kDate:
      case FieldKind::kDateTime:
        return StoreMoment(value);
      case FieldKind::kString:
        return StoreText(FormatFloatText(value));
      default:
        AccessError(FieldKind::kFloat);
    }
  });
}

void Field::SetAsDateTime(DateTime value) {
  Write([&] {
    switch (kind_) {
      case FieldKind::kDate:
      case FieldKind::kDateTime:
        return StoreMoment(value);
      case FieldKind::kString:
        return StoreText(FormatDateTimeText(value, true));
      default:
        AccessError(FieldKind::kDateTime);
    }
  });
}

void Field::SetAsBoolean(bool value) {
  Write([&] {
    switch (kind_) {
      case FieldKind::kBoolean:
        return StoreLogical(value);
      case FieldKind::kString:
        return StoreText(value ? "T" : "F");
      default:
        AccessError(FieldKind::kBoolean);
    }
  });
}

void Field::Clear() {
  Write([&] {
    if (descriptor_->type == 'C') return StoreText("");
    if (IsDateStorage()) return StoreMoment(std::nullopt);
    if (descriptor_->type == 'L') return StoreLogical(std::nullopt);
    if (IsNumberStorage()) return StoreNumber(0.0);
    AccessError(kind_);
  });
}

}  // namespace dbf
