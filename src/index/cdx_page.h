#ifndef SALDEX_INDEX_CDX_PAGE_H_
#define SALDEX_INDEX_CDX_PAGE_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "index/expression/key_value.h"

namespace idx {

// Conventions shared by every page of a compound index file: 512-byte pages addressed by
// their byte offset from the start of the file; integers of page and tag headers are
// little-endian, record numbers and child offsets of interior entries big-endian.
constexpr size_t kCdxPageSize = 512;
using CdxPage = std::array<uint8_t, kCdxPageSize>;

constexpr uint32_t kNoPage = 0xFFFFFFFF;  // sibling link of the first / last page of a level
constexpr uint16_t kMaxKeyLength = 240;
// No page lies inside the 1024-byte header of the directory tag at the start of the file.
constexpr uint32_t kFirstPageOffset = 1024;

// Node attribute at page offset 0.
enum class NodeAttribute : uint16_t { kInterior = 0, kInteriorRoot = 1, kLeaf = 2, kLeafRoot = 3 };

// What a page codec needs to know about the page's tag and file. `file_name` names the file
// in "Index file %s is corrupted"; `file_size` bounds every page offset read from a page.
struct CdxPageContext {
  std::string file_name;
  uint64_t file_size = 0;
  uint16_t key_length = 0;
  KeyType key_type = KeyType::kCharacter;

  uint8_t pad_byte() const { return PadByte(key_type); }
};

// Raises dbf::DbfError "Index file %s is corrupted" for `file_name`.
[[noreturn]] void ThrowCorrupted(const std::string& file_name);

// The attribute of a page, refusing values other than 0..3.
NodeAttribute ReadNodeAttribute(const CdxPage& page, const std::string& file_name);
bool IsLeaf(NodeAttribute attribute);
bool IsRoot(NodeAttribute attribute);

// Checks a page offset read from the file: a multiple of 512 at or after kFirstPageOffset whose
// whole page lies inside the file; kNoPage is accepted when `may_be_none`.
void CheckPageOffset(uint32_t offset, bool may_be_none, const CdxPageContext& context);
// Checks the key length of the context (1..240).
void CheckKeyLength(const CdxPageContext& context);

uint16_t ReadLe16(const uint8_t* bytes);
uint32_t ReadLe32(const uint8_t* bytes);
uint32_t ReadBe32(const uint8_t* bytes);
void WriteLe16(uint8_t* bytes, uint16_t value);
void WriteLe32(uint8_t* bytes, uint32_t value);
void WriteBe32(uint8_t* bytes, uint32_t value);

}  // namespace idx

#endif  // SALDEX_INDEX_CDX_PAGE_H_
