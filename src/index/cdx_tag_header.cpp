#include "index/cdx_tag_header.h"

#include <algorithm>
#include <cstring>

#include "dbf/errors.h"
#include "index/cdx_page.h"

namespace idx {
namespace {

constexpr size_t kRootOffset = 0x000;
constexpr size_t kFreeList = 0x004;
constexpr size_t kChangeCounter = 0x008;
constexpr size_t kKeyLength = 0x00C;
constexpr size_t kOptions = 0x00E;
constexpr size_t kSignature = 0x00F;
constexpr size_t kCollationName = 0x1EE;
constexpr size_t kCollationNameSize = 8;
constexpr size_t kDescending = 0x1F6;
constexpr size_t kKeyExpressionSize = 0x1F8;
constexpr size_t kForExpressionSize = 0x1FA;
constexpr size_t kKeyExpressionSize2 = 0x1FE;
constexpr size_t kExpressions = 0x200;

constexpr uint8_t kUnique = 0x01;
constexpr uint8_t kHasFor = 0x08;
constexpr uint8_t kCompactCompound = 0x60;
constexpr uint8_t kStructure = 0x80;

constexpr char kGeneral[] = "GENERAL";

// The zero-terminated text at `offset`, or nothing when no zero byte ends it in the header.
bool ReadText(const CdxTagHeaderBytes& bytes, size_t offset, std::string& text) {
  const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(offset);
  const auto end = std::find(begin, bytes.end(), uint8_t{0});
  if (end == bytes.end()) return false;
  text.assign(begin, end);
  return true;
}

}  // namespace

CdxTagHeader NewStructureTagHeader() {
  CdxTagHeader header;
  header.root_offset = kFirstPageOffset;
  header.key_length = 10;
  header.structure_tag = true;
  return header;
}

CdxTagHeaderBytes EncodeTagHeader(const CdxTagHeader& header) {
  const std::string& key = header.key_expression;
  const std::string& condition = header.for_expression;
  const size_t text_bytes = key.size() + 1 + (header.has_for() ? condition.size() + 1 : 0);
  if (text_bytes > kCdxTagHeaderSize - kExpressions) {
    throw dbf::DbfError("Index key and FOR expressions are too long");
  }
  CdxTagHeaderBytes bytes{};
  uint8_t* b = bytes.data();
  WriteLe32(b + kRootOffset, header.root_offset);
  WriteLe32(b + kFreeList, 0);
  WriteLe32(b + kChangeCounter, header.change_counter);
  WriteLe16(b + kKeyLength, header.key_length);
  b[kOptions] = header.structure_tag ? kStructure | kCompactCompound
                                     : kCompactCompound | (header.unique ? kUnique : 0) |
                                           (header.has_for() ? kHasFor : 0);
  b[kSignature] = header.general_collation ? 2 : 1;
  if (header.general_collation) std::memcpy(b + kCollationName, kGeneral, sizeof kGeneral);
  WriteLe16(b + kDescending, header.descending ? 1 : 0);
  const auto key_size = static_cast<uint16_t>(key.size() + 1);
  WriteLe16(b + kKeyExpressionSize, key.empty() ? 0 : key_size);
  WriteLe16(b + kForExpressionSize,
            static_cast<uint16_t>(header.has_for() ? condition.size() + 1 : 1));
  WriteLe16(b + kKeyExpressionSize2, key_size);
  std::memcpy(b + kExpressions, key.data(), key.size());
  if (header.has_for()) {
    std::memcpy(b + kExpressions + key.size() + 1, condition.data(), condition.size());
  }
  return bytes;
}

CdxTagHeader DecodeTagHeader(const CdxTagHeaderBytes& bytes, bool is_structure_tag,
                             const std::string& file_name, uint64_t file_size) {
  const uint8_t* b = bytes.data();
  CdxTagHeader header;
  header.root_offset = ReadLe32(b + kRootOffset);
  header.change_counter = ReadLe32(b + kChangeCounter);
  header.key_length = ReadLe16(b + kKeyLength);
  const uint8_t options = b[kOptions];
  header.unique = (options & kUnique) != 0;
  header.structure_tag = (options & kStructure) != 0;
  header.general_collation =
      std::memcmp(b + kCollationName, kGeneral, sizeof kGeneral) == 0;  // with its zero byte
  static_assert(sizeof kGeneral <= kCollationNameSize);
  header.descending = ReadLe16(b + kDescending) != 0;

  CdxPageContext context{file_name, file_size, header.key_length, KeyType::kCharacter};
  CheckPageOffset(header.root_offset, false, context);
  CheckKeyLength(context);
  if (!ReadText(bytes, kExpressions, header.key_expression)) ThrowCorrupted(file_name);
  if (header.key_expression.empty() && !is_structure_tag) ThrowCorrupted(file_name);
  if ((options & kHasFor) != 0) {
    const size_t for_offset = kExpressions + header.key_expression.size() + 1;
    if (for_offset >= kCdxTagHeaderSize || !ReadText(bytes, for_offset, header.for_expression)) {
      ThrowCorrupted(file_name);
    }
  }
  return header;
}

void CheckTagHeaderOffset(uint32_t offset, const std::string& file_name, uint64_t file_size) {
  if (offset % kCdxPageSize != 0 || offset < kFirstPageOffset ||
      uint64_t{offset} + kCdxTagHeaderSize > file_size) {
    ThrowCorrupted(file_name);
  }
}

}  // namespace idx
