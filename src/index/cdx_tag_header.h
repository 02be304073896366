#ifndef SALDEX_INDEX_CDX_TAG_HEADER_H_
#define SALDEX_INDEX_CDX_TAG_HEADER_H_

// Tag header: 1024 bytes (two pages) at the tag's header offset; the directory tag
// (StructureTag) has its header at file offset 0. Every byte not listed is 0.
//
//   OFFSET  SIZE  MEANING
//   0x000   4     offset of the tag's root page (LE)
//   0x004   4     free page list: written as 0, never used
//   0x008   4     change counter (LE); raised on every key change in the StructureTag's header
//   0x00C   2     key length in bytes, 1..240 (LE)
//   0x00E   1     options: 0x01 unique, 0x08 has FOR clause, 0x20 compact, 0x40 compound,
//                 0x80 StructureTag; written 0x60 | unique | FOR, the StructureTag 0xE0
//   0x00F   1     signature: 1, or 2 with the alternative collation "GENERAL"
//   0x1EE   8     collation name: "GENERAL" or zero bytes
//   0x1F6   2     1 descending, 0 ascending (LE)
//   0x1F8   2     length of the key expression + 1, 0 when it is empty (LE)
//   0x1FA   2     length of the FOR expression + 1, 1 when there is none (LE)
//   0x1FE   2     length of the key expression + 1, 1 when it is empty (LE)
//   0x200   ...   key expression text, zero byte, then the FOR expression text and a zero
//                 byte when the tag has one; both end before 0x400

#include <array>
#include <cstdint>
#include <string>

namespace idx {

constexpr size_t kCdxTagHeaderSize = 1024;
using CdxTagHeaderBytes = std::array<uint8_t, kCdxTagHeaderSize>;

struct CdxTagHeader {
  uint32_t root_offset = 0;
  uint32_t change_counter = 0;
  uint16_t key_length = 0;
  bool unique = false;
  bool structure_tag = false;
  bool general_collation = false;
  bool descending = false;
  std::string key_expression;
  std::string for_expression;  // empty when the tag has no FOR clause

  bool has_for() const { return !for_expression.empty(); }
  friend bool operator==(const CdxTagHeader&, const CdxTagHeader&) = default;
};

// The header of the directory tag of a new file: root leaf at 1024, key length 10.
CdxTagHeader NewStructureTagHeader();

// Writes `header` as the 1024 header bytes. Raises dbf::DbfError when the two expression
// texts do not fit into the header together.
CdxTagHeaderBytes EncodeTagHeader(const CdxTagHeader& header);

// Reads and checks a tag header of the file `file_name` of `file_size` bytes: the root
// offset must be a page offset whose page lies inside the file, the key length 1..240, the
// expression texts zero-terminated inside the header, and the key expression non-empty
// unless `is_structure_tag`. Anything else raises dbf::DbfError "Index file %s is corrupted".
CdxTagHeader DecodeTagHeader(const CdxTagHeaderBytes& bytes, bool is_structure_tag,
                             const std::string& file_name, uint64_t file_size);

// Checks the header offset of a tag as the directory tag lists it (the record number of its
// key): a multiple of 512 past the directory tag's header whose 1024 bytes lie inside the
// file. Anything else raises "Index file %s is corrupted".
void CheckTagHeaderOffset(uint32_t offset, const std::string& file_name, uint64_t file_size);

}  // namespace idx

#endif  // SALDEX_INDEX_CDX_TAG_HEADER_H_
