#include "index/index_set.h"

#include <cstring>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/field_codec.h"
#include "dbf/file_names.h"
#include "dbf/format_settings.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/expression/date_text.h"
#include "index/key_encoding.h"
#include "index/tag_key_source.h"
#include "index/tag_name.h"

namespace idx {
namespace {

std::string FileNamePart(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Extension(const std::string& path) {
  const std::string name = FileNamePart(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

// Stores `text` into field `f` of a record image as the table layer's string put does.
void PutFieldText(const dbf::FieldDescriptor& f, uint8_t* record, std::string_view text) {
  namespace codec = dbf::codec;
  switch (f.type) {
    case 'N':
    case 'F': {
      const auto number = dbf::ParseLocaleNumber(text);
      if (!number && !TrimKey(text, KeyType::kCharacter).empty()) {
        throw dbf::DbfError(dbf::FormatMessage("Invalid %s value for field %s", "Number", f.name));
      }
      codec::EncodeNumeric(f, record, number.value_or(0));
      return;
    }
    case 'D':
      // Blank, "00000000" and 8 digits that are no calendar date store a blank date.
      codec::EncodeDate(f, record, CivilFromJulian(ParseDateTextOrThrow(text)));
      return;
    case 'L':
      codec::EncodeLogical(f, record, !text.empty() && std::strchr("TtYyJj", text[0]) != nullptr);
      return;
    default:
      codec::EncodeRaw(f, record, text);
  }
}

}  // namespace

IndexSet::IndexSet(dbf::DbfFile& table, TagKeySourceFactory* key_sources)
    : table_(table), key_sources_(key_sources) {}

IndexSet::~IndexSet() = default;

int IndexSet::Attach(const std::string& name) {
  const std::string path = CdxIndex::ResolvePath(name, &table_);
  if (!EqualTagNames(Extension(path), ".CDX")) {
    throw dbf::DbfError(dbf::FormatMessage("File %s could not be found", path));
  }
  const std::string expanded = dbf::ExpandFileName(path);
  for (const auto& slot : slots_) {
    if (slot && EqualTagNames(dbf::ExpandFileName(slot->path()), expanded)) return -1;
  }
  for (auto& slot : slots_) {
    if (slot) continue;
    CdxOpenOptions options;
    options.shared = table_.disk().shared();
    options.read_write = table_.disk().read_write();
    options.table = &table_;
    options.key_sources = key_sources_;
    slot = CdxIndex::Open(path, options);
    slot->set_lock_protocol(protocol_);
    return 0;
  }
  return -1;
}

void IndexSet::Detach(const std::string& name) {
  const std::string wanted = FileNamePart(name);
  for (auto& slot : slots_) {
    if (!slot || !EqualTagNames(FileNamePart(slot->path()), wanted)) continue;
    if (current_ != nullptr && &current_->index() == slot.get()) current_ = nullptr;
    slot.reset();
    return;
  }
}

void IndexSet::DetachAll() {
  current_ = nullptr;
  for (auto& slot : slots_) slot.reset();
}

std::vector<CdxIndex*> IndexSet::files() const {
  std::vector<CdxIndex*> out;
  for (const auto& slot : slots_) {
    if (slot) out.push_back(slot.get());
  }
  return out;
}

int IndexSet::file_count() const {
  return static_cast<int>(files().size());
}

CdxTag* IndexSet::FindTagByName(std::string_view name) const {
  const std::string upper = UpperTagName(name);
  if (upper.empty()) return nullptr;
  for (CdxIndex* file : files()) {
    if (CdxTag* tag = file->FindTag(upper)) return tag;
  }
  throw dbf::DbfError(dbf::FormatMessage("Cannot find index tag %s", std::string(name)));
}

int IndexSet::TagCount() const {
  int count = 0;
  for (CdxIndex* file : files()) count += static_cast<int>(file->tags().size());
  return count;
}

CdxTag* IndexSet::TagAt(int n) const {
  if (n < 1) return nullptr;
  for (CdxIndex* file : files()) {
    const int here = static_cast<int>(file->tags().size());
    if (n <= here) return file->tags()[n - 1].get();
    n -= here;
  }
  return nullptr;
}

void IndexSet::SelectTag(CdxTag* tag) {
  if (tag != nullptr && tag->key_source() != nullptr) tag->key_source()->RequireKeyType();
  if (current_ != nullptr) {
    current_->ClearRange();
    current_->Reset();
  }
  current_ = tag;
  if (current_ != nullptr) current_->Reset();
}

void IndexSet::set_lock_protocol(dbf::LockProtocol protocol) {
  protocol_ = protocol;
  for (CdxIndex* file : files()) file->set_lock_protocol(protocol);
}

std::string IndexSet::BuildFindKey(CdxTag& tag, const std::vector<std::string>& values) const {
  std::vector<uint8_t> scratch(table_.record_length() + 1, ' ');
  dbf::codec::BlankRecord(table_.fields().data(), table_.field_count(), scratch.data(),
                          table_.record_length(), table_.version());
  const std::vector<std::string> names = tag.key_source()->FieldNames();
  for (size_t i = 0; i < values.size() && i < names.size(); ++i) {
    PutFieldText(table_.field(table_.RequireField(names[i])), scratch.data(), values[i]);
  }
  return tag.KeyOf(tag.key_source()->Key(scratch.data()));
}

bool IndexSet::HasOpenIndex() const {
  return slots_[0] != nullptr;
}

void IndexSet::LockIndexes() {
  std::vector<CdxIndex*> taken;
  for (CdxIndex* file : files()) {
    if (file->LockWithRetry()) {
      taken.push_back(file);
      continue;
    }
    for (CdxIndex* held : taken) held->Unlock();
    throw dbf::DbfError(dbf::FormatMessage("Can not Lock file %s", file->path()));
  }
}

void IndexSet::UnlockIndexes() {
  for (CdxIndex* file : files()) file->Unlock();
}

void IndexSet::Flush() {
  for (CdxIndex* file : files()) file->Flush();
}

void IndexSet::RecordWritten(uint32_t recno, const uint8_t* old_image, const uint8_t* new_image) {
  for (CdxIndex* file : files()) {
    bool changed = false;
    try {
      for (const auto& tag : file->tags()) {
        if (tag->key_source() != nullptr && MaintainTag(*tag, recno, old_image, new_image)) {
          changed = true;
        }
      }
    } catch (...) {
      if (changed) file->IncrementChangeCounter();
      throw;
    }
    if (changed) file->IncrementChangeCounter();
  }
}

// Key maintenance of one tag for one written record; true when the tag changed.
bool IndexSet::MaintainTag(CdxTag& tag, uint32_t recno, const uint8_t* old_image,
                           const uint8_t* new_image) {
  if (old_image != nullptr && !tag.has_for() &&
      std::memcmp(old_image, new_image, table_.record_length()) == 0) {
    return false;
  }
  TagKeySource& source = *tag.key_source();
  const bool new_for = source.For(new_image);
  if (old_image == nullptr) {
    return new_for && tag.Insert(tag.KeyOf(source.Key(new_image)), recno);
  }
  const std::string new_key = tag.KeyOf(source.Key(new_image));
  const std::string old_key = tag.KeyOf(source.Key(old_image));
  const bool found = tag.Contains(old_key, recno);
  const bool keys_differ = new_key != old_key;
  bool changed = false;
  if (found && (keys_differ || (tag.has_for() && !new_for))) changed = tag.Remove(old_key, recno);
  if (new_for && (keys_differ || !found)) changed = tag.Insert(new_key, recno) || changed;
  return changed;
}

}  // namespace idx
