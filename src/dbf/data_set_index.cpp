// The cursor's index files and tags: IndexFiles and IndexName, OpenIndexFile, CloseIndexFile,
// SelectTag, the tag catalogue and CreateTag. The index files themselves live behind
// IndexSupport.

#include <cctype>
#include <filesystem>
#include <system_error>

#include "dbf/ascii_text.h"
#include "dbf/data_set.h"
#include "dbf/data_set_observer.h"
#include "dbf/errors.h"
#include "dbf/file_names.h"
#include "dbf/natural_order.h"
#include "dbf/system_path.h"

namespace dbf {
namespace {

// A tag name as the index files look it up: trimmed, upper case.
std::string TagLookupName(const std::string& name) {
  return AsciiUpperCase(Trim(name));
}

bool HasCdxExtension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string extension = path.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".cdx";
}

}  // namespace

void DbfDataSet::SetIndexSupport(std::unique_ptr<IndexSupport> support) {
  if (active()) throw DatasetError("Cannot perform this operation on an open dataset");
  index_support_ = std::move(support);
}

IndexSupport& DbfDataSet::Indexes() const {
  if (index_support_ == nullptr) throw DatasetError("Index support is not installed");
  return *index_support_;
}

void DbfDataSet::CheckIndexOperation() const {
  CheckActive();
  CheckNotBusy();
  Indexes();
}

// --- IndexFiles and IndexName

void DbfDataSet::SetIndexFiles(std::vector<std::string> files) {
  if (!active()) {
    index_files_ = std::move(files);
    if (index_files_.empty()) index_name_.clear();
    return;
  }
  CheckIndexOperation();
  CheckBrowseMode();
  index_files_ = std::move(files);
  if (index_files_.empty()) index_name_.clear();
  DropTagOrder();
  OpenListedIndexFiles(false);
  ApplyIndexName();
}

// Closes every index file and opens the listed ones. At Open a name listed twice is opened
// once; in an edited list it is an error.
void DbfDataSet::OpenListedIndexFiles(bool at_open) {
  IndexSupport& indexes = Indexes();
  indexes.CloseAllIndexFiles();
  for (const std::string& name : index_files_) {
    std::string path = WithDefaultExtension(name, ".cdx");
    if (path.find('/') == std::string::npos) path = ResolvedDirectory() + path;
    path = ExpandFileName(path);
    if (!FileExistsIgnoringCase(path)) {
      throw DatasetError(FormatMessage("Cannot find file %s", path));
    }
    if (indexes.OpenIndexFile(path) < 0 && !at_open) {
      throw DatasetError(FormatMessage("Index file %s already open", path));
    }
  }
}

// Selects IndexName in the files just opened. At Open (state browse, no record shown yet) the
// order is only installed; Open moves to its first record.
void DbfDataSet::ApplyIndexName() {
  std::unique_ptr<Order> order = Indexes().SelectTag(index_name_);
  ReadAheadForOrderByName(order == nullptr);
  if (row_.recno == 0 && eof_ && bof_) {
    order_ = order ? std::move(order) : std::make_unique<NaturalOrder>(file_);
    return;
  }
  SetOrder(std::move(order));
}

// Natural order selected by name reads through the read-ahead window, a tag
// order bypasses it (so tag moves see other programs' changes at once).
void DbfDataSet::ReadAheadForOrderByName(bool natural) {
  if (file_.read_ahead_enabled() != natural) file_.EnableReadAhead(natural);
}

void DbfDataSet::SetIndexName(const std::string& name) {
  if (!active()) {
    index_name_ = name;
    return;
  }
  SelectTag(name);
}

// Natural order without a move, before the files behind a tag order close.
void DbfDataSet::DropTagOrder() {
  if (order_->natural()) return;
  order_ = std::make_unique<NaturalOrder>(file_);
  Reseat();
}

// --- index files

int DbfDataSet::OpenIndexFile(const std::string& name) {
  CheckIndexOperation();
  CheckBrowseMode();
  return Indexes().OpenIndexFile(name);
}

void DbfDataSet::CloseIndexFile(const std::string& name) {
  CheckIndexOperation();
  CheckBrowseMode();
  IndexSupport& indexes = Indexes();
  const bool had_tag = indexes.tag_selected();
  indexes.CloseIndexFile(name);
  if (had_tag && !indexes.tag_selected()) {
    // The tag order refers to a closed file: replaced at once, never used again.
    order_ = std::make_unique<NaturalOrder>(file_);
    Reseat();
    index_name_.clear();
    ReadAheadForOrderByName(true);
  }
}

// --- tags

// Whether `name` selects the order in use: the tag selected now (names compared trimmed and
// without regard to case), or natural order for an empty name.
bool DbfDataSet::SelectsCurrentOrder(const std::string& name) const {
  const std::string wanted = TagLookupName(name);
  if (wanted.empty()) return order_->natural();
  return !order_->natural() && Indexes().tag_selected() && wanted == TagLookupName(index_name_);
}

void DbfDataSet::SelectTag(const std::string& name) {
  CheckIndexOperation();
  CheckBrowseMode();
  const bool same_order = SelectsCurrentOrder(name);
  // Selecting it again removes the tag's range: the ends of the range are no ends any more.
  const bool same_ends = same_order && !Indexes().selected_tag_has_range();
  std::unique_ptr<Order> order = Indexes().SelectTag(name);
  index_name_ = name;
  ReadAheadForOrderByName(order == nullptr);
  if (same_order) {
    KeepOrder(std::move(order), same_ends);
  } else {
    SetOrder(std::move(order));
  }
}

void DbfDataSet::KeepOrder(std::unique_ptr<Order> order, bool same_ends) {
  order_ = order ? std::move(order) : std::make_unique<NaturalOrder>(file_);
  if (row_.recno == 0 || !order_->Seat(row_.recno, row_.bytes.data()) || !Shown()) {
    First();
    return;
  }
  // The current record stays, also after Last or a search that ran past the end (Eof) or
  // after First (Bof).
  outside_order_ = false;
  if (!same_ends) eof_ = bof_ = false;
  Notify([&](DataSetObserver& o) { o.DataSetChanged(*this); });
  Notify([&](DataSetObserver& o) { o.AfterScroll(*this); });
}

int DbfDataSet::TagCount() const {
  CheckIndexOperation();
  return Indexes().TagCount();
}

std::string DbfDataSet::TagName(int n) const {
  CheckIndexOperation();
  return Indexes().TagName(n);
}

std::string DbfDataSet::TagExpression(int n) const {
  CheckIndexOperation();
  return Indexes().TagExpression(n);
}

// --- building

void DbfDataSet::CreateTag(const std::string& index_file, const std::string& tag_name,
                           const std::string& key_expression, const std::string& for_expression,
                           uint8_t unique_mode, uint8_t sort_order) {
  CheckIndexOperation();
  CheckBrowseMode();
  std::string path = WithDefaultExtension(index_file, ".cdx");
  if (path.find('/') == std::string::npos) path = ResolvedDirectory() + path;
  IndexSupport::NewTag tag;
  tag.key_expression = key_expression;
  tag.for_expression = for_expression;
  tag.unique = unique_mode == 0;
  // 7 and 8 ask for the "GENERAL" collation, which is the one every tag is built with.
  tag.descending = sort_order == 1 || sort_order == 8;

  DropTagOrder();
  index_name_.clear();
  building_index_ = true;
  DisableControls();
  // A missing compound index file is created here, by the file layer that
  // names files on the file system; the build then finds it empty.
  const bool created =
      HasCdxExtension(path) && !FileExistsIgnoringCase(path) && CreateEmptyFile(path);
  try {
    Indexes().CreateTag(path, tag_name, tag,
                        [this](int32_t a, int32_t b, int32_t c) { ReportStatus(a, b, c); });
  } catch (...) {
    // A build refused before it wrote anything leaves no empty file behind.
    std::error_code ignored;
    if (created && std::filesystem::file_size(SystemPath(path), ignored) == 0) RemoveFile(path);
    try {
      FinishBuild();
    } catch (const EngineError&) {
      // The build's own error is the one to report.
    }
    throw;
  }
  FinishBuild();
}

void DbfDataSet::FinishBuild() {
  building_index_ = false;
  EnableControls();
  First();
}

}  // namespace dbf
