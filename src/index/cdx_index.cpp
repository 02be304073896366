#include "index/cdx_index.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/file_names.h"
#include "index/cdx_leaf_page.h"
#include "index/cdx_tag.h"
#include "index/key_encoding.h"
#include "index/tag_key_source.h"
#include "index/tag_name.h"

namespace idx {
namespace {

constexpr uint32_t kChangeCounterOffset = 8;

void CreateEmptyFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
  if (fd < 0) throw dbf::DbfError(dbf::FormatMessage("Access denied to file %s", path), errno);
  ::close(fd);
}

}  // namespace

std::string CdxIndex::ResolvePath(const std::string& name, const dbf::DbfFile* table) {
  std::string path = dbf::WithDefaultExtension(name, ".cdx");
  if (path.find('/') == std::string::npos && table != nullptr) {
    const std::string& table_path = table->path();
    const size_t slash = table_path.rfind('/');
    if (slash != std::string::npos) path = table_path.substr(0, slash + 1) + path;
  }
  return path;
}

std::unique_ptr<CdxIndex> CdxIndex::Open(const std::string& name, const CdxOpenOptions& options) {
  std::unique_ptr<CdxIndex> index(new CdxIndex());
  index->path_ = ResolvePath(name, options.table);
  index->table_ = options.table;
  index->key_sources_ = options.key_sources;
  if (options.may_create && !dbf::FileExistsIgnoringCase(index->path_)) {
    CreateEmptyFile(index->path_);
  }
  index->file_.Open(index->path_, options.shared, options.read_write);
  index->path_ = index->file_.path();
  index->RefreshFileSize();
  if (index->file_size_ <= kCdxPageSize) {
    if (!options.read_write) ThrowCorrupted(index->path_);
    index->Initialise();
  } else {
    index->ReadDirectory();
  }
  dbf::DbfFile* table = options.table;
  if (table != nullptr && table->is_open() && table->disk().read_write() &&
      EqualTagNames(dbf::BaseNameWithoutExtension(index->path_),
                    dbf::BaseNameWithoutExtension(table->path())) &&
      (table->header_image()[28] & 0x01) == 0) {
    table->MarkStructuralIndex();
  }
  return index;
}

CdxIndex::~CdxIndex() {
  tags_.clear();
  structure_tag_.reset();
  file_.Close();
}

void CdxIndex::Initialise() {
  allocation_ = 0;
  const CdxTagHeader header = NewStructureTagHeader();
  WriteTagHeader(0, header);
  CdxPageContext context{path_, kFirstPageOffset + kCdxPageSize, header.key_length,
                         KeyType::kCharacter};
  CdxLeafWriter writer(context, LeafParameters::For(header.key_length, context.file_size));
  WritePage(kFirstPageOffset, writer.Finish(true, kNoPage, kNoPage));
  allocation_ = 0;
  structure_tag_ = std::make_unique<CdxTag>(*this, "", 0, header, KeyType::kCharacter);
}

void CdxIndex::ReadDirectory() {
  const CdxTagHeader header = ReadTagHeader(0, true);
  structure_tag_ = std::make_unique<CdxTag>(*this, "", 0, header, KeyType::kCharacter);
  std::vector<std::pair<std::string, uint32_t>> entries;
  structure_tag_->ForEachEntry(
      [&](const std::string& key, uint32_t record) { entries.emplace_back(key, record); });
  for (const auto& [name, offset] : entries) tags_.push_back(MakeTag(name, offset));
}

std::unique_ptr<CdxTag> CdxIndex::MakeTag(const std::string& name, uint32_t header_offset) {
  if (header_offset % kCdxPageSize != 0 || header_offset < kFirstPageOffset ||
      uint64_t{header_offset} + kCdxTagHeaderSize > file_size_) {
    ThrowCorrupted(path_);
  }
  const CdxTagHeader header = ReadTagHeader(header_offset, false);
  std::unique_ptr<TagKeySource> source;
  KeyType type = KeyType::kCharacter;
  if (key_sources_ != nullptr) {
    source = key_sources_->Make(header.key_expression, header.for_expression);
    if (source) type = source->key_type();
  }
  if (type != KeyType::kCharacter && header.key_length != 8) ThrowCorrupted(path_);
  auto tag = std::make_unique<CdxTag>(*this, UpperTagName(name), header_offset, header, type);
  tag->set_key_source(std::move(source));
  return tag;
}

CdxTag* CdxIndex::FindTag(std::string_view name) const {
  for (const auto& tag : tags_) {
    if (EqualTagNames(tag->name(), name)) return tag.get();
  }
  return nullptr;
}

void CdxIndex::RefreshFileSize() {
  file_size_ = file_.FileSize();
}

CdxPage CdxIndex::ReadPage(uint32_t offset) {
  CdxPage page{};
  file_.Read(offset, page.data(), page.size());
  return page;
}

void CdxIndex::WritePage(uint32_t offset, const CdxPage& page) {
  WritePages(offset, page.data(), 1);
}

void CdxIndex::WritePages(uint32_t offset, const uint8_t* bytes, size_t count) {
  file_.Write(offset, bytes, count * kCdxPageSize);
  file_size_ = std::max<uint64_t>(file_size_, uint64_t{offset} + count * kCdxPageSize);
  ++write_generation_;
}

void CdxIndex::WriteSiblingLink(uint32_t offset, bool right, uint32_t value) {
  uint8_t bytes[4];
  WriteLe32(bytes, value);
  file_.Write(uint64_t{offset} + (right ? 8 : 4), bytes, sizeof bytes);
  ++write_generation_;
}

uint32_t CdxIndex::AllocatePage() {
  const uint64_t size = file_.FileSize();
  uint64_t next = std::max(allocation_, (size + kCdxPageSize - 1) / kCdxPageSize * kCdxPageSize);
  next = std::max<uint64_t>(next, kFirstPageOffset);
  if (next + kCdxPageSize > 0xFFFFFE00u)
    throw dbf::DbfError(dbf::FormatMessage("Error writing to %s", path_));
  allocation_ = next + kCdxPageSize;
  // The page exists from now on, so that links to it pass the offset checks.
  const CdxPage zero{};
  WritePage(static_cast<uint32_t>(next), zero);
  return static_cast<uint32_t>(next);
}

uint32_t CdxIndex::AllocateHeader() {
  const uint32_t first = AllocatePage();
  AllocatePage();
  return first;
}

CdxTagHeader CdxIndex::ReadTagHeader(uint32_t offset, bool structure_tag) {
  CdxTagHeaderBytes bytes{};
  file_.Read(offset, bytes.data(), bytes.size());
  return DecodeTagHeader(bytes, structure_tag, path_, file_size_);
}

void CdxIndex::WriteTagHeader(uint32_t offset, const CdxTagHeader& header) {
  const CdxTagHeaderBytes bytes = EncodeTagHeader(header);
  file_.Write(offset, bytes.data(), bytes.size());
  file_size_ = std::max<uint64_t>(file_size_, uint64_t{offset} + bytes.size());
  ++write_generation_;
}

uint64_t CdxIndex::RecordLimit(const CdxTag& tag) const {
  if (tag.is_structure_tag() || &tag == structure_tag_.get()) return file_size_;
  return table_ != nullptr && table_->is_open() ? table_->record_count() : 0;
}

CdxTag& CdxIndex::AddTagToDirectory(const std::string& name, uint32_t header_offset) {
  const std::string upper = UpperTagName(name);
  RefreshFileSize();
  structure_tag_->Insert(TrimKey(upper, KeyType::kCharacter), header_offset);
  tags_.push_back(MakeTag(upper, header_offset));
  return *tags_.back();
}

CdxTag& CdxIndex::AddEmptyTag(const std::string& name, CdxTagHeader header) {
  RemoveTagFromDirectory(name);
  const uint32_t header_offset = AllocateHeader();
  header.root_offset = AllocatePage();
  header.structure_tag = false;
  CdxPageContext context{path_, file_size_, header.key_length, KeyType::kCharacter};
  CheckKeyLength(context);
  const uint64_t limit = table_ != nullptr && table_->is_open() ? table_->record_count() : 0;
  CdxLeafWriter writer(context, LeafParameters::For(header.key_length, limit));
  WritePage(header.root_offset, writer.Finish(true, kNoPage, kNoPage));
  WriteTagHeader(header_offset, header);
  return AddTagToDirectory(name, header_offset);
}

bool CdxIndex::RemoveTagFromDirectory(std::string_view name) {
  const auto it = std::find_if(tags_.begin(), tags_.end(),
                               [&](const auto& tag) { return EqualTagNames(tag->name(), name); });
  if (it == tags_.end()) return false;
  structure_tag_->Remove(TrimKey((*it)->name(), KeyType::kCharacter), (*it)->header_offset());
  tags_.erase(it);
  return true;
}

uint32_t CdxIndex::ReadChangeCounter() {
  // Polled before every move of a tag: read through the mapped first page.
  if (const volatile uint8_t* head = file_.MappedHead(kChangeCounterOffset + 4)) {
    const volatile uint8_t* p = head + kChangeCounterOffset;
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  }
  uint8_t bytes[4] = {};
  file_.Read(kChangeCounterOffset, bytes, sizeof bytes);
  return ReadLe32(bytes);
}

void CdxIndex::IncrementChangeCounter() {
  uint8_t bytes[4];
  WriteLe32(bytes, ReadChangeCounter() + 1);
  file_.Write(kChangeCounterOffset, bytes, sizeof bytes);
}

bool CdxIndex::TryLock() {
  const bool first = file_.lock_count() <= 0;
  if (!file_.LockRange(dbf::IndexLockRange(protocol_))) return false;
  // Other programs may have grown the file while it was unlocked.
  if (first) {
    RefreshFileSize();
    allocation_ = 0;
  }
  return true;
}

bool CdxIndex::LockWithRetry() {
  for (int attempt = 1; attempt <= dbf::kIndexLockAttempts; ++attempt) {
    if (TryLock()) return true;
    if (attempt < dbf::kIndexLockAttempts) {
      std::this_thread::sleep_for(std::chrono::milliseconds(dbf::kIndexLockPauseMs));
    }
  }
  return false;
}

void CdxIndex::Unlock() {
  file_.Unlock();
}

void CdxIndex::Flush() {
  file_.Flush();
}

}  // namespace idx
