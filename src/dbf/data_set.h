#ifndef SALDEX_DBF_DATA_SET_H_
#define SALDEX_DBF_DATA_SET_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/dbf_file.h"
#include "dbf/field.h"
#include "dbf/field_def.h"
#include "dbf/field_kind.h"
#include "dbf/index_support.h"
#include "dbf/lock_protocol.h"
#include "dbf/order.h"
#include "dbf/record_buffer.h"
#include "dbf/search_value.h"

namespace dbf {

class DataSetObserver;

// Options of DbfDataSet::Locate.
struct LocateOptions {
  // Text fields compare without regard to case (ANSI upper case).
  bool case_insensitive = false;
  // The last located field matches records whose value begins with the given one.
  bool partial_key = false;
};

enum class DataSetState { kInactive, kBrowse, kEdit, kInsert };

// Progress report of a long operation (tag building): three 32-bit integers.
using StatusReportEvent = std::function<void(int32_t stat1, int32_t stat2, int32_t stat3)>;

// The dataset cursor over one DBF table: settings, typed field objects with
// code-page translation, moves in the current order with deleted records
// skipped, and edit / append / post turned into record locks and record
// writes. Errors of the cursor are DatasetError; those of the table file
// layer pass through as DbfError. A failing operation leaves the cursor in
// the state it had. Single-threaded.
//
// Lock lifetimes: Edit takes the record lock; Post and Cancel release it;
// Append and Insert release one level at their start; UnlockRecord releases
// one level; Close releases everything.
//
// A new record is written only by an explicit Post: Close, the destructor and
// every operation that ends the insert state on its own (moves, Append, RecNo
// write, ...) drop it. An edit is posted by those operations when fields were
// changed and no field write failed since Edit, and dropped otherwise.
class DbfDataSet {
 public:
  DbfDataSet();
  ~DbfDataSet();
  DbfDataSet(const DbfDataSet&) = delete;
  DbfDataSet& operator=(const DbfDataSet&) = delete;

  // --- settings (defaults in brackets)
  // Directory or alias name [""]. A new value may be set only while closed;
  // "Default Directory" stays as given, any other loses one trailing "/" and
  // is added to the AliasList as name=name when the list has no such name.
  const std::string& database_name() const { return database_name_; }
  void SetDatabaseName(const std::string& name);
  // File name relative to the directory [""]; only while closed. A new name
  // clears IndexFiles. Open adds ".DBF" when it has no extension.
  const std::string& table_name() const { return table_name_; }
  void SetTableName(const std::string& name);
  // [false] Applied at the next Open.
  bool exclusive() const { return exclusive_; }
  void set_exclusive(bool exclusive) { exclusive_ = exclusive; }
  // [false] Edit, Append, Insert, Delete and Recall raise "Cannot modify a
  // read-only dataset". Takes effect at once; clearing it cannot make a file
  // opened read-only writable.
  bool read_only() const { return read_only_; }
  void set_read_only(bool read_only) { read_only_ = read_only; }
  // [true] Text fields are translated OEM <-> ANSI, and key expressions read text as OEM.
  // Takes effect at once.
  bool translate_ascii() const { return translate_ascii_; }
  void set_translate_ascii(bool translate) {
    translate_ascii_ = translate;
    file_.set_translate_ascii(translate);
  }
  // [Default] Takes effect at once.
  LockProtocol lock_protocol() const { return lock_protocol_; }
  void SetLockProtocol(LockProtocol protocol);
  // [asInteger] Field kind of N fields without decimals, width >= 10.
  // Applied at the next Open.
  LargeIntegerAs large_integer_as() const { return large_integer_as_; }
  void set_large_integer_as(LargeIntegerAs as) { large_integer_as_ = as; }
  // [false] Whether moves show records carrying the deleted mark. Takes
  // effect with the next move.
  bool use_deleted() const { return use_deleted_; }
  void set_use_deleted(bool use_deleted) { use_deleted_ = use_deleted; }
  // [false] Flush the table file after every record write. At once.
  bool auto_flush() const { return auto_flush_; }
  void SetAutoFlush(bool auto_flush);
  // [0] Written into header bytes 20..23 on every header write. At once.
  uint32_t user_id() const { return user_id_; }
  void SetUserId(uint32_t user_id);
  // [false] RecordCount counts the candidates of the current order.
  bool exact_count() const { return exact_count_; }
  void set_exact_count(bool exact) { exact_count_ = exact; }
  // [empty] Index files opened with the table (needs index support: Open
  // raises "Index support is not installed" without it). An
  // emptied list clears IndexName. Assigned while open: every open index file
  // is closed and each listed one opened (".cdx" added without extension, the
  // table's directory without directory); raises "Cannot find file %s" (full
  // name) for a missing file and "Index file %s already open" for a name
  // listed twice; then IndexName is selected again.
  const std::vector<std::string>& index_files() const { return index_files_; }
  void SetIndexFiles(std::vector<std::string> files);
  // [empty] The selected tag's name as it was set; empty is natural order.
  // While closed the name is only stored and applied at Open after the index
  // files of IndexFiles (not when that list is empty); while open it is
  // SelectTag.
  const std::string& index_name() const { return index_name_; }
  void SetIndexName(const std::string& name);
  // [none] Progress handler; ReportStatus raises it.
  void set_on_status(StatusReportEvent handler) { on_status_ = std::move(handler); }
  void ReportStatus(int32_t stat1, int32_t stat2, int32_t stat3) const;

  // The directory DatabaseName resolves to, with a trailing "/"; empty when
  // DatabaseName is empty (the current directory).
  std::string ResolvedDirectory() const;

  // --- lifecycle
  // Raises "Table name missing", "Cannot find file %s" (the path), the
  // table file layer's open errors and the field binding errors.
  void Open();
  void Close();
  void SetActive(bool active) { active ? Open() : Close(); }
  bool active() const { return state_ != DataSetState::kInactive; }
  DataSetState state() const { return state_; }
  // Fields written since Edit / Append / Insert.
  bool modified() const { return modified_; }

  // --- fields
  // A field object bound by name at every Open; only while closed. Once any
  // field is declared, the declared ones are the cursor's only fields.
  // Open raises "Field '%s' not found" or "Type mismatch for field '%s',
  // expecting: %s actual: %s" (display name, declared kind, table kind).
  Field& DeclareField(const std::string& name, FieldKind kind);
  // Definitions of the open table, in descriptor order.
  const std::vector<FieldDef>& field_defs() const { return field_defs_; }
  int field_count() const { return static_cast<int>(fields_.size()); }
  // REQUIRES: 0 <= index < field_count().
  Field& field(int index) { return *fields_[index]; }
  // Case-insensitive; nullptr when absent.
  Field* FindField(std::string_view name) const;
  // Raises "Field '%s' not found".
  Field& FieldByName(std::string_view name) const;

  // --- moves (each first ends an edit or insert, see above)
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves up to |distance| candidates; returns the number moved.
  int MoveBy(int distance);
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  // Physical record number of the current record; 0 for none or a new one.
  uint32_t RecNo() const;
  // Goes to physical record `recno` ignoring order and range.
  void SetRecNo(uint32_t recno);
  uint32_t RecordCount();
  bool IsEmpty() const { return active() && row_.recno == 0 && state_ != DataSetState::kInsert; }
  // The current record carries the deleted mark.
  bool deleted() const;

  // --- changes
  void Append();
  void Insert();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  void Recall();
  // One try at the record lock of the current record.
  bool LockRecord();
  // Releases one level of the table's lock.
  void UnlockRecord();
  // Posts a changed edit and drops an unchanged edit or any insert.
  void CheckBrowseMode();

  // Code-page translation of text fields: ANSI -> OEM (`to_oem`) or back when
  // TranslateASCII is set, else a copy. Keeps the length; source and
  // destination may be the same.
  void Translate(const char* source, char* destination, size_t length, bool to_oem) const;
  std::string Translate(std::string_view text, bool to_oem) const;

  // --- index files and tags (index_support.h; every call below except
  // has_index_support raises DatasetError "Index support is not installed"
  // without it). Each requires an open cursor ("Cannot perform this operation
  // on a closed dataset") that is not building a tag ("Table is busy building
  // an index").
  // Installed once, while closed (idx::InstallIndexSupport does it).
  void SetIndexSupport(std::unique_ptr<IndexSupport> support);
  bool has_index_support() const { return index_support_ != nullptr; }
  // 0 when opened, -1 when that file is already open. ".cdx" is added without
  // extension; a name without directory is in the table's directory. Raises
  // "File %s could not be found" or "Index file %s is corrupted". The
  // selected tag does not change.
  int OpenIndexFile(const std::string& name);
  // Closes the open file with that file name (directory ignored, extension as
  // given: "X" does not close "X.cdx"); an unknown name is ignored. When the
  // selected tag lived there the order becomes natural without a move.
  void CloseIndexFile(const std::string& name);
  // Empty: natural order. Else the tag (case-insensitive, trimmed) of the
  // open files in slot order; raises "Cannot find index tag %s" keeping the
  // order. The previous tag's range is removed. Selecting the order in use
  // again (the same tag, or natural order by an empty name) keeps the current
  // record wherever it stands, at Bof or Eof too (Eof and Bof stay when the
  // tag had no range). Another order keeps the current record when it belongs
  // to it and the cursor is not at Bof or Eof; otherwise the cursor moves to
  // the first record.
  // Natural order selected by name (here, by IndexFiles with an empty
  // IndexName, or by closing the selected tag's file) reads through the
  // table's read-ahead window: records inside it show the file as it was when
  // the window was filled, until a move leaves the window (Edit, Delete and
  // Recall always read the record afresh). A selected tag switches it off.
  void SelectTag(const std::string& name);
  // Tags over all open files, numbered from 1 in slot order and file order.
  int TagCount() const;
  // Empty text outside 1..TagCount().
  std::string TagName(int n) const;
  std::string TagExpression(int n) const;
  // Builds tag `tag_name` of compound index file `index_file` (".cdx" added,
  // the table's directory without directory; created when missing) from
  // every record. Every index file of the table is closed first and none is
  // open afterwards; IndexName is cleared. unique_mode: 0 unique, 1 duplicates
  // allowed. sort_order: 0 ascending, 1 descending, 7 and 8 the same built
  // with the normal collation. OnStatus reports the progress; meanwhile every
  // other operation raises "Table is busy building an index". Afterwards,
  // whether it succeeded or not, the cursor is on its first record in
  // natural order. Raises "Cannot find index tag %s" (empty name),
  // "File %s could not be found" (no ".cdx" file can be opened or created),
  // "Index file %s is corrupted", expression and sort errors.
  void CreateTag(const std::string& index_file, const std::string& tag_name,
                 const std::string& key_expression, const std::string& for_expression,
                 uint8_t unique_mode, uint8_t sort_order);

  // --- searching (data_set_search.cpp). Each first posts a changed edit or
  // drops an unchanged one. A search that finds nothing raises nothing.
  // Finds the first record of the current order whose fields (names separated
  // by ";") hold the values (one per name; a missing value is empty), through
  // a tag whose key reads those fields or by scanning the table. Found: the
  // cursor is on it, in the selected order. Not found: the cursor, the
  // selected tag and its range stay. Raises "There is no field name %s".
  bool Locate(const std::string& field_names, const std::vector<SearchValue>& values,
              LocateOptions options = {});
  // Seeks `key` (ANSI) in the selected tag: a match is an equal key or, with
  // `exact` false, one beginning with `key`. No match: with `near` the
  // cursor goes to the next greater key (result false); otherwise, and when
  // the seek ran past the last key, to the last record with Eof. An empty
  // table or no current record: false without a move. Raises "No index is
  // assigned for Find operation" without a selected tag.
  bool Find(const std::string& key, bool exact, bool near);
  // Stores the values into the fields the selected tag's key reads (in
  // order), builds the key over that scratch record and seeks it (prefix
  // match). Not found: the cursor stays. Raises "No index is assigned for
  // Find operation"; "Invalid Number value for field %s" for a value that is
  // no number for an N field.
  bool FindKey(const std::vector<SearchValue>& values);
  // Limits the selected tag to keys from `low` (inclusive, prefix) to `high`
  // (inclusive, whole key); an empty text is an open side, both empty remove
  // the range. Without a tag nothing happens; unchanged bounds do not move
  // the cursor, changed ones move it to the first record in the range.
  void SetRange(const std::string& low, const std::string& high);

  // --- views
  void AddObserver(DataSetObserver* observer);
  void RemoveObserver(DataSetObserver* observer);
  // Nested; while disabled no view is told anything. Enabling tells the
  // views that everything changed.
  void DisableControls() { ++controls_disabled_; }
  void EnableControls();
  bool controls_disabled() const { return controls_disabled_ > 0; }

  // --- for the index layer
  DbfFile& file() { return file_; }
  const DbfFile& file() const { return file_; }
  // Replaces the candidate sequence (nullptr: natural order) and shows the
  // current record in it, or the first one when it does not belong to it.
  void SetOrder(std::unique_ptr<Order> order);
  Order& order() { return *order_; }
  // The current record was written or positioned but is not in the order.
  bool outside_order() const { return outside_order_; }
  // While set, moves, edits and index operations raise "Table is busy
  // building an index"; field values can still be read.
  void set_building_index(bool building) { building_index_ = building; }
  bool building_index() const { return building_index_; }

  // --- for field objects
  // The row fields read from: the work row in edit and insert, else the
  // current row; nullptr while closed.
  const uint8_t* active_record() const { return active_; }
  uint8_t* BeginFieldWrite(const Field& field);
  void FieldWriteFailed() { write_failed_ = true; }
  void FieldWritten(const Field& field);

 private:
  void CheckActive() const;
  void CheckNotBusy() const;
  void CheckCanModify() const;
  void BuildFields();
  void ReleaseFields();
  // Passes over hidden candidates in the direction of the move.
  bool SkipHidden(bool found, bool forward);
  bool Shown() const { return use_deleted_ || !file_.deleted(); }
  void TakeCandidate();
  void ShowEmpty();
  void Reseat();
  void EndMove();
  // First (`first`) or Last: the end candidate of the order, hidden records
  // skipped towards the other end.
  void MoveToEnd(bool first);
  void ReReadCurrent();
  bool ReadFresh(uint32_t recno);
  // Delete/Recall of the current record; raises DatasetError `failure`.
  void RewriteMark(bool deleted, const char* failure);
  const uint8_t* FileRecord() const { return file_.record(); }
  void SetState(DataSetState state);
  void BeginInsert();
  void LeaveInsertOrEdit();
  void ShowAfterRemoval();
  IndexSupport& Indexes() const;
  void CheckIndexOperation() const;
  void OpenListedIndexFiles(bool at_open);
  void ApplyIndexName();
  bool SelectsCurrentOrder(const std::string& name) const;
  // Installs the order selected again, keeping the current record (and Eof
  // and Bof when `same_ends`).
  void KeepOrder(std::unique_ptr<Order> order, bool same_ends);
  void ReadAheadForOrderByName(bool natural);
  void DropTagOrder();
  void FinishBuild();
  // Shows record `recno` (read into the file's buffer) in the current order.
  void ShowFound(uint32_t recno);
  void ShowLastAtEof();
  bool BeginSeek();
  IndexSupport::Visible VisibleRecords();
  std::vector<uint8_t> KeyRecord(const std::vector<std::string>& names,
                                 const std::vector<SearchValue>& values) const;
  std::optional<uint32_t> ScanTable(const std::vector<int>& fields, const uint8_t* key_record,
                                    LocateOptions options);

  template <typename Call>
  void Notify(Call&& call) {
    if (controls_disabled_ > 0) return;
    for (size_t i = 0; i < observers_.size(); ++i) call(*observers_[i]);
  }

  // settings
  std::string database_name_, table_name_;
  bool exclusive_ = false, read_only_ = false, translate_ascii_ = true;
  LockProtocol lock_protocol_ = LockProtocol::kDefault;
  LargeIntegerAs large_integer_as_ = LargeIntegerAs::kAsInteger;
  bool use_deleted_ = false, auto_flush_ = false, exact_count_ = false;
  uint32_t user_id_ = 0;
  std::vector<std::string> index_files_;
  std::string index_name_;
  StatusReportEvent on_status_;

  // open table
  DbfFile file_;
  std::unique_ptr<Order> order_;
  // After file_ and order_: goes first, while the table it serves still exists.
  std::unique_ptr<IndexSupport> index_support_;
  std::vector<FieldDef> field_defs_;
  std::vector<std::unique_ptr<Field>> declared_fields_, default_fields_;
  std::vector<Field*> fields_;
  RecordBuffer row_, work_, spare_;
  const uint8_t* active_ = nullptr;

  // state
  DataSetState state_ = DataSetState::kInactive;
  bool eof_ = true, bof_ = true;
  bool modified_ = false, write_failed_ = false;
  bool outside_order_ = false;
  bool building_index_ = false;
  bool opened_read_write_ = false;

  std::vector<DataSetObserver*> observers_;
  int controls_disabled_ = 0;
};

}  // namespace dbf

#endif  // SALDEX_DBF_DATA_SET_H_
