#ifndef SALDEX_DBF_DBF_FILE_H_
#define SALDEX_DBF_DBF_FILE_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/dates.h"
#include "dbf/disk_file.h"
#include "dbf/field_codec.h"
#include "dbf/lock_protocol.h"
#include "dbf/read_ahead_buffer.h"

namespace dbf {

class IndexHooks;

// One open dBase table file: the parsed header, the field descriptors, the
// current record and one record buffer. Tables are never created or packed;
// records are read, rewritten in place and appended.
//
// File layout (integers little-endian):
//   header (32 bytes), field descriptors (32 bytes each), terminator 0x0D,
//   for version 0x30 a 263-byte area, records of R bytes from offset H,
//   end-of-file byte 0x1A after the last record (written by every append).
//
// Header:
//  Offset Size Meaning                              Written on every header write
//  0      1    version 03 04 30 83 8B F5            unchanged
//  1      3    last update: year%100, month, day    today
//  4      4    record count (ignored on reading)    the count held here
//  8      2    header length H                      unchanged
//  10     2    record length R (with deletion flag) unchanged
//  12     2    reserved                             as last read
//  14     1    incomplete-transaction flag          as last read
//  15     1    encryption flag (refused if set)     0
//  16     4    change stamp                         ((h*64+m)*64+s)*1024+ms
//  20     4    writer's user number                 UserID
//  24     4    reserved                             as last read
//  28     1    flags: 0 structural index, 1 memo,   bits 0-2 as read, others 0
//              2 database container
//  29     1    language driver                      as last read
//  30     2    reserved                             as last read
// The record count is (file size - H) div R; a partial last record is not
// counted.
class DbfFile {
 public:
  enum class Move { kFirst, kLast, kNext, kPrevious, kCurrent };

  DbfFile() = default;
  ~DbfFile();
  DbfFile(const DbfFile&) = delete;
  DbfFile& operator=(const DbfFile&) = delete;

  // Adds ".DBF" when the name has no extension, expands it to a full path,
  // opens and validates. Positions nowhere (record 0, at-start).
  void Open(const std::string& path, bool shared, bool read_write);
  void Close();
  bool is_open() const { return file_.is_open(); }

  // --- metadata
  const std::string& path() const { return path_; }
  // File name without directory and extension, upper case: the table's name
  // in key expressions.
  const std::string& alias() const { return alias_; }
  // File name without directory and extension as spelled in the path.
  const std::string& table_name() const { return table_name_; }
  uint8_t version() const { return header_[0]; }
  uint32_t header_length() const { return header_length_; }
  uint32_t record_length() const { return record_length_; }
  uint32_t record_count() const { return record_count_; }
  bool has_memo() const;
  const std::array<uint8_t, 32>& header_image() const { return header_; }
  int field_count() const { return static_cast<int>(fields_.size()); }
  // REQUIRES: 1 <= number <= field_count().
  const FieldDescriptor& field(int number) const { return fields_[number - 1]; }
  const std::vector<FieldDescriptor>& fields() const { return fields_; }
  // Case-insensitive, trailing spaces of `name` ignored; 0 when absent.
  int FieldNumber(std::string_view name) const;
  // As FieldNumber, raising "There is no field name %s" when absent.
  int RequireField(std::string_view name) const;

  // --- position
  // Reads record `recno` (>= 1). Returns false when it is one past the end
  // (at-end set, nothing read). Raises "Record number %d is not in table %s".
  bool GoTo(uint32_t recno);
  // Returns false when the move found no record (at-start / at-end set).
  bool GoTo(Move move);
  uint32_t recno() const { return recno_; }
  bool at_start() const { return at_start_; }
  bool at_end() const { return at_end_; }

  // --- record buffer (R bytes, then one byte 0x1A)
  // The current record image. Reads in natural order with the read-ahead
  // window on are served from the window without copying; the pointer stays
  // valid until the next move or read-ahead change.
  const uint8_t* record() const { return current_; }
  // The writable record buffer, holding the current record image. Taking it
  // keeps the image as read in the saved copy first.
  uint8_t* record() { return MakeWritable(); }
  // The record as last read or written.
  const uint8_t* saved_record() const { return saved_valid_ ? saved_.data() : current_; }
  bool deleted() const { return current_[0] == '*'; }
  void BlankRecord();
  // Rewrites record n from the buffer under the index locks; n == 0 or
  // beyond the count appends instead.
  void PutRecord(uint32_t n);
  // Appends the buffer as a new last record under the index and append locks.
  // The tail is tested under the append lock (RequireAppendableTail's error,
  // nothing written). When writing the record or the header fails, the file
  // is cut back to its old length, its old end-of-file mark and header are
  // put back, the record count and position stay as they were, and the write
  // error (with the system's reason) passes on.
  void Append();
  // Raises "Cannot append to %s: the file ends with a partial record" (or
  // "... ends inside its header") when the bytes after the last whole record
  // are neither nothing nor the single end-of-file mark 0x1A. The test runs
  // under the append lock (taken as for Append, released after), so another
  // program's append in progress is never taken for a cut record; raises
  // "Can not Lock file %s" when another program keeps the lock. (While this
  // handle holds a record lock the test runs without the append lock.)
  void RequireAppendableTail();
  // True when the file ends with the remains of a cut record (bytes after the
  // last whole record other than one end-of-file mark) or inside its header.
  // Such a table still reads its whole records. Tested under the append lock
  // when it can be had (retried as for Append); a table whose append lock
  // stays held by another program is tested without it.
  bool HasPartialRecord();
  // Marks the current record deleted / active and rewrites it (no-op when the
  // flag already has that value).
  void Delete();
  void Recall();

  // --- field values of the record buffer (field numbers 1-based)
  std::string_view Raw(int field) const;
  std::string GetString(int field) const;
  double GetNumber(int field) const;
  // Julian day number; a blank date ("        " or "00000000") is 0.
  int64_t GetJulianDay(int field) const;
  bool GetLogical(int field) const;
  void PutRaw(int field, std::string_view text);
  void PutString(int field, std::string_view text);
  void PutNumber(int field, double value);
  void PutJulianDay(int field, int64_t julian_day);
  void PutLogical(int field, bool value);
  std::string GetString(std::string_view name) const { return GetString(RequireField(name)); }
  void PutString(std::string_view name, std::string_view text) {
    PutString(RequireField(name), text);
  }
  bool field_changed(int field) const { return changed_[field] != 0; }

  // --- settings handed down by the cursor
  void set_lock_protocol(LockProtocol p) { protocol_ = p; }
  LockProtocol lock_protocol() const { return protocol_; }
  void set_auto_flush(bool on) { auto_flush_ = on; }
  void set_user_id(uint32_t id) { user_id_ = id; }
  // The cursor's TranslateASCII: key expressions over this table read its text as OEM.
  void set_translate_ascii(bool on) { translate_ascii_ = on; }
  bool translate_ascii() const { return translate_ascii_; }
  void set_index_hooks(IndexHooks* hooks) { hooks_ = hooks; }
  IndexHooks* index_hooks() const { return hooks_; }
  // Natural-order reads through the read-ahead window (off at open).
  void EnableReadAhead(bool on);
  bool read_ahead_enabled() const { return read_ahead_.enabled(); }
  DiskFile& disk() { return file_; }

  // --- locks and sharing
  // One try at the record lock of the current record (of `recno`).
  bool LockRecord() { return LockRecord(recno_); }
  bool LockRecord(uint32_t recno);
  // The append lock, retried like the index locks (100 tries, 50 ms apart);
  // raises "Can not Lock file %s" (the table file) when it cannot be had.
  void AppendLock();
  // As AppendLock, returning false instead of raising.
  bool TryAppendLock();
  // Releases one level of the table file's lock.
  void Unlock() { file_.Unlock(); }
  // Shared tables only: re-reads the header and the record count.
  void RefreshHeader();
  void LockIndexes();
  void UnlockIndexes();
  void Flush();
  // Sets the structural-index flag (bit 0 of header byte 28) and rewrites the header.
  void MarkStructuralIndex();

 private:
  void ReadRecordAt(uint32_t recno);
  // Copies a current record shown from the read-ahead window into the buffer.
  void KeepCurrentInBuffer();
  void CountRecords();
  uint8_t* MakeWritable();
  void WriteHeader();
  void WriteRecordBytes(uint32_t recno, size_t length);
  // Append's steps under the append lock.
  void AppendUnderLock();
  // Bytes after the last whole record that are not one end-of-file mark;
  // kCutHeader when the file is shorter than its header.
  enum class Tail { kClean, kPartialRecord, kCutHeader };
  Tail ReadTail();
  // ReadTail under the append lock when it can be had (retried), released
  // after; *had_lock tells whether it was.
  Tail ReadTailUnderAppendLock(bool* had_lock);
  // Raises Append's refusal for a cut tail; nothing for a clean one.
  void RefuseCutTail(Tail tail) const;
  void MarkAllChanged(bool value);
  const FieldDescriptor& Require(int field) const;
  void SetDeletionFlag(uint8_t flag);

  DiskFile file_;
  ReadAheadBuffer read_ahead_;
  std::string path_, alias_, table_name_;
  std::array<uint8_t, 32> header_{};
  uint32_t header_length_ = 0, record_length_ = 0, record_count_ = 0;
  std::vector<FieldDescriptor> fields_;
  // spare_: where a record is read before it replaces buffer_.
  std::vector<uint8_t> buffer_, saved_, spare_;
  const uint8_t* current_ = nullptr;  // buffer_ or a record in the read-ahead window
  bool saved_valid_ = true;           // false: the saved copy is *current_ as read
  std::vector<uint8_t> changed_;      // [0] the record, [n] field n
  uint32_t recno_ = 0;
  bool at_start_ = true, at_end_ = false;
  bool header_dirty_ = false;
  LockProtocol protocol_ = LockProtocol::kDefault;
  bool auto_flush_ = false;
  uint32_t user_id_ = 0;
  bool translate_ascii_ = true;
  IndexHooks* hooks_ = nullptr;
};

}  // namespace dbf

#endif  // SALDEX_DBF_DBF_FILE_H_
