#include "dbf/dbf_file.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>

#include "dbf/ascii_text.h"
#include "dbf/clock.h"
#include "dbf/errors.h"
#include "dbf/field_string.h"
#include "dbf/file_names.h"
#include "dbf/format_settings.h"
#include "dbf/index_hooks.h"
#include "dbf/little_endian.h"

namespace dbf {
namespace {

constexpr size_t kHeaderSize = 32;
constexpr size_t kDescriptorSize = 32;
constexpr uint32_t kVfpAreaSize = 263;  // version 0x30: after the terminator
constexpr uint8_t kEndOfFile = 0x1A;
constexpr size_t kMaxFieldNameLength = 10;

bool IsAcceptedVersion(uint8_t v) {
  return v == 0x03 || v == 0x04 || v == 0x30 || v == 0x83 || v == 0x8B || v == 0xF5;
}

}  // namespace

DbfFile::~DbfFile() {
  Close();
}

void DbfFile::Open(const std::string& name, bool shared, bool read_write) {
  Close();
  std::string path = WithDefaultExtension(name, ".DBF");
  // A doubled separator is kept as written (it names a network path there).
  if (path.find("//") == std::string::npos) path = ExpandFileName(path);
  file_.Open(path, shared, read_write);
  path_ = file_.path();
  table_name_ = BaseNameWithoutExtension(path);
  alias_ = table_name_;
  alias_ = AsciiUpperCase(alias_);

  try {
    const std::string read_error = FormatMessage("Error on Read of file %s", path_);
    if (file_.Read(0, header_.data(), kHeaderSize) < kHeaderSize) throw DbfError(read_error);
    const std::string invalid = FormatMessage("Table Header for %s is invalid", path_);
    if (!IsAcceptedVersion(header_[0])) throw DbfError(invalid);
    if (header_[15] != 0) {
      throw DbfError(FormatMessage("No Password for encrypted file %s", path_));
    }
    header_length_ = Load16(&header_[8]);
    record_length_ = Load16(&header_[10]);
    const uint32_t fixed_part = header_[0] == 0x30 ? 33 + kVfpAreaSize : 33;
    // A header shorter than its fixed part or a record length of 0 is damage.
    if (header_length_ < fixed_part || record_length_ == 0) throw DbfError(invalid);

    const size_t count = (header_length_ - fixed_part) / kDescriptorSize;
    std::vector<uint8_t> raw(count * kDescriptorSize);
    if (file_.Read(kHeaderSize, raw.data(), raw.size()) < raw.size()) throw DbfError(read_error);
    fields_.clear();
    fields_.reserve(count);
    uint32_t offset = 1;
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* d = &raw[i * kDescriptorSize];
      FieldDescriptor f;
      // The name ends at the first NUL and has at most 10 characters: byte 10
      // is the terminator's place even when a writer left something there.
      const void* nul = std::memchr(d, 0, kMaxFieldNameLength);
      const size_t name_length = nul ? static_cast<const uint8_t*>(nul) - d : kMaxFieldNameLength;
      f.name.assign(reinterpret_cast<const char*>(d), name_length);
      f.type = static_cast<char>(d[11]);
      if (f.type == 'C') {
        f.width = d[16] + 256u * d[17];
        f.decimals = 0;
      } else {
        f.width = d[16];
        f.decimals = d[17];
      }
      f.offset = offset;
      f.number = static_cast<int>(i) + 1;
      offset += f.width;
      // Fields reaching past the record would read outside every buffer.
      if (offset > record_length_) throw DbfError(invalid);
      fields_.push_back(std::move(f));
    }
    CountRecords();
  } catch (...) {
    file_.Close();
    throw;
  }
  buffer_.assign(record_length_ + 1, ' ');
  buffer_[record_length_] = kEndOfFile;
  saved_ = buffer_;
  spare_ = buffer_;
  current_ = buffer_.data();
  saved_valid_ = true;
  changed_.assign(fields_.size() + 1, 0);
  recno_ = 0;
  at_start_ = true;
  at_end_ = false;
  header_dirty_ = false;
}

void DbfFile::Close() {
  if (!file_.is_open()) return;
  read_ahead_.Disable();
  current_ = buffer_.data();
  file_.Close();
  recno_ = 0;
  at_start_ = true;
  at_end_ = false;
}

bool DbfFile::has_memo() const {
  switch (version()) {
    case 0x83:
    case 0x8B:
    case 0xF5:
      return true;
    case 0x30:
      return (header_[28] & 0x02) != 0;
    default:
      return false;
  }
}

int DbfFile::FieldNumber(std::string_view name) const {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  for (const FieldDescriptor& f : fields_) {
    if (EqualsIgnoringCase(f.name, name)) return f.number;
  }
  return 0;
}

int DbfFile::RequireField(std::string_view name) const {
  const int n = FieldNumber(name);
  if (n == 0) {
    throw DbfError(FormatMessage("There is no field name %s", path_ + "->" + std::string(name)));
  }
  return n;
}

const FieldDescriptor& DbfFile::Require(int field) const {
  if (field < 1 || field > field_count()) {
    throw DbfError(
        FormatMessage("There is no field name %s", path_ + "->" + std::to_string(field)));
  }
  return fields_[field - 1];
}

// --- position

bool DbfFile::GoTo(Move move) {
  if (record_count_ == 0) {
    RefreshHeader();
    if (record_count_ == 0) {
      at_start_ = at_end_ = true;
      return false;
    }
  }
  int64_t target = 0;
  switch (move) {
    case Move::kFirst:
      target = 1;
      break;
    case Move::kLast:
      target = record_count_;
      break;
    case Move::kNext:
      target = static_cast<int64_t>(recno_) + 1;
      break;
    case Move::kCurrent:
      target = recno_;
      break;
    case Move::kPrevious:
      if (recno_ <= 1) {
        at_start_ = true;
        return false;
      }
      target = static_cast<int64_t>(recno_) - 1;
      break;
  }
  if (target <= 0) {
    throw DbfError(
        FormatMessage("Record number %d is not in table %s", std::to_string(target), path_));
  }
  return GoTo(static_cast<uint32_t>(target));
}

bool DbfFile::GoTo(uint32_t recno) {
  if (recno == 0) {
    throw DbfError(FormatMessage("Record number %d is not in table %s", "0", path_));
  }
  if (recno > record_count_) {
    RefreshHeader();
    if (recno == static_cast<uint64_t>(record_count_) + 1) {
      at_end_ = true;
      return false;
    }
    if (recno > record_count_) {
      throw DbfError(
          FormatMessage("Record number %d is not in table %s", std::to_string(recno), path_));
    }
  }
  at_start_ = at_end_ = false;
  ReadRecordAt(recno);
  recno_ = recno;
  saved_valid_ = false;
  MarkAllChanged(false);
  return true;
}

// A short read (a file cut by another program) raises and leaves the current
// record and its saved copy as they were.
void DbfFile::ReadRecordAt(uint32_t recno) {
  const uint64_t offset = header_length_ + static_cast<uint64_t>(recno - 1) * record_length_;
  if (read_ahead_.enabled()) {
    if (!read_ahead_.Holds(offset, record_length_)) {
      // The refill overwrites the window the current record may be shown from.
      KeepCurrentInBuffer();
      read_ahead_.Refill(file_, offset);
      if (!read_ahead_.Holds(offset, record_length_)) {
        throw DbfError(FormatMessage("Error on Read of file %s", path_));
      }
    }
    current_ = read_ahead_.At(offset);
    return;
  }
  if (file_.Read(offset, spare_.data(), record_length_) < record_length_) {
    throw DbfError(FormatMessage("Error on Read of file %s", path_));
  }
  buffer_.swap(spare_);
  current_ = buffer_.data();
}

void DbfFile::KeepCurrentInBuffer() {
  if (current_ != buffer_.data()) {
    std::memcpy(buffer_.data(), current_, record_length_);
    current_ = buffer_.data();
  }
}

uint8_t* DbfFile::MakeWritable() {
  if (!saved_valid_) {
    std::memcpy(saved_.data(), current_, record_length_);
    saved_valid_ = true;
  }
  KeepCurrentInBuffer();
  return buffer_.data();
}

void DbfFile::EnableReadAhead(bool on) {
  KeepCurrentInBuffer();
  if (on) {
    read_ahead_.Enable(header_length_, record_length_);
  } else {
    read_ahead_.Disable();
  }
}

// --- writes

void DbfFile::BlankRecord() {
  codec::BlankRecord(fields_.data(), field_count(), MakeWritable(), record_length_, version());
  MarkAllChanged(true);
}

void DbfFile::WriteRecordBytes(uint32_t recno, size_t length) {
  const uint64_t offset = header_length_ + static_cast<uint64_t>(recno - 1) * record_length_;
  file_.Write(offset, buffer_.data(), length);
  if (read_ahead_.enabled()) read_ahead_.NoteWrite(offset, buffer_.data(), record_length_);
}

void DbfFile::PutRecord(uint32_t n) {
  if (n == 0 || n > record_count_) {
    Append();
    return;
  }
  MakeWritable();
  LockIndexes();
  try {
    header_dirty_ = true;
    WriteRecordBytes(n, record_length_);
    recno_ = n;
    RefreshHeader();
    WriteHeader();
    if (hooks_) hooks_->RecordWritten(n, saved_.data(), buffer_.data());
    if (auto_flush_) Flush();
  } catch (...) {
    UnlockIndexes();
    throw;
  }
  std::memcpy(saved_.data(), buffer_.data(), record_length_);
  saved_valid_ = true;
  MarkAllChanged(false);
  UnlockIndexes();
}

void DbfFile::Append() {
  MakeWritable();
  LockIndexes();
  try {
    AppendLock();
    try {
      AppendUnderLock();
    } catch (...) {
      file_.Unlock();
      throw;
    }
    file_.Unlock();
    at_start_ = at_end_ = false;
    if (hooks_) hooks_->RecordWritten(recno_, nullptr, buffer_.data());
    if (auto_flush_) Flush();
  } catch (...) {
    UnlockIndexes();
    throw;
  }
  std::memcpy(saved_.data(), buffer_.data(), record_length_);
  saved_valid_ = true;
  MarkAllChanged(false);
  UnlockIndexes();
}

void DbfFile::AppendUnderLock() {
  RefuseCutTail(ReadTail());
  header_dirty_ = true;
  RefreshHeader();
  // What a failed write must put back: the file ends at old_size, either
  // right after the last record or after one end-of-file mark there.
  const uint64_t old_size = file_.FileSize();
  const std::array<uint8_t, 32> old_header = header_;
  const uint32_t old_count = record_count_;
  const uint32_t old_recno = recno_;
  const uint32_t recno = record_count_ + 1;
  buffer_[0] = ' ';
  buffer_[record_length_] = kEndOfFile;
  bool header_written = false;
  try {
    WriteRecordBytes(recno, record_length_ + 1);
    record_count_ = recno;
    recno_ = recno;
    header_written = true;
    WriteHeader();
  } catch (const DbfError&) {
    // The first failure is the one reported; the repair is best effort. The
    // file is cut to its last whole record first (a cut needs no room), so
    // it is sound even when no later write succeeds: the end-of-file mark is
    // optional, and the header is rewritten in place.
    const uint64_t end_of_records =
        header_length_ + static_cast<uint64_t>(old_count) * record_length_;
    try {
      file_.Truncate(end_of_records);
      if (old_size > end_of_records) file_.Write(end_of_records, &kEndOfFile, 1);
    } catch (const DbfError&) {
    }
    try {
      if (header_written) file_.Write(0, old_header.data(), kHeaderSize);
    } catch (const DbfError&) {
    }
    header_ = old_header;
    record_count_ = old_count;
    recno_ = old_recno;
    header_dirty_ = false;
    throw;
  }
}

// Bytes after the last whole record other than one end-of-file mark are the
// remains of a cut record (or of a cut header): an append at H + count * R
// would overwrite them and leave a damaged record behind.
DbfFile::Tail DbfFile::ReadTail() {
  const uint64_t size = file_.FileSize();
  if (size < header_length_) return Tail::kCutHeader;
  const uint64_t tail = (size - header_length_) % record_length_;
  if (tail == 0) return Tail::kClean;
  uint8_t mark = 0;
  if (tail == 1 && file_.Read(size - 1, &mark, 1) == 1 && mark == kEndOfFile) return Tail::kClean;
  return Tail::kPartialRecord;
}

void DbfFile::RefuseCutTail(Tail tail) const {
  if (tail == Tail::kPartialRecord) {
    throw DbfError(
        FormatMessage("Cannot append to %s: the file ends with a partial record", path_));
  }
  if (tail == Tail::kCutHeader) {
    throw DbfError(FormatMessage("Cannot append to %s: the file ends inside its header", path_));
  }
}

DbfFile::Tail DbfFile::ReadTailUnderAppendLock(bool* had_lock) {
  *had_lock = TryAppendLock();
  Tail tail;
  try {
    tail = ReadTail();
  } catch (...) {
    if (*had_lock) file_.Unlock();
    throw;
  }
  if (*had_lock) file_.Unlock();
  return tail;
}

void DbfFile::RequireAppendableTail() {
  bool had_lock = false;
  const Tail tail = ReadTailUnderAppendLock(&had_lock);
  // Only a record lock held through this handle excuses the missing append
  // lock (the append tests again under it); another program holding the
  // lock is a failure, as it would be for the append.
  if (!had_lock && file_.lock_count() == 0) {
    throw DbfError(FormatMessage("Can not Lock file %s", path_));
  }
  RefuseCutTail(tail);
}

bool DbfFile::HasPartialRecord() {
  bool had_lock = false;
  return ReadTailUnderAppendLock(&had_lock) != Tail::kClean;
}

void DbfFile::SetDeletionFlag(uint8_t flag) {
  if (current_[0] == flag) return;
  MakeWritable()[0] = flag;
  changed_[0] = 1;
  PutRecord(recno_);
}

void DbfFile::Delete() {
  SetDeletionFlag('*');
}
void DbfFile::Recall() {
  SetDeletionFlag(' ');
}

void DbfFile::WriteHeader() {
  if (!file_.read_write() || !header_dirty_) return;
  if (file_.lock_count() > 0 && file_.locked_range() == dbf::LockRange{0, 0x7FFFFFFF}) return;
  const LocalTime now = Now();
  header_[1] = static_cast<uint8_t>(now.year % 100);
  header_[2] = static_cast<uint8_t>(now.month);
  header_[3] = static_cast<uint8_t>(now.day);
  Store32(&header_[4], record_count_);
  header_[15] = 0;
  const uint32_t stamp = static_cast<uint32_t>(
      ((now.hour * 64 + now.minute) * 64 + now.second) * 1024 + now.millisecond);
  Store32(&header_[16], stamp);
  Store32(&header_[20], user_id_);
  header_[28] &= 0x07;
  file_.Write(0, header_.data(), kHeaderSize);
  header_dirty_ = false;
}

// --- locks and sharing

bool DbfFile::LockRecord(uint32_t recno) {
  const bool index_open = hooks_ != nullptr && hooks_->HasOpenIndex();
  return file_.LockRange(
      RecordLockRange(protocol_, recno, index_open, header_length_, record_length_));
}

void DbfFile::AppendLock() {
  if (!TryAppendLock()) throw DbfError(FormatMessage("Can not Lock file %s", path_));
}

bool DbfFile::TryAppendLock() {
  const dbf::LockRange range = AppendLockRange(protocol_);
  for (int attempt = 1; attempt <= kIndexLockAttempts; ++attempt) {
    if (file_.LockRange(range)) return true;
    // Another range held through this very handle never frees by waiting.
    if (file_.lock_count() > 0) return false;
    if (attempt < kIndexLockAttempts) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kIndexLockPauseMs));
    }
  }
  return false;
}

void DbfFile::RefreshHeader() {
  if (!file_.shared()) return;
  std::array<uint8_t, 32> fresh;
  if (file_.Read(0, fresh.data(), kHeaderSize) < kHeaderSize) {
    throw DbfError(FormatMessage("Error on Read of file %s", path_));
  }
  header_ = fresh;
  CountRecords();
}

// Only whole records count; a trailing 0x1A or a partial record does not.
void DbfFile::CountRecords() {
  const uint64_t size = file_.FileSize();
  record_count_ =
      size > header_length_ ? static_cast<uint32_t>((size - header_length_) / record_length_) : 0;
}

void DbfFile::MarkStructuralIndex() {
  RefreshHeader();
  header_[28] |= 0x01;
  header_dirty_ = true;
  WriteHeader();
}

void DbfFile::LockIndexes() {
  if (hooks_) hooks_->LockIndexes();
}

void DbfFile::UnlockIndexes() {
  if (hooks_) hooks_->UnlockIndexes();
}

void DbfFile::Flush() {
  file_.Flush();
  if (hooks_) hooks_->Flush();
}

void DbfFile::MarkAllChanged(bool value) {
  std::memset(changed_.data(), value ? 1 : 0, changed_.size());
}

// --- field values

std::string_view DbfFile::Raw(int field) const {
  return codec::Raw(Require(field), record());
}

std::string DbfFile::GetString(int field) const {
  return FieldStringForm(Require(field), record(), version(), table_name_);
}

double DbfFile::GetNumber(int field) const {
  return codec::DecodeNumber(Require(field), record(), table_name_, version());
}

int64_t DbfFile::GetJulianDay(int field) const {
  const FieldDescriptor& f = Require(field);
  if (f.type != 'D') throw DbfError(FormatMessage("Field %s is the incorrect type", f.name));
  const std::string_view text = codec::TrimmedText(f, record());
  if (text.empty() || text == "00000000") return 0;
  std::optional<CivilDate> date;
  const bool eight_digits = text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
                              return c >= '0' && c <= '9';
                            });
  if (eight_digits) {
    date = ParseYyyymmdd(text);
    if (!date) return 0;  // eight digits that form no calendar date
  } else {
    date = ParseShortDate(text);
    if (!date) {
      throw DbfError(FormatMessage("Invalid date in field %s",
                                   table_name_ + "->" + f.name + " (" + std::string(text) + ")"));
    }
  }
  return DaysFromCivil(*date) + kJulianDayOfZeroDate;
}

bool DbfFile::GetLogical(int field) const {
  const FieldDescriptor& f = Require(field);
  if (f.type != 'L') throw DbfError(FormatMessage("Field %s is the incorrect type", f.name));
  return codec::DecodeLogical(f, record());
}

void DbfFile::PutRaw(int field, std::string_view text) {
  codec::EncodeRaw(Require(field), record(), text);
  changed_[field] = changed_[0] = 1;
}

void DbfFile::PutString(int field, std::string_view text) {
  PutFieldString(Require(field), record(), text, version(), table_name_);
  changed_[field] = changed_[0] = 1;
}

void DbfFile::PutNumber(int field, double value) {
  codec::EncodeNumber(Require(field), record(), value, version());
  changed_[field] = changed_[0] = 1;
}

void DbfFile::PutJulianDay(int field, int64_t julian_day) {
  const FieldDescriptor& f = Require(field);
  if (f.type != 'D') throw DbfError(FormatMessage("Field %s is the incorrect type", f.name));
  std::optional<CivilDate> date;
  if (julian_day > 0) date = CivilFromDays(julian_day - kJulianDayOfZeroDate);
  codec::EncodeDate(f, record(), date);
  changed_[field] = changed_[0] = 1;
}

void DbfFile::PutLogical(int field, bool value) {
  const FieldDescriptor& f = Require(field);
  if (f.type != 'L') throw DbfError(FormatMessage("Field %s is the incorrect type", f.name));
  codec::EncodeLogical(f, record(), value);
  changed_[field] = changed_[0] = 1;
}

}  // namespace dbf
