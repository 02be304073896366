// The cursor's searches: Locate (through a tag whose key reads the located fields, else a scan
// of the table), Find and FindKey in the selected tag, and SetRange.

#include <algorithm>
#include <cctype>

#include "dbf/ansi_case.h"
#include "dbf/data_set.h"
#include "dbf/data_set_observer.h"
#include "dbf/errors.h"
#include "dbf/field_string.h"

namespace dbf {
namespace {

constexpr size_t kMaxFindKeyLength = 255;

[[noreturn]] void Fail(const char* message) {
  throw DatasetError(message);
}

// Field names separated by ";", each trimmed; empty names are left out.
std::vector<std::string> SplitFieldNames(const std::string& names) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = names.find(';', start);
    if (end == std::string::npos) end = names.size();
    std::string name = names.substr(start, end - start);
    name.erase(0, name.find_first_not_of(" \t"));
    name.erase(name.find_last_not_of(" \t") + 1);
    if (!name.empty()) out.push_back(std::move(name));
    start = end + 1;
  }
  return out;
}

std::string AsciiUpper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Restores the read-ahead setting of a table when a scan ends.
class ReadAheadScope {
 public:
  explicit ReadAheadScope(DbfFile& file) : file_(file), was_(file.read_ahead_enabled()) {
    if (!was_) file_.EnableReadAhead(true);
  }
  ~ReadAheadScope() {
    if (!was_) file_.EnableReadAhead(false);
  }
  ReadAheadScope(const ReadAheadScope&) = delete;
  ReadAheadScope& operator=(const ReadAheadScope&) = delete;

 private:
  DbfFile& file_;
  bool was_;
};

}  // namespace

IndexSupport::Visible DbfDataSet::VisibleRecords() {
  return [this](uint32_t recno) { return file_.GoTo(recno) && Shown(); };
}

// A blank record with each named field holding the text of its value, translated to OEM and
// stored by the table layer's string put.
std::vector<uint8_t> DbfDataSet::KeyRecord(const std::vector<std::string>& names,
                                           const std::vector<SearchValue>& values) const {
  std::vector<uint8_t> record(file_.record_length() + 1, ' ');
  codec::BlankRecord(file_.fields().data(), file_.field_count(), record.data(),
                     file_.record_length(), file_.version());
  for (size_t i = 0; i < names.size(); ++i) {
    const FieldDescriptor& f = file_.field(file_.RequireField(names[i]));
    const std::string text = Translate(i < values.size() ? values[i].Text() : std::string(), true);
    PutFieldString(f, record.data(), text, file_.version(), file_.table_name());
  }
  return record;
}

void DbfDataSet::ShowFound(uint32_t recno) {
  if (!file_.GoTo(recno)) Fail("Record request beyond range of table");
  TakeCandidate();
  outside_order_ = !order_->Seat(row_.recno, row_.bytes.data());
  eof_ = bof_ = false;
}

void DbfDataSet::ShowLastAtEof() {
  if (SkipHidden(order_->Last(), false)) {
    TakeCandidate();
    eof_ = true;
    bof_ = false;
  } else {
    ShowEmpty();
  }
}

// --- Locate

bool DbfDataSet::Locate(const std::string& field_names, const std::vector<SearchValue>& values,
                        LocateOptions options) {
  CheckActive();
  CheckNotBusy();
  CheckBrowseMode();
  bool any;
  try {
    any = SkipHidden(order_->First(), true);
    Reseat();
  } catch (...) {
    Reseat();
    EndMove();
    throw;
  }
  if (!any) {
    EndMove();
    return false;
  }
  const std::vector<std::string> names = SplitFieldNames(field_names);
  std::vector<int> fields;
  std::string located;
  for (const std::string& name : names) {
    fields.push_back(file_.RequireField(name));
    located += AsciiUpper(name) + ";";
  }
  const std::vector<uint8_t> key = KeyRecord(names, values);

  std::optional<uint32_t> found;
  try {
    std::optional<IndexSupport::SeekResult> by_tag;
    if (index_support_ != nullptr) {
      by_tag =
          index_support_->LocateByTag(located, key.data(), options.partial_key, VisibleRecords());
    }
    if (by_tag) {
      if (by_tag->found) found = by_tag->record;
    } else {
      found = ScanTable(fields, key.data(), options);
    }
    if (!found) {
      Reseat();
      EndMove();
      return false;
    }
    Notify([&](DataSetObserver& o) { o.BeforeScroll(*this); });
    ShowFound(*found);
  } catch (...) {
    Reseat();
    EndMove();
    throw;
  }
  EndMove();
  Notify([&](DataSetObserver& o) { o.DataSetChanged(*this); });
  Notify([&](DataSetObserver& o) { o.AfterScroll(*this); });
  return true;
}

// The first shown record in natural order whose located fields hold the key record's values,
// compared as the table layer's string forms.
std::optional<uint32_t> DbfDataSet::ScanTable(const std::vector<int>& fields,
                                              const uint8_t* key_record, LocateOptions options) {
  const auto fold = [&](std::string text) {
    if (!options.case_insensitive) return text;
    return Translate(AnsiCase::Get().ToUpper(Translate(text, false)), true);
  };
  std::vector<std::string> wanted;
  for (int field : fields) {
    wanted.push_back(
        fold(FieldStringForm(file_.field(field), key_record, file_.version(), file_.table_name())));
  }
  ReadAheadScope read_ahead(file_);
  for (uint32_t recno = 1; file_.GoTo(recno); ++recno) {
    if (!Shown()) continue;
    bool match = true;
    for (size_t i = 0; match && i < fields.size(); ++i) {
      std::string text = fold(file_.GetString(fields[i]));
      if (options.partial_key && i + 1 == fields.size() && text.size() > wanted[i].size()) {
        text.resize(wanted[i].size());
      }
      match = text == wanted[i];
    }
    if (match) return recno;
  }
  return std::nullopt;
}

// --- Find and FindKey

// The start of Find and FindKey: false when there is nothing to seek in.
bool DbfDataSet::BeginSeek() {
  CheckActive();
  CheckNotBusy();
  CheckBrowseMode();
  if (index_support_ == nullptr || !index_support_->tag_selected()) {
    Fail("No index is assigned for Find operation");
  }
  if (file_.record_count() == 0 || row_.recno == 0) return false;
  Notify([&](DataSetObserver& o) { o.BeforeScroll(*this); });
  return true;
}

bool DbfDataSet::Find(const std::string& key, bool exact, bool near) {
  if (!BeginSeek()) return false;
  const std::string oem = Translate(std::string_view(key).substr(0, kMaxFindKeyLength), true);
  IndexSupport::SeekResult result;
  try {
    result = index_support_->Seek(oem, exact, near, VisibleRecords());
    if (result.record != 0) {
      ShowFound(result.record);
    } else {
      ShowLastAtEof();
    }
  } catch (...) {
    Reseat();
    EndMove();
    throw;
  }
  EndMove();
  Notify([&](DataSetObserver& o) { o.DataSetChanged(*this); });
  Notify([&](DataSetObserver& o) { o.AfterScroll(*this); });
  return result.found;
}

bool DbfDataSet::FindKey(const std::vector<SearchValue>& values) {
  if (!BeginSeek()) return false;
  std::vector<std::string> names = index_support_->SelectedKeyFields();
  // One field per value; values beyond the fields the key reads are left out.
  if (names.size() > values.size()) names.resize(values.size());
  bool found = false;
  try {
    const std::vector<uint8_t> key = KeyRecord(names, values);
    const IndexSupport::SeekResult result =
        index_support_->SeekRecordKey(key.data(), VisibleRecords());
    found = result.found;
    if (found) {
      ShowFound(result.record);
    } else {
      Reseat();
    }
  } catch (...) {
    Reseat();
    EndMove();
    throw;
  }
  EndMove();
  if (found) Notify([&](DataSetObserver& o) { o.DataSetChanged(*this); });
  Notify([&](DataSetObserver& o) { o.AfterScroll(*this); });
  return found;
}

// --- SetRange

void DbfDataSet::SetRange(const std::string& low, const std::string& high) {
  CheckActive();
  CheckNotBusy();
  CheckBrowseMode();
  if (index_support_ == nullptr || !index_support_->tag_selected()) return;
  bool changed;
  try {
    changed = index_support_->SetRange(Translate(low, true), Translate(high, true));
  } catch (...) {
    Reseat();
    EndMove();
    throw;
  }
  if (changed) {
    First();
  } else {
    EndMove();
  }
}

}  // namespace dbf
