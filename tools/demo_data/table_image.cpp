#include "table_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "dbf/charset_tables.h"
#include "dbf/clock.h"
#include "dbf/file_names.h"

namespace demo {

TableImage::TableImage(std::vector<FieldDef> fields) : fields_(std::move(fields)) {
  for (const FieldDef& f : fields_) {
    offsets_.push_back(record_length_);
    record_length_ += static_cast<size_t>(f.width);
  }
  if (record_length_ > 0xFFFF || 32 + 32 * fields_.size() + 264 > 0xFFFF) {
    throw std::invalid_argument("table too wide");
  }
}

int TableImage::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

char* TableImage::Slot(int field) {
  return records_.data() + records_.size() - record_length_ + offsets_[field];
}

void TableImage::AddRecord() {
  records_.append(record_length_, ' ');
}

void TableImage::SetText(std::string_view name, std::string_view utf8) {
  const int i = FieldIndex(name);
  if (i < 0 || records_.empty()) return;
  const std::string text = dbf::Utf8ToCp852(utf8);
  const size_t width = static_cast<size_t>(fields_[i].width);
  char* slot = Slot(i);
  std::memset(slot, ' ', width);
  std::memcpy(slot, text.data(), std::min(width, text.size()));
}

void TableImage::SetNumber(std::string_view name, double value) {
  const int i = FieldIndex(name);
  if (i < 0 || records_.empty()) return;
  const FieldDef& f = fields_[i];
  char text[64];
  const int length = std::snprintf(text, sizeof text, "%*.*f", f.width, f.decimals, value);
  if (length != f.width) throw std::out_of_range("number too wide for " + f.name);
  std::memcpy(Slot(i), text, static_cast<size_t>(f.width));
}

void TableImage::SetDate(std::string_view name, int year, int month, int day) {
  const int i = FieldIndex(name);
  if (i < 0 || records_.empty()) return;
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", year % 10000, month % 100, day % 100);
  std::memcpy(Slot(i), text, 8);
}

void TableImage::SetLogical(std::string_view name, bool value) {
  const int i = FieldIndex(name);
  if (i < 0 || records_.empty()) return;
  *Slot(i) = value ? 'T' : 'F';
}

void TableImage::MarkDeleted() {
  if (!records_.empty()) records_[records_.size() - record_length_] = '*';
}

void TableImage::Write(const std::string& path, uint8_t version, uint8_t language_driver) const {
  const size_t header_length = 32 + 32 * fields_.size() + 1 + (version == 0x30 ? 263 : 0);
  const uint32_t count = static_cast<uint32_t>(record_count());
  const dbf::LocalTime now = dbf::Now();
  std::string out(32, '\0');
  out[0] = static_cast<char>(version);
  out[1] = static_cast<char>(now.year % 100);
  out[2] = static_cast<char>(now.month);
  out[3] = static_cast<char>(now.day);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<char>(count >> (8 * i));
  out[8] = static_cast<char>(header_length & 0xFF);
  out[9] = static_cast<char>(header_length >> 8);
  out[10] = static_cast<char>(record_length_ & 0xFF);
  out[11] = static_cast<char>(record_length_ >> 8);
  out[29] = static_cast<char>(language_driver);
  for (size_t n = 0; n < fields_.size(); ++n) {
    const FieldDef& f = fields_[n];
    std::string d(32, '\0');
    for (size_t i = 0; i < f.name.size() && i < 10; ++i) d[i] = f.name[i];
    d[11] = f.type;
    for (int i = 0; i < 4; ++i) d[12 + i] = static_cast<char>(offsets_[n] >> (8 * i));
    d[16] = static_cast<char>(f.width & 0xFF);
    d[17] = static_cast<char>(f.type == 'C' ? f.width >> 8 : f.decimals);
    out += d;
  }
  out += '\r';
  if (version == 0x30) out += std::string(263, '\0');
  dbf::RemoveFileIgnoringCase(path);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << out << records_ << '\x1A';
  if (!file) throw std::runtime_error("cannot write " + path);
}

void CreateTable(const std::string& path, const std::vector<FieldDef>& fields, uint8_t version,
                 uint8_t language_driver) {
  TableImage(fields).Write(path, version, language_driver);
}

}  // namespace demo
