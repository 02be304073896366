#ifndef SALDEX_TOOLS_DEMO_DATA_TABLE_IMAGE_H_
#define SALDEX_TOOLS_DEMO_DATA_TABLE_IMAGE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace demo {

struct FieldDef {
  std::string name;  // at most 10 characters
  char type;         // C N F D L
  int width;
  int decimals = 0;
};

// A dBase table built in memory and written in one go: header (record count,
// today's date, language driver), descriptors, 0x0D, the records, 0x1A. The
// engine never creates tables; the demo data and benchmarks need many.
// Field values are stored as the file holds them: C left-justified and cut
// to the width (text given in UTF-8, stored in code page 852), N and F right-
// justified with the field's decimals, D "yyyymmdd", L "T" / "F".
class TableImage {
 public:
  explicit TableImage(std::vector<FieldDef> fields);

  const std::vector<FieldDef>& fields() const { return fields_; }
  bool HasField(std::string_view name) const { return FieldIndex(name) >= 0; }
  size_t record_count() const { return records_.size() / record_length_; }
  size_t record_length() const { return record_length_; }

  // Appends a blank record; the setters below fill the last record. A name
  // the table lacks is ignored, so one generator serves several layouts.
  void AddRecord();
  void SetText(std::string_view name, std::string_view utf8);
  void SetNumber(std::string_view name, double value);
  void SetDate(std::string_view name, int year, int month, int day);
  void SetLogical(std::string_view name, bool value);
  void MarkDeleted();

  // Writes the file (any differently-cased copy is deleted first).
  // `language_driver` 0x64 marks code page 852.
  void Write(const std::string& path, uint8_t version = 0x03, uint8_t language_driver = 0x64) const;

 private:
  int FieldIndex(std::string_view name) const;
  char* Slot(int field);

  std::vector<FieldDef> fields_;
  std::vector<size_t> offsets_;
  size_t record_length_ = 1;
  std::string records_;
};

// An empty table of these fields.
void CreateTable(const std::string& path, const std::vector<FieldDef>& fields,
                 uint8_t version = 0x03, uint8_t language_driver = 0x64);

}  // namespace demo

#endif  // SALDEX_TOOLS_DEMO_DATA_TABLE_IMAGE_H_
