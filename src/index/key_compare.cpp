#include "index/key_compare.h"

#include "index/key_collation_table.h"

namespace idx {

int CompareKeys(KeyType type, std::string_view search, std::string_view stored, bool prefix_mode) {
  if (search.empty()) return stored.empty() ? 0 : -1;
  if (stored.empty()) return 1;
  const int common = type == KeyType::kCharacter
                         ? KeyCollationTable::CompareCommonLength(search, stored)
                         : CompareBytesCommonLength(search, stored);
  if (common != 0) return common;
  if (search.size() < stored.size()) return prefix_mode ? 0 : -1;
  if (search.size() > stored.size()) return 1;
  return 0;
}

bool SearchStopsAt(KeyType type, std::string_view search, uint32_t record, bool prefix_mode,
                   std::string_view stored, uint32_t stored_record) {
  const int c = CompareKeys(type, search, stored, prefix_mode);
  if (c != 0) return c < 0;
  if (record == kAnyRecord) return true;
  if (record == kAfterAllRecords) return false;
  return record <= stored_record;
}

}  // namespace idx
