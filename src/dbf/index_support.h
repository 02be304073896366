#ifndef SALDEX_DBF_INDEX_SUPPORT_H_
#define SALDEX_DBF_INDEX_SUPPORT_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/lock_protocol.h"

namespace dbf {

class DbfFile;
class Order;

// The compound index files of one cursor, as the cursor (DbfDataSet) sees them. The index
// library implements it (idx::InstallIndexSupport puts one on a cursor); the table library only
// declares it, so that it does not depend on the index library.
//
// Contract: the cursor calls TableOpened right after its table file opened and TableClosing
// before it closes; every other call happens in between. TableOpened installs the key
// maintenance as the table's IndexHooks, so every record write through the table keeps every
// open tag current; TableClosing closes every index file and removes the hooks. Names and keys
// arrive in the table's code page (OEM); the cursor translates. Errors are raised as the
// engine's errors (DbfError, ExpressionError) and leave the index files as they were unless
// stated otherwise. An Order returned by SelectTag is valid until the next SelectTag,
// CloseIndexFile of its file, CloseAllIndexFiles, CreateTag or TableClosing.
class IndexSupport {
 public:
  struct SeekResult {
    bool found = false;
    uint32_t record = 0;  // 0: the seek ran past the end
  };
  // Whether record `recno` may be shown; reads it into the table's record buffer.
  using Visible = std::function<bool(uint32_t recno)>;
  // Progress of a tag build: (stat1, stat2, stat3) as OnStatus reports them.
  using Progress = std::function<void(int32_t, int32_t, int32_t)>;
  struct NewTag {
    std::string key_expression;
    std::string for_expression;  // empty: every record
    bool unique = false;
    bool descending = false;
  };

  virtual ~IndexSupport() = default;

  // --- lifecycle
  virtual void TableOpened(DbfFile& table) = 0;
  virtual void TableClosing() = 0;
  virtual void SetLockProtocol(LockProtocol protocol) = 0;

  // --- index files
  // ".cdx" added without extension, the table's directory without directory. Returns 0, or -1
  // when that file is already open. Raises "File %s could not be found" (also for another
  // extension) and "Index file %s is corrupted".
  virtual int OpenIndexFile(const std::string& name) = 0;
  // The open file whose file name (directory ignored, case-insensitive, extension as given)
  // equals that of `name`; nothing when none. A selected tag in it is deselected.
  virtual void CloseIndexFile(const std::string& name) = 0;
  virtual void CloseAllIndexFiles() = 0;

  // --- tags
  // Empty name: natural order (nullptr). Otherwise the tag found by the trimmed upper-cased
  // name in slot order becomes selected, the previous tag's range removed, and its order is
  // returned. Raises "Cannot find index tag %s" keeping the previous selection.
  virtual std::unique_ptr<Order> SelectTag(std::string_view name) = 0;
  virtual bool tag_selected() const = 0;
  // The selected tag carries a range.
  virtual bool selected_tag_has_range() const = 0;
  virtual int TagCount() const = 0;
  // 1 <= n <= TagCount(); empty text outside.
  virtual std::string TagName(int n) const = 0;
  virtual std::string TagExpression(int n) const = 0;

  // --- searching in the selected tag (REQUIRES: tag_selected())
  // The seek of Find: the key typed as text; the tag is left on the result.
  virtual SeekResult Seek(std::string_view key_text, bool exact, bool near,
                          const Visible& visible) = 0;
  // Names of the table fields the selected tag's key expression reads, in order of appearance.
  virtual std::vector<std::string> SelectedKeyFields() const = 0;
  // Evaluates the selected tag's key over `key_record` (R bytes) and seeks it with exact and
  // near off.
  virtual SeekResult SeekRecordKey(const uint8_t* key_record, const Visible& visible) = 0;
  // Replaces the selected tag's range by bounds typed as text; false when they are unchanged.
  virtual bool SetRange(std::string_view low_text, std::string_view high_text) = 0;

  // --- Locate
  // Searches through the first qualifying tag: the selected one (unless it carries a range),
  // then every tag without a FOR clause in tag-number order, whose key fields (";"-separated,
  // upper case, trailing ";") cut to the length of `located_fields` equal it. The key is
  // evaluated over `key_record`; the seek is exact unless `partial`. nullopt when no tag
  // qualifies. The selected tag keeps its range; its position is not kept.
  virtual std::optional<SeekResult> LocateByTag(const std::string& located_fields,
                                                const uint8_t* key_record, bool partial,
                                                const Visible& visible) = 0;

  // --- building
  // Closes every index file, then builds tag `tag_name` into the compound index file `path`
  // (created when missing) and closes it again. Raises "Cannot find index tag %s" for an empty
  // name, "File %s could not be found", "Index file %s is corrupted", and the expression and
  // sort errors of the build.
  virtual void CreateTag(const std::string& path, const std::string& tag_name, const NewTag& tag,
                         const Progress& progress) = 0;
};

}  // namespace dbf

#endif  // SALDEX_DBF_INDEX_SUPPORT_H_
