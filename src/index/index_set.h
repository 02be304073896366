#ifndef SALDEX_INDEX_INDEX_SET_H_
#define SALDEX_INDEX_INDEX_SET_H_

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/index_hooks.h"
#include "dbf/lock_protocol.h"

namespace dbf {
class DbfFile;
}

namespace idx {

class CdxIndex;
class CdxTag;
class TagKeySourceFactory;

// The compound index files open on one table: 63 slots filled in opening order, the current
// tag, and the index side of every record write (IndexHooks). Tags are numbered 1, 2, ... over
// the slots in slot order and, within a file, in the file's tag order.
//
// REQUIRES: the table and the key source factory outlive the set; the set is installed as the
// table's IndexHooks by its owner.
class IndexSet : public dbf::IndexHooks {
 public:
  static constexpr int kSlots = 63;

  IndexSet(dbf::DbfFile& table, TagKeySourceFactory* key_sources);
  ~IndexSet() override;
  IndexSet(const IndexSet&) = delete;
  IndexSet& operator=(const IndexSet&) = delete;

  // Opens the file (".cdx" added without extension, the table's directory without directory)
  // with the table's share mode into the first free slot and applies the lock protocol. Returns
  // 0, or -1 when a file of that path is already open or every slot is in use. Raises
  // "File %s could not be found" (also for an extension other than ".cdx") and
  // "Index file %s is corrupted".
  int Attach(const std::string& name);
  // Closes the file whose file name (directory ignored, case-insensitive, extension as given)
  // equals that of `name`; the current tag falls back to none when it lived there. An unmatched
  // name does nothing.
  void Detach(const std::string& name);
  void DetachAll();

  // Open files in slot order.
  std::vector<CdxIndex*> files() const;
  int file_count() const;

  // Empty name: nullptr (natural order). Otherwise trimmed and upper-cased and looked up over
  // the files in slot order; raises DbfError "Cannot find index tag %s" when absent.
  CdxTag* FindTagByName(std::string_view name) const;
  int TagCount() const;
  // 1 <= n <= TagCount(), else nullptr.
  CdxTag* TagAt(int n) const;

  CdxTag* current_tag() const { return current_; }
  // Clears the range of the previous tag and drops its pages. A tag whose key type is unknown
  // raises the failure that kept it unknown, keeping the previous selection.
  void SelectTag(CdxTag* tag);

  void set_lock_protocol(dbf::LockProtocol protocol);
  dbf::LockProtocol lock_protocol() const { return protocol_; }
  // With ClipLock the index files are locked around every seek.
  bool locks_seeks() const { return protocol_ == dbf::LockProtocol::kClipLock; }

  // FindKey: stores `values` (texts in the table's code page) into the fields the current key
  // expression reads, in order, on a blank scratch record, and returns the key built from it.
  // REQUIRES: `tag` has a key source.
  std::string BuildFindKey(CdxTag& tag, const std::vector<std::string>& values) const;

  // --- dbf::IndexHooks
  bool HasOpenIndex() const override;
  void LockIndexes() override;
  void UnlockIndexes() override;
  void RecordWritten(uint32_t recno, const uint8_t* old_image, const uint8_t* new_image) override;
  void Flush() override;

 private:
  bool MaintainTag(CdxTag& tag, uint32_t recno, const uint8_t* old_image, const uint8_t* new_image);

  dbf::DbfFile& table_;
  TagKeySourceFactory* key_sources_;
  std::array<std::unique_ptr<CdxIndex>, kSlots> slots_;
  CdxTag* current_ = nullptr;
  dbf::LockProtocol protocol_ = dbf::LockProtocol::kDefault;
};

// Holds the index locks of a set for one scope (released on every exit).
class IndexLockScope {
 public:
  explicit IndexLockScope(IndexSet& set) : set_(set) { set_.LockIndexes(); }
  ~IndexLockScope() { set_.UnlockIndexes(); }
  IndexLockScope(const IndexLockScope&) = delete;
  IndexLockScope& operator=(const IndexLockScope&) = delete;

 private:
  IndexSet& set_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_INDEX_SET_H_
