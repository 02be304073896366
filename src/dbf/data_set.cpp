#include "dbf/data_set.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "dbf/alias_list.h"
#include "dbf/ascii_text.h"
#include "dbf/charset_tables.h"
#include "dbf/data_set_observer.h"
#include "dbf/errors.h"
#include "dbf/file_names.h"
#include "dbf/natural_order.h"

namespace dbf {
namespace {

constexpr const char* kDefaultDirectory = "Default Directory";

[[noreturn]] void Fail(const char* message) {
  throw DatasetError(message);
}

}  // namespace

DbfDataSet::DbfDataSet() : order_(std::make_unique<NaturalOrder>(file_)) {}

DbfDataSet::~DbfDataSet() {
  building_index_ = false;
  observers_.clear();  // views are not told of the cursor's end
  try {
    Close();
  } catch (const EngineError&) {
    // Closing the file releases its locks whatever failed before.
  }
}

// --- settings

void DbfDataSet::SetDatabaseName(const std::string& name) {
  if (name == database_name_) return;
  if (active()) Fail("Cannot perform this operation on an open dataset");
  std::string value = name;
  if (!EqualsIgnoringCase(value, kDefaultDirectory)) {
    // "/" alone is the root directory, not an empty name.
    if (value.size() > 1 && value.back() == '/') value.pop_back();
    if (!value.empty() && !AliasList::Global().Contains(value)) {
      AliasList::Global().Set(value, value);
    }
  }
  database_name_ = value;
}

void DbfDataSet::SetTableName(const std::string& name) {
  if (name == table_name_) return;
  if (active()) Fail("Cannot perform this operation on an open dataset");
  table_name_ = name;
  index_files_.clear();
}

void DbfDataSet::SetLockProtocol(LockProtocol protocol) {
  lock_protocol_ = protocol;
  if (!active()) return;
  file_.set_lock_protocol(protocol);
  if (index_support_ != nullptr) index_support_->SetLockProtocol(protocol);
}

void DbfDataSet::SetAutoFlush(bool auto_flush) {
  auto_flush_ = auto_flush;
  if (active()) file_.set_auto_flush(auto_flush);
}

void DbfDataSet::SetUserId(uint32_t user_id) {
  user_id_ = user_id;
  if (active()) file_.set_user_id(user_id);
}

void DbfDataSet::ReportStatus(int32_t stat1, int32_t stat2, int32_t stat3) const {
  if (on_status_) on_status_(stat1, stat2, stat3);
}

std::string DbfDataSet::ResolvedDirectory() const {
  std::string directory;
  if (EqualsIgnoringCase(database_name_, kDefaultDirectory)) {
    directory = ProgramDirectory();
  } else {
    directory = AliasList::Global().Value(database_name_);
    if (directory.empty()) directory = database_name_;
  }
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

// --- lifecycle

void DbfDataSet::Open() {
  if (active()) return;
  if (table_name_.empty()) Fail("Table name missing");
  table_name_ = WithDefaultExtension(table_name_, ".DBF");
  const std::string path = ResolvedDirectory() + table_name_;
  if (!FileExistsIgnoringCase(path)) {
    throw DatasetError(FormatMessage("Cannot find file %s", path));
  }
  file_.Open(path, !exclusive_, !read_only_);
  opened_read_write_ = !read_only_;
  try {
    file_.set_lock_protocol(lock_protocol_);
    file_.set_auto_flush(auto_flush_);
    file_.set_user_id(user_id_);
    file_.set_translate_ascii(translate_ascii_);
    BuildFields();
    row_.Resize(file_.record_length());
    work_.Resize(file_.record_length());
    spare_.Resize(file_.record_length());
    row_.SetRecno(0);
    active_ = row_.bytes.data();
    order_ = std::make_unique<NaturalOrder>(file_);
    outside_order_ = false;
    modified_ = write_failed_ = false;
    state_ = DataSetState::kBrowse;
    if (index_support_ != nullptr) {
      index_support_->TableOpened(file_);
      OpenListedIndexFiles(true);
      if (!index_files_.empty()) ApplyIndexName();
    } else if (!index_files_.empty()) {
      Fail("Index support is not installed");
    }
    First();
  } catch (...) {
    state_ = DataSetState::kInactive;
    active_ = nullptr;
    ReleaseFields();
    order_ = std::make_unique<NaturalOrder>(file_);
    if (index_support_ != nullptr) index_support_->TableClosing();
    file_.Close();
    throw;
  }
  Notify([&](DataSetObserver& o) { o.ActiveChanged(*this); });
}

void DbfDataSet::Close() {
  if (!active()) return;
  CheckNotBusy();
  // An edit in progress is dropped with its lock; a new record is never
  // written by Close.
  state_ = DataSetState::kInactive;
  active_ = nullptr;
  ReleaseFields();
  order_ = std::make_unique<NaturalOrder>(file_);
  if (index_support_ != nullptr) index_support_->TableClosing();
  file_.Close();
  row_.SetRecno(0);
  eof_ = bof_ = true;
  modified_ = write_failed_ = false;
  Notify([&](DataSetObserver& o) { o.ActiveChanged(*this); });
}

void DbfDataSet::BuildFields() {
  field_defs_.clear();
  for (const FieldDescriptor& d : file_.fields()) {
    const std::optional<FieldKind> kind = KindOfField(d, file_.version(), large_integer_as_);
    if (!kind) continue;
    field_defs_.push_back(
        FieldDef{d.name, *kind, *kind == FieldKind::kString ? d.width : 0u, d.number});
  }
  fields_.clear();
  default_fields_.clear();
  if (declared_fields_.empty()) {
    for (const FieldDef& def : field_defs_) {
      default_fields_.push_back(std::make_unique<Field>(def.name, def.kind));
      Field& f = *default_fields_.back();
      f.Bind(this, &file_.field(def.field_no), file_.version());
      fields_.push_back(&f);
    }
    return;
  }
  for (const auto& declared : declared_fields_) {
    Field& f = *declared;
    const auto def = std::find_if(field_defs_.begin(), field_defs_.end(), [&](const FieldDef& d) {
      return EqualsIgnoringCase(d.name, f.name());
    });
    if (def == field_defs_.end()) {
      throw DatasetError(FormatMessage("Field '%s' not found", f.display_name()));
    }
    if (!SameFamily(f.kind(), def->kind)) {
      throw DatasetError(FormatMessage("Type mismatch for field '%s', expecting: %s actual: %s",
                                       f.display_name(), KindName(f.kind()), KindName(def->kind)));
    }
    f.Bind(this, &file_.field(def->field_no), file_.version());
    fields_.push_back(&f);
  }
}

void DbfDataSet::ReleaseFields() {
  for (const auto& f : declared_fields_) f->Unbind();
  fields_.clear();
  default_fields_.clear();
  field_defs_.clear();
  for (const auto& f : declared_fields_) fields_.push_back(f.get());
}

// --- fields

Field& DbfDataSet::DeclareField(const std::string& name, FieldKind kind) {
  if (active()) Fail("Cannot perform this operation on an open dataset");
  declared_fields_.push_back(std::make_unique<Field>(name, kind));
  Field& f = *declared_fields_.back();
  f.data_set_ = this;
  fields_.push_back(&f);
  return f;
}

Field* DbfDataSet::FindField(std::string_view name) const {
  for (Field* f : fields_) {
    if (EqualsIgnoringCase(f->name(), name)) return f;
  }
  return nullptr;
}

Field& DbfDataSet::FieldByName(std::string_view name) const {
  Field* f = FindField(name);
  if (f == nullptr) throw DatasetError(FormatMessage("Field '%s' not found", std::string(name)));
  return *f;
}

uint8_t* DbfDataSet::BeginFieldWrite(const Field& field) {
  if (field.read_only()) {
    throw DatasetError(FormatMessage("Field '%s' cannot be modified", field.display_name()));
  }
  CheckActive();
  if (state_ != DataSetState::kEdit && state_ != DataSetState::kInsert) {
    Fail("Dataset not in edit or insert mode");
  }
  return work_.bytes.data();
}

void DbfDataSet::FieldWritten(const Field& field) {
  modified_ = true;
  Notify([&](DataSetObserver& o) { o.FieldChanged(*this, field); });
}

// --- checks

void DbfDataSet::CheckActive() const {
  if (!active()) Fail("Cannot perform this operation on a closed dataset");
}

void DbfDataSet::CheckNotBusy() const {
  if (building_index_) Fail("Table is busy building an index");
}

void DbfDataSet::CheckCanModify() const {
  if (read_only_ || !opened_read_write_) Fail("Cannot modify a read-only dataset");
}

// --- moves

bool DbfDataSet::SkipHidden(bool found, bool forward) {
  while (found && !Shown()) found = forward ? order_->Next() : order_->Prior();
  return found;
}

void DbfDataSet::TakeCandidate() {
  row_.Assign(FileRecord(), file_.recno());
  outside_order_ = false;
}

void DbfDataSet::ShowEmpty() {
  row_.Clear();
  order_->Seat(0, row_.bytes.data());
  outside_order_ = false;
  eof_ = bof_ = true;
}

void DbfDataSet::Reseat() {
  if (row_.recno != 0)
    outside_order_ = !order_->Seat(row_.recno, row_.bytes.data());
  else
    order_->Seat(0, row_.bytes.data());
}

void DbfDataSet::EndMove() {
  // With ClipLock every move clears index locks left behind by a seek.
  if (lock_protocol_ == LockProtocol::kClipLock) file_.UnlockIndexes();
}

void DbfDataSet::First() {
  MoveToEnd(true);
}

void DbfDataSet::Last() {
  MoveToEnd(false);
}

void DbfDataSet::MoveToEnd(bool first) {
  CheckActive();
  CheckNotBusy();
  CheckBrowseMode();
  Notify([&](DataSetObserver& o) { o.BeforeScroll(*this); });
  bool found;
  try {
    found = first ? SkipHidden(order_->First(), true) : SkipHidden(order_->Last(), false);
  } catch (const DbfError&) {
    Reseat();
    EndMove();
    Fail("Record request beyond range of table");
  }
  if (found) {
    TakeCandidate();
    bof_ = first;
    eof_ = !first;
  } else {
    ShowEmpty();
  }
  EndMove();
  Notify([&](DataSetObserver& o) { o.DataSetChanged(*this); });
  Notify([&](DataSetObserver& o) { o.AfterScroll(*this); });
}

int DbfDataSet::MoveBy(int distance) {
  CheckActive();
  CheckNotBusy();
  CheckBrowseMode();
  if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  Notify([&](DataSetObserver& o) { o.BeforeScroll(*this); });
  const bool forward = distance > 0;
  const int steps = forward ? distance : -distance;
  // A failure after some steps puts back the record the move started from.
  if (steps > 1) spare_.Assign(row_.bytes.data(), row_.recno);
  const bool was_outside = outside_order_;
  eof_ = bof_ = false;
  int moved = 0;
  try {
    if (outside_order_) Reseat();
    for (; moved < steps; ++moved) {
      const bool found = SkipHidden(forward ? order_->Next() : order_->Prior(), forward);
      if (!found) {
        (forward ? eof_ : bof_) = true;
        Reseat();
        break;
      }
      TakeCandidate();
    }
  } catch (const DbfError&) {
    if (moved > 0) row_.Assign(spare_.bytes.data(), spare_.recno);
    outside_order_ = was_outside;
    Reseat();
    EndMove();
    Fail("Record request beyond range of table");
  }
  EndMove();
  if (moved > 0) Notify([&](DataSetObserver& o) { o.AfterScroll(*this); });
  return forward ? moved : -moved;
}

uint32_t DbfDataSet::RecNo() const {
  CheckActive();
  return state_ == DataSetState::kInsert ? 0 : row_.recno;
}

void DbfDataSet::SetRecNo(uint32_t recno) {
  CheckActive();
  CheckNotBusy();
  CheckBrowseMode();
  Notify([&](DataSetObserver& o) { o.BeforeScroll(*this); });
  bool found;
  try {
    found = order_->GoToRecord(recno);
  } catch (...) {
    Reseat();
    throw;
  }
  if (!found) {
    Reseat();
    throw DbfError(
        FormatMessage("Record number %d is not in table %s", std::to_string(recno), file_.path()));
  }
  TakeCandidate();
  outside_order_ = !order_->Seat(row_.recno, row_.bytes.data());
  eof_ = bof_ = false;
  EndMove();
  Notify([&](DataSetObserver& o) { o.DataSetChanged(*this); });
  Notify([&](DataSetObserver& o) { o.AfterScroll(*this); });
}

uint32_t DbfDataSet::RecordCount() {
  CheckActive();
  if (!exact_count_) return file_.record_count();
  CheckNotBusy();
  uint32_t count = 0;
  try {
    for (bool found = SkipHidden(order_->First(), true); found;
         found = SkipHidden(order_->Next(), true)) {
      ++count;
    }
  } catch (...) {
    Reseat();
    throw;
  }
  Reseat();
  EndMove();
  return count;
}

bool DbfDataSet::deleted() const {
  CheckActive();
  return active_[0] == '*';
}

// --- changes

void DbfDataSet::SetState(DataSetState state) {
  state_ = state;
  active_ = (state == DataSetState::kEdit || state == DataSetState::kInsert) ? work_.bytes.data()
                                                                             : row_.bytes.data();
  Notify([&](DataSetObserver& o) { o.StateChanged(*this); });
}

void DbfDataSet::CheckBrowseMode() {
  if (state_ == DataSetState::kEdit && modified_ && !write_failed_) {
    Post();
  } else if (state_ == DataSetState::kEdit || state_ == DataSetState::kInsert) {
    Cancel();
  }
}

void DbfDataSet::BeginInsert() {
  CheckActive();
  CheckNotBusy();
  CheckCanModify();
  CheckBrowseMode();
  Notify([&](DataSetObserver& o) { o.BeforeScroll(*this); });
  file_.Unlock();
  codec::BlankRecord(file_.fields().data(), file_.field_count(), work_.bytes.data(),
                     file_.record_length(), file_.version());
  work_.SetRecno(0);
  modified_ = write_failed_ = false;
  SetState(DataSetState::kInsert);
  Notify([&](DataSetObserver& o) { o.RecordChanged(*this); });
  Notify([&](DataSetObserver& o) { o.AfterScroll(*this); });
}

void DbfDataSet::Append() {
  BeginInsert();
}

void DbfDataSet::Insert() {
  BeginInsert();
}

bool DbfDataSet::ReadFresh(uint32_t recno) {
  // Around the read-ahead window: the record must show the file as it is now.
  const bool window = file_.read_ahead_enabled();
  if (window) file_.EnableReadAhead(false);
  bool found;
  try {
    found = file_.GoTo(recno);
  } catch (...) {
    if (window) file_.EnableReadAhead(true);
    throw;
  }
  if (window) file_.EnableReadAhead(true);
  return found;
}

void DbfDataSet::ReReadCurrent() {
  if (!ReadFresh(row_.recno)) Fail("Record request beyond range of table");
  row_.Assign(FileRecord(), row_.recno);
}

void DbfDataSet::Edit() {
  CheckActive();
  CheckNotBusy();
  if (state_ == DataSetState::kEdit || state_ == DataSetState::kInsert) return;
  CheckCanModify();
  if (row_.recno == 0) {
    BeginInsert();
    return;
  }
  // The lock comes before the re-read, so no change of another program can
  // slip in between what is read and what Post writes back.
  const bool locked = file_.LockRecord(row_.recno);
  try {
    ReReadCurrent();
  } catch (...) {
    if (locked) file_.Unlock();
    throw;
  }
  Notify([&](DataSetObserver& o) { o.RecordChanged(*this); });
  if (!locked) Fail("Record is locked by another user");
  work_.Assign(row_.bytes.data(), row_.recno);
  modified_ = write_failed_ = false;
  SetState(DataSetState::kEdit);
}

void DbfDataSet::Post() {
  CheckActive();
  CheckNotBusy();
  if (state_ != DataSetState::kEdit && state_ != DataSetState::kInsert) return;
  Notify([&](DataSetObserver& o) { o.UpdateData(*this); });
  const uint32_t length = file_.record_length();
  try {
    if (state_ == DataSetState::kEdit) {
      // The file's saved copy must be this record as read: the index layer
      // takes the old keys from it.
      if (file_.recno() != work_.recno) file_.GoTo(work_.recno);
      for (const FieldDescriptor& f : file_.fields()) {
        const uint8_t* mine = work_.bytes.data() + f.offset;
        if (std::memcmp(mine, FileRecord() + f.offset, f.width) != 0) {
          file_.PutRaw(f.number, std::string_view(reinterpret_cast<const char*>(mine), f.width));
        }
      }
      std::memcpy(file_.record(), work_.bytes.data(), length);
      file_.PutRecord(work_.recno);
    } else {
      file_.BlankRecord();
      std::memcpy(file_.record(), work_.bytes.data(), length);
      file_.Append();
    }
  } catch (...) {
    write_failed_ = true;
    throw;
  }
  file_.Unlock();
  TakeCandidate();
  outside_order_ = !order_->Seat(row_.recno, row_.bytes.data());
  eof_ = bof_ = false;
  modified_ = write_failed_ = false;
  SetState(DataSetState::kBrowse);
  Notify([&](DataSetObserver& o) { o.DataSetChanged(*this); });
}

void DbfDataSet::Cancel() {
  CheckActive();
  if (state_ != DataSetState::kEdit && state_ != DataSetState::kInsert) return;
  const bool editing = state_ == DataSetState::kEdit;
  modified_ = write_failed_ = false;
  SetState(DataSetState::kBrowse);
  if (editing) file_.Unlock();
  Notify([&](DataSetObserver& o) { o.DataSetChanged(*this); });
}

void DbfDataSet::ShowAfterRemoval() {
  // The current record left the visible set: the next one, else the previous.
  const uint32_t removed = row_.recno;
  order_->Seat(removed, row_.bytes.data());
  if (SkipHidden(order_->Next(), true)) {
    TakeCandidate();
    eof_ = bof_ = false;
    return;
  }
  order_->Seat(removed, row_.bytes.data());
  if (SkipHidden(order_->Prior(), false)) {
    TakeCandidate();
    eof_ = true;
    bof_ = false;
    return;
  }
  ShowEmpty();
}

void DbfDataSet::Delete() {
  CheckActive();
  CheckNotBusy();
  CheckCanModify();
  if (state_ == DataSetState::kInsert) {
    Cancel();
    return;
  }
  CheckBrowseMode();  // a changed edit is posted before the record is marked
  if (row_.recno == 0) Fail("Cannot perform this operation on an empty dataset");
  RewriteMark(/*deleted=*/true, "Cannot delete the record");
  if (!Shown()) {
    try {
      ShowAfterRemoval();
    } catch (const DbfError&) {
      Reseat();
      Fail("Record request beyond range of table");
    }
  }
  EndMove();
  Notify([&](DataSetObserver& o) { o.DataSetChanged(*this); });
  Notify([&](DataSetObserver& o) { o.AfterScroll(*this); });
}

void DbfDataSet::Recall() {
  CheckActive();
  CheckNotBusy();
  CheckCanModify();
  CheckBrowseMode();
  if (row_.recno == 0) Fail("Cannot perform this operation on an empty dataset");
  RewriteMark(/*deleted=*/false, "Cannot recall the record");
  Notify([&](DataSetObserver& o) { o.RecordChanged(*this); });
}

void DbfDataSet::RewriteMark(bool deleted, const char* failure) {
  // The record as it is in the file now, with only the mark changed. A record
  // gone from the file fails like a refused write: the order is reseated first.
  bool written = false;
  try {
    if (ReadFresh(row_.recno)) {
      deleted ? file_.Delete() : file_.Recall();
      written = true;
    }
  } catch (const DbfError&) {
  }
  if (!written) {
    Reseat();
    Fail(failure);
  }
  row_.Assign(FileRecord(), row_.recno);
}

bool DbfDataSet::LockRecord() {
  CheckActive();
  const uint32_t recno = state_ == DataSetState::kInsert ? 0 : row_.recno;
  return recno != 0 && file_.LockRecord(recno);
}

void DbfDataSet::UnlockRecord() {
  CheckActive();
  file_.Unlock();
}

void DbfDataSet::Translate(const char* source, char* destination, size_t length,
                           bool to_oem) const {
  CharsetTables::Get().Translate(source, destination, length, to_oem, translate_ascii_);
}

std::string DbfDataSet::Translate(std::string_view text, bool to_oem) const {
  std::string out(text);
  Translate(out.data(), out.data(), out.size(), to_oem);
  return out;
}

// --- index layer

void DbfDataSet::SetOrder(std::unique_ptr<Order> order) {
  CheckActive();
  CheckNotBusy();
  CheckBrowseMode();
  order_ = order ? std::move(order) : std::make_unique<NaturalOrder>(file_);
  const bool keep =
      row_.recno != 0 && !eof_ && !bof_ && order_->Seat(row_.recno, row_.bytes.data()) && Shown();
  if (keep) {
    outside_order_ = false;
    Notify([&](DataSetObserver& o) { o.DataSetChanged(*this); });
    return;
  }
  First();
}

// --- views

void DbfDataSet::AddObserver(DataSetObserver* observer) {
  observers_.push_back(observer);
}

void DbfDataSet::RemoveObserver(DataSetObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void DbfDataSet::EnableControls() {
  if (controls_disabled_ > 0 && --controls_disabled_ == 0) {
    Notify([&](DataSetObserver& o) { o.DataSetChanged(*this); });
  }
}

}  // namespace dbf
