#ifndef SALDEX_INDEX_CDX_INDEX_H_
#define SALDEX_INDEX_CDX_INDEX_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/disk_file.h"
#include "dbf/lock_protocol.h"
#include "index/cdx_page.h"
#include "index/cdx_tag_header.h"

namespace dbf {
class DbfFile;
}

namespace idx {

class CdxTag;
class TagKeySourceFactory;

struct CdxOpenOptions {
  bool shared = true;
  bool read_write = true;
  bool may_create = false;  // create an empty file when there is none
  // The table the file belongs to: its directory for names without one, the production flag,
  // and its record count for the leaf field widths. May be null (inspection tools).
  dbf::DbfFile* table = nullptr;
  // Compiles each tag's key and FOR expressions; without it every tag counts as a C tag and
  // has no key source.
  TagKeySourceFactory* key_sources = nullptr;
};

// One open compound index file: 512-byte pages, the directory tag (StructureTag, header at
// offset 0, keys = tag names, record numbers = header offsets) and the tags it lists.
//
// Not thread-safe. Pages are read and written only under the index lock when the file is
// shared; the caller takes it (Lock/Unlock, or the table's IndexSet).
class CdxIndex {
 public:
  // Resolves the name (".cdx" added when it has no extension, the table's directory when it has
  // no directory), opens it with the given share mode and reads and checks the StructureTag and
  // every tag header it lists. A file of 512 bytes or less is initialised as a new file (1536
  // bytes). Raises DbfError "File %s could not be found", "Access denied to file %s" or
  // "Index file %s is corrupted" (the first invalid header), and ExpressionError when a tag's
  // expressions do not compile. A tag whose key type cannot be found is listed all the same
  // (see ExpressionKeySourceFactory).
  static std::unique_ptr<CdxIndex> Open(const std::string& name, const CdxOpenOptions& options);
  // The path Open would use for `name`.
  static std::string ResolvePath(const std::string& name, const dbf::DbfFile* table);

  ~CdxIndex();
  CdxIndex(const CdxIndex&) = delete;
  CdxIndex& operator=(const CdxIndex&) = delete;

  const std::string& path() const { return path_; }
  dbf::DiskFile& file() { return file_; }
  dbf::DbfFile* table() const { return table_; }
  TagKeySourceFactory* key_sources() const { return key_sources_; }

  CdxTag& structure_tag() { return *structure_tag_; }
  // In the StructureTag's order as read at open; tags added since at the end.
  const std::vector<std::unique_ptr<CdxTag>>& tags() const { return tags_; }
  // Case-insensitive; nullptr when absent.
  CdxTag* FindTag(std::string_view name) const;

  // --- pages
  // File size as last seen (refreshed by RefreshFileSize and grown by writes).
  uint64_t file_size() const { return file_size_; }
  void RefreshFileSize();
  // A page as the file holds it; bytes past the end of the file read as zero.
  CdxPage ReadPage(uint32_t offset);
  void WritePage(uint32_t offset, const CdxPage& page);
  // Writes `count` consecutive pages from `bytes` (count * kCdxPageSize bytes) in one call.
  void WritePages(uint32_t offset, const uint8_t* bytes, size_t count);
  // Rewrites the left (0x04) or right (0x08) sibling link of the page at `offset`.
  void WriteSiblingLink(uint32_t offset, bool right, uint32_t value);
  // A fresh page at the end of the file; the free page list is never used.
  uint32_t AllocatePage();
  // Two fresh pages for a tag header.
  uint32_t AllocateHeader();
  CdxTagHeader ReadTagHeader(uint32_t offset, bool structure_tag);
  void WriteTagHeader(uint32_t offset, const CdxTagHeader& header);
  // Record limit for the leaf field widths of a tag: the table's record count, the file size
  // for the StructureTag.
  uint64_t RecordLimit(const CdxTag& tag) const;

  // --- tag directory
  // Inserts the directory entry (upper-cased name, header offset) for a tag whose header has
  // been written at `header_offset`, and makes its CdxTag (appended to tags()).
  CdxTag& AddTagToDirectory(const std::string& name, uint32_t header_offset);
  // Deletes the directory entry of `name` and drops its CdxTag; false when there is none.
  bool RemoveTagFromDirectory(std::string_view name);
  // A tag without keys: removes any tag of that name, allocates its header and an empty root
  // leaf, writes the header (fields of `header` other than the root offset as given) and adds
  // the directory entry.
  CdxTag& AddEmptyTag(const std::string& name, CdxTagHeader header);

  // --- change counter (StructureTag header, offset 8)
  uint32_t ReadChangeCounter();
  void IncrementChangeCounter();
  // Raised by every page write of this handle; lets loaded tag positions notice own writes.
  uint64_t write_generation() const { return write_generation_; }

  // --- index lock of the file (exclusive files only count)
  void set_lock_protocol(dbf::LockProtocol protocol) { protocol_ = protocol; }
  dbf::LockProtocol lock_protocol() const { return protocol_; }
  // One attempt.
  bool TryLock();
  // kIndexLockAttempts attempts kIndexLockPauseMs apart; false when all were refused.
  bool LockWithRetry();
  void Unlock();

  void Flush();

 private:
  CdxIndex() = default;
  void Initialise();
  void ReadDirectory();
  std::unique_ptr<CdxTag> MakeTag(const std::string& name, uint32_t header_offset);

  dbf::DiskFile file_;
  std::string path_;
  dbf::DbfFile* table_ = nullptr;
  TagKeySourceFactory* key_sources_ = nullptr;
  std::unique_ptr<CdxTag> structure_tag_;
  std::vector<std::unique_ptr<CdxTag>> tags_;
  uint64_t file_size_ = 0;
  uint64_t allocation_ = 0;  // next page to allocate; 0 = take the file size
  uint64_t write_generation_ = 0;
  dbf::LockProtocol protocol_ = dbf::LockProtocol::kDefault;
};

}  // namespace idx

#endif  // SALDEX_INDEX_CDX_INDEX_H_
