#include "index/cdx_page.h"

#include "dbf/errors.h"

namespace idx {

void ThrowCorrupted(const std::string& file_name) {
  throw dbf::DbfError(dbf::FormatMessage("Index file %s is corrupted", file_name));
}

NodeAttribute ReadNodeAttribute(const CdxPage& page, const std::string& file_name) {
  const uint16_t attribute = ReadLe16(page.data());
  if (attribute > static_cast<uint16_t>(NodeAttribute::kLeafRoot)) ThrowCorrupted(file_name);
  return static_cast<NodeAttribute>(attribute);
}

bool IsLeaf(NodeAttribute attribute) {
  return attribute == NodeAttribute::kLeaf || attribute == NodeAttribute::kLeafRoot;
}

bool IsRoot(NodeAttribute attribute) {
  return attribute == NodeAttribute::kInteriorRoot || attribute == NodeAttribute::kLeafRoot;
}

void CheckPageOffset(uint32_t offset, bool may_be_none, const CdxPageContext& context) {
  if (offset == kNoPage && may_be_none) return;
  if (offset % kCdxPageSize != 0 || offset < kFirstPageOffset ||
      uint64_t{offset} + kCdxPageSize > context.file_size) {
    ThrowCorrupted(context.file_name);
  }
}

void CheckKeyLength(const CdxPageContext& context) {
  if (context.key_length == 0 || context.key_length > kMaxKeyLength) {
    ThrowCorrupted(context.file_name);
  }
}

uint16_t ReadLe16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint32_t ReadLe32(const uint8_t* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
         uint32_t{bytes[3]} << 24;
}

uint32_t ReadBe32(const uint8_t* bytes) {
  return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 |
         uint32_t{bytes[3]};
}

void WriteLe16(uint8_t* bytes, uint16_t value) {
  bytes[0] = static_cast<uint8_t>(value);
  bytes[1] = static_cast<uint8_t>(value >> 8);
}

void WriteLe32(uint8_t* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

void WriteBe32(uint8_t* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

}  // namespace idx
