#ifndef SALDEX_DBF_INDEX_HOOKS_H_
#define SALDEX_DBF_INDEX_HOOKS_H_

#include <cstdint>

namespace dbf {

// What the table file layer needs from the index files open on a table. The
// index layer implements it; DbfFile calls it around every record write.
class IndexHooks {
 public:
  virtual ~IndexHooks() = default;
  // True while the first index slot is in use (record locks then use the
  // offsets of a table with an index open).
  virtual bool HasOpenIndex() const = 0;
  // Takes the index lock of every open index file (retried, see
  // kIndexLockAttempts). On failure releases those taken and raises DbfError
  // "Can not Lock file %s" with the index file's name.
  virtual void LockIndexes() = 0;
  // Releases one level of every index file's lock.
  virtual void UnlockIndexes() = 0;
  // Record `recno` was written: `old_image` is the record as last read (R
  // bytes; for an append, nullptr), `new_image` as written.
  virtual void RecordWritten(uint32_t recno, const uint8_t* old_image,
                             const uint8_t* new_image) = 0;
  // Flushes the index files (AutoFlush).
  virtual void Flush() = 0;
};

}  // namespace dbf

#endif  // SALDEX_DBF_INDEX_HOOKS_H_
