#include "index/cursor_index_support.h"

#include "dbf/data_set.h"
#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/file_names.h"
#include "index/cdx_add_tag.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/expression_key_source.h"
#include "index/index_set.h"
#include "index/tag_key_source.h"
#include "index/tag_name.h"
#include "index/tag_order.h"

namespace idx {
namespace {

constexpr size_t kMaxTagNameLength = 10;

// Runs `search` under the index locks when the protocol locks around seeks.
template <typename Search>
auto UnderSeekLock(IndexSet& set, Search&& search) {
  if (!set.locks_seeks()) return search();
  IndexLockScope lock(set);
  return search();
}

dbf::IndexSupport::SeekResult ToResult(const CdxTag::SeekResult& result) {
  return {result.found, result.record};
}

// "A;B;" as Locate compares key field lists.
std::string FieldList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += name + ";";
  return list;
}

bool HasCdxExtension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  return EqualTagNames(path.substr(dot), ".CDX");
}

}  // namespace

void InstallIndexSupport(dbf::DbfDataSet& data_set) {
  data_set.SetIndexSupport(std::make_unique<CursorIndexSupport>());
}

CursorIndexSupport::CursorIndexSupport() = default;

CursorIndexSupport::~CursorIndexSupport() {
  if (table_ != nullptr) TableClosing();
}

IndexSet& CursorIndexSupport::Set() const {
  return *set_;
}

// --- lifecycle

void CursorIndexSupport::TableOpened(dbf::DbfFile& table) {
  table_ = &table;
  factory_ = std::make_unique<ExpressionKeySourceFactory>(table);
  set_ = std::make_unique<IndexSet>(table, factory_.get());
  set_->set_lock_protocol(table.lock_protocol());
  table.set_index_hooks(set_.get());
}

void CursorIndexSupport::TableClosing() {
  if (table_ == nullptr) return;
  table_->set_index_hooks(nullptr);
  set_->DetachAll();
  set_.reset();
  factory_.reset();
  table_ = nullptr;
}

void CursorIndexSupport::SetLockProtocol(dbf::LockProtocol protocol) {
  Set().set_lock_protocol(protocol);
}

// --- index files

int CursorIndexSupport::OpenIndexFile(const std::string& name) {
  return Set().Attach(name);
}

void CursorIndexSupport::CloseIndexFile(const std::string& name) {
  Set().Detach(name);
}

void CursorIndexSupport::CloseAllIndexFiles() {
  Set().DetachAll();
}

// --- tags

std::unique_ptr<dbf::Order> CursorIndexSupport::SelectTag(std::string_view name) {
  CdxTag* tag = Set().FindTagByName(name);
  Set().SelectTag(tag);
  if (tag == nullptr) return nullptr;
  return std::make_unique<TagOrder>(*table_, Set(), *tag);
}

bool CursorIndexSupport::tag_selected() const {
  return set_ != nullptr && set_->current_tag() != nullptr;
}

bool CursorIndexSupport::selected_tag_has_range() const {
  return tag_selected() && !set_->current_tag()->range().empty();
}

int CursorIndexSupport::TagCount() const {
  return Set().TagCount();
}

std::string CursorIndexSupport::TagName(int n) const {
  const CdxTag* tag = Set().TagAt(n);
  return tag == nullptr ? std::string() : tag->name();
}

std::string CursorIndexSupport::TagExpression(int n) const {
  const CdxTag* tag = Set().TagAt(n);
  return tag == nullptr ? std::string() : tag->header().key_expression;
}

// --- searching

dbf::IndexSupport::SeekResult CursorIndexSupport::Seek(std::string_view key_text, bool exact,
                                                       bool near, const Visible& visible) {
  CdxTag& tag = *Set().current_tag();
  return ToResult(
      UnderSeekLock(Set(), [&] { return tag.SeekText(key_text, exact, near, visible); }));
}

std::vector<std::string> CursorIndexSupport::SelectedKeyFields() const {
  const CdxTag* tag = Set().current_tag();
  if (tag == nullptr || tag->key_source() == nullptr) return {};
  return tag->key_source()->FieldNames();
}

dbf::IndexSupport::SeekResult CursorIndexSupport::SeekRecordKey(const uint8_t* key_record,
                                                                const Visible& visible) {
  CdxTag& tag = *Set().current_tag();
  if (tag.key_source() == nullptr) return {};
  const std::string key = tag.KeyOf(tag.key_source()->Key(key_record));
  return ToResult(UnderSeekLock(Set(), [&] { return tag.SeekKey(key, false, false, visible); }));
}

bool CursorIndexSupport::SetRange(std::string_view low_text, std::string_view high_text) {
  CdxTag& tag = *Set().current_tag();
  return UnderSeekLock(Set(), [&] { return tag.SetTagRange(low_text, high_text); });
}

std::optional<dbf::IndexSupport::SeekResult> CursorIndexSupport::LocateByTag(
    const std::string& located_fields, const uint8_t* key_record, bool partial,
    const Visible& visible) {
  CdxTag* selected = Set().current_tag();
  if (selected != nullptr && !selected->range().empty()) return std::nullopt;
  const auto qualifies = [&](const CdxTag& tag) {
    if (tag.key_source() == nullptr || !tag.key_source()->key_type_known()) return false;
    const std::string list = FieldList(tag.key_source()->FieldNames());
    return list.substr(0, located_fields.size()) == located_fields;
  };
  CdxTag* chosen = nullptr;
  if (selected != nullptr && qualifies(*selected)) chosen = selected;
  for (int n = 1; chosen == nullptr && n <= Set().TagCount(); ++n) {
    CdxTag* tag = Set().TagAt(n);
    if (!tag->has_for() && qualifies(*tag)) chosen = tag;
  }
  if (chosen == nullptr) return std::nullopt;
  const std::string key = chosen->KeyOf(chosen->key_source()->Key(key_record));
  const CdxTag::SeekResult result =
      UnderSeekLock(Set(), [&] { return chosen->SeekKey(key, !partial, false, visible); });
  if (chosen != selected) chosen->Reset();
  return SeekResult{result.found, result.found ? result.record : 0};
}

// --- building

void CursorIndexSupport::CreateTag(const std::string& path, const std::string& tag_name,
                                   const NewTag& tag, const Progress& progress) {
  Set().DetachAll();
  const std::string upper = UpperTagName(tag_name);
  if (upper.empty()) {
    throw dbf::DbfError(dbf::FormatMessage("Cannot find index tag %s", tag_name));
  }
  // The directory holds names of at most 10 bytes; a longer one is refused before the build.
  if (upper.size() > kMaxTagNameLength) {
    throw dbf::DbfError(dbf::FormatMessage("Tag name %s is longer than 10 characters", tag_name));
  }
  const std::string resolved = CdxIndex::ResolvePath(path, table_);
  if (!HasCdxExtension(resolved)) {
    throw dbf::DbfError(dbf::FormatMessage("File %s could not be found", resolved));
  }
  CdxOpenOptions options;
  options.shared = table_->disk().shared();
  options.read_write = true;
  options.may_create = true;
  options.table = table_;
  options.key_sources = factory_.get();
  std::unique_ptr<CdxIndex> index;
  if (dbf::FileExistsIgnoringCase(resolved)) {
    index = CdxIndex::Open(resolved, options);
  } else {
    try {
      index = CdxIndex::Open(resolved, options);
    } catch (const dbf::DbfError&) {
      throw dbf::DbfError(dbf::FormatMessage("File %s could not be found", resolved));
    }
  }
  index->set_lock_protocol(table_->lock_protocol());
  TagDefinition definition;
  definition.key_expression = tag.key_expression;
  definition.for_expression = tag.for_expression;
  definition.unique = tag.unique;
  definition.descending = tag.descending;
  // Pages of a shared file change only under its index lock.
  if (!index->LockWithRetry()) {
    throw dbf::DbfError(dbf::FormatMessage("Can not Lock file %s", index->path()));
  }
  try {
    AddTag(*index, tag_name, definition, progress);
  } catch (...) {
    index->Unlock();
    throw;
  }
  index->Unlock();
}

}  // namespace idx
