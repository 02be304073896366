#include "reports/mem_table.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "dbf/errors.h"

namespace reports {
namespace {

// Row layout of one field: a null flag byte (1 = has a value), then
//   string     one length byte and `size` bytes of text
//   float      8 bytes, the double as the machine holds it
//   date-time  8 bytes, the double as the machine holds it
size_t SlotLength(MemFieldKind kind, int size) {
  return 1 + (kind == MemFieldKind::kString ? 1 + static_cast<size_t>(size) : sizeof(double));
}

const char* KindName(MemFieldKind kind) {
  switch (kind) {
    case MemFieldKind::kDateTime:
      return "DateTime";
    case MemFieldKind::kString:
      return "String";
    case MemFieldKind::kFloat:
      return "Float";
  }
  return "";
}

[[noreturn]] void Fail(const char* message) {
  throw dbf::DatasetError(message);
}

}  // namespace

// --- MemField

const uint8_t* MemField::Slot() const {
  const uint8_t* row = table_.ReadRow();
  return row == nullptr ? nullptr : row + offset_;
}

void MemField::CheckKind(MemFieldKind asked) const {
  if (asked != kind_) {
    throw dbf::DatasetError(
        dbf::FormatMessage("Cannot access field '%s' as type %s", name_, KindName(asked)));
  }
}

bool MemField::IsNull() const {
  const uint8_t* slot = Slot();
  return slot == nullptr || slot[0] == 0;
}

std::string MemField::AsString() const {
  CheckKind(MemFieldKind::kString);
  if (IsNull()) return {};
  const uint8_t* slot = Slot();
  return std::string(reinterpret_cast<const char*>(slot + 2), slot[1]);
}

double MemField::AsFloat() const {
  CheckKind(MemFieldKind::kFloat);
  double value = 0;
  if (!IsNull()) std::memcpy(&value, Slot() + 1, sizeof value);
  return value;
}

dbf::DateTime MemField::AsDateTime() const {
  CheckKind(MemFieldKind::kDateTime);
  double value = 0;
  if (!IsNull()) std::memcpy(&value, Slot() + 1, sizeof value);
  return value;
}

uint8_t* MemField::WritableSlot(MemFieldKind asked) {
  CheckKind(asked);
  if (!table_.inserting_) Fail("Dataset not in edit or insert mode");
  return table_.new_row_.data() + offset_;
}

void MemField::SetAsString(std::string_view value) {
  uint8_t* slot = WritableSlot(MemFieldKind::kString);
  const size_t length = std::min(value.size(), static_cast<size_t>(size_));
  slot[0] = 1;
  slot[1] = static_cast<uint8_t>(length);
  std::memcpy(slot + 2, value.data(), length);
}

void MemField::SetAsFloat(double value) {
  uint8_t* slot = WritableSlot(MemFieldKind::kFloat);
  slot[0] = 1;
  std::memcpy(slot + 1, &value, sizeof value);
}

void MemField::SetAsDateTime(dbf::DateTime value) {
  uint8_t* slot = WritableSlot(MemFieldKind::kDateTime);
  slot[0] = 1;
  std::memcpy(slot + 1, &value, sizeof value);
}

void MemField::Clear() {
  uint8_t* slot = WritableSlot(kind_);
  std::memset(slot, 0, SlotLength(kind_, size_));
}

// --- MemTable

MemField& MemTable::AddField(const std::string& name, MemFieldKind kind, int size,
                             int display_width) {
  if (active_) Fail("Cannot perform this operation on an open dataset");
  if (kind != MemFieldKind::kString) size = 0;
  if (kind == MemFieldKind::kString && (size < 1 || size > 255)) {
    throw dbf::DatasetError(dbf::FormatMessage("Invalid field size for field '%s'", name));
  }
  if (FindField(name) != nullptr) {
    throw dbf::DatasetError(dbf::FormatMessage("Duplicate field name '%s'", name));
  }
  fields_.push_back(std::unique_ptr<MemField>(new MemField(
      *this, name, kind, size, display_width == 0 ? size : display_width, row_length_)));
  row_length_ += SlotLength(kind, size);
  return *fields_.back();
}

MemField* MemTable::FindField(std::string_view name) const {
  for (const auto& field : fields_) {
    if (field->name().size() == name.size() &&
        strncasecmp(field->name().data(), name.data(), name.size()) == 0) {
      return field.get();
    }
  }
  return nullptr;
}

MemField& MemTable::FieldByName(std::string_view name) const {
  MemField* field = FindField(name);
  if (field == nullptr) {
    throw dbf::DatasetError(dbf::FormatMessage("Field '%s' not found", std::string(name)));
  }
  return *field;
}

void MemTable::CheckActive() const {
  if (!active_) Fail("Cannot perform this operation on a closed dataset");
}

void MemTable::Open() {
  if (active_) return;
  rows_.clear();
  row_count_ = 0;
  new_row_.assign(row_length_, 0);
  current_ = 0;
  inserting_ = false;
  active_ = true;
}

void MemTable::Close() {
  active_ = false;
  inserting_ = false;
  current_ = 0;
  row_count_ = 0;
  std::vector<uint8_t>().swap(rows_);
}

const uint8_t* MemTable::ReadRow() const {
  if (inserting_) return new_row_.data();
  if (!active_ || Eof()) return nullptr;
  return rows_.data() + current_ * row_length_;
}

void MemTable::Append() {
  CheckActive();
  std::fill(new_row_.begin(), new_row_.end(), 0);
  inserting_ = true;
}

void MemTable::Post() {
  if (!inserting_) Fail("Dataset not in edit or insert mode");
  rows_.insert(rows_.end(), new_row_.begin(), new_row_.end());
  current_ = row_count_++;
  inserting_ = false;
}

void MemTable::Cancel() {
  inserting_ = false;
}

void MemTable::First() {
  CheckActive();
  inserting_ = false;
  current_ = 0;
}

void MemTable::SetPosition(size_t index) {
  CheckActive();
  inserting_ = false;
  current_ = std::min(index, row_count_);
}

void MemTable::Next() {
  CheckActive();
  inserting_ = false;
  if (current_ < RecordCount()) ++current_;
}

}  // namespace reports
