#ifndef SALDEX_INDEX_KEY_COMPARE_H_
#define SALDEX_INDEX_KEY_COMPARE_H_

#include <cstdint>
#include <string_view>

#include "index/expression/key_value.h"

namespace idx {

// Record numbers a search may carry besides a real one: stop at the first entry of the key,
// or pass every entry of the key.
constexpr uint32_t kAnyRecord = 0xFFFFFFFF;
constexpr uint32_t kAfterAllRecords = 0x7FFFFFFF;

// compare(S, K, prefixMode) of a search key S with a stored key K (both without pad bytes):
// an empty key is below every other; C keys compare by collation weights, N and D keys as
// unsigned bytes, over the shorter length; then a shorter S is equal in prefix mode and
// smaller otherwise, a shorter K makes S greater. Negative, zero or positive.
int CompareKeys(KeyType type, std::string_view search, std::string_view stored, bool prefix_mode);

// Whether a search for (search, record) stops at the entry (stored, stored_record): the search
// key is below the entry's key, or equal to it with a record number that is kAnyRecord or at
// most the entry's (kAfterAllRecords passes every entry of that key).
bool SearchStopsAt(KeyType type, std::string_view search, uint32_t record, bool prefix_mode,
                   std::string_view stored, uint32_t stored_record);

}  // namespace idx

#endif  // SALDEX_INDEX_KEY_COMPARE_H_
