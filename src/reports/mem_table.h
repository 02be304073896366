#ifndef SALDEX_REPORTS_MEM_TABLE_H_
#define SALDEX_REPORTS_MEM_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/dates.h"

namespace reports {

enum class MemFieldKind { kDateTime, kString, kFloat };

class MemTable;

// A named, typed field of a MemTable. Reads come from the current row (the
// new row while one is appended); writes only while a row is appended.
// A field starts every new row without a value (null); a string field set
// to an empty text holds a value.
class MemField {
 public:
  const std::string& name() const { return name_; }
  MemFieldKind kind() const { return kind_; }
  // String fields: the width texts are cut to; 0 for other kinds.
  int size() const { return size_; }
  int display_width() const { return display_width_; }

  bool IsNull() const;
  // Raise dbf::DatasetError "Cannot access field '%s' as type %s" for a kind
  // the field is not; a null value reads as "" or 0.
  std::string AsString() const;
  double AsFloat() const;
  dbf::DateTime AsDateTime() const;

  void SetAsString(std::string_view value);
  void SetAsFloat(double value);
  void SetAsDateTime(dbf::DateTime value);
  void Clear();

 private:
  friend class MemTable;
  MemField(MemTable& table, std::string name, MemFieldKind kind, int size, int display_width,
           size_t offset)
      : table_(table),
        name_(std::move(name)),
        kind_(kind),
        size_(size),
        display_width_(display_width),
        offset_(offset) {}
  const uint8_t* Slot() const;
  uint8_t* WritableSlot(MemFieldKind asked);
  void CheckKind(MemFieldKind asked) const;

  MemTable& table_;
  std::string name_;
  MemFieldKind kind_;
  int size_;
  int display_width_;
  size_t offset_;  // of the null flag; the value follows it
};

// The in-memory staging table of a report: fields declared while closed,
// rows appended and posted, walked from the first row to the last, and
// discarded when closed. Rows are fixed-length byte records in one block, so
// a hundred thousand staged invoices cost a few megabytes. Errors are
// dbf::DatasetError with the cursor's texts. Single-threaded.
class MemTable {
 public:
  MemTable() = default;
  MemTable(const MemTable&) = delete;
  MemTable& operator=(const MemTable&) = delete;

  // Only while closed. String fields take `size` bytes at most (1..255);
  // `display_width` 0 means `size`.
  MemField& AddField(const std::string& name, MemFieldKind kind, int size = 0,
                     int display_width = 0);
  int field_count() const { return static_cast<int>(fields_.size()); }
  // REQUIRES: 0 <= index < field_count().
  MemField& field(int index) { return *fields_[index]; }
  const MemField& field(int index) const { return *fields_[index]; }
  // Case-insensitive; nullptr when absent.
  MemField* FindField(std::string_view name) const;
  // Raises "Field '%s' not found".
  MemField& FieldByName(std::string_view name) const;

  // Opens with no rows; the cursor is at Eof.
  void Open();
  // Discards every row and a pending new row.
  void Close();
  bool active() const { return active_; }

  // Starts a new row (every field null) after the last; a pending new row is
  // dropped first. Raises "Cannot perform this operation on a closed dataset".
  void Append();
  // Adds the new row after the last and makes it current. Raises "Dataset not
  // in edit or insert mode" without a pending new row.
  void Post();
  // Drops the pending new row.
  void Cancel();
  bool inserting() const { return inserting_; }

  // Moves; a pending new row is dropped.
  void First();
  void Next();
  bool Eof() const { return current_ >= RecordCount(); }
  size_t RecordCount() const { return row_count_; }
  bool IsEmpty() const { return RecordCount() == 0; }

  // Writes the text dump of every row (text_dump.h) into `path`, replacing
  // the file; the cursor stays where it was. Raises std::runtime_error
  // "Cannot create file %s" / "Cannot write file %s".
  void SaveToFile(const std::string& path);
  // Index of the current row (RecordCount() at Eof); moves to row `index`.
  size_t position() const { return current_; }
  void SetPosition(size_t index);

 private:
  friend class MemField;
  void CheckActive() const;
  // The row fields read from: the new row while appending, else the current
  // row; nullptr when there is none.
  const uint8_t* ReadRow() const;

  std::vector<std::unique_ptr<MemField>> fields_;
  size_t row_length_ = 0;
  std::vector<uint8_t> rows_;
  std::vector<uint8_t> new_row_;
  size_t row_count_ = 0;
  size_t current_ = 0;
  bool active_ = false;
  bool inserting_ = false;
};

}  // namespace reports

#endif  // SALDEX_REPORTS_MEM_TABLE_H_
