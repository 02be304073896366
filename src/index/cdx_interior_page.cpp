#include "index/cdx_interior_page.h"

#include <algorithm>
#include <stdexcept>

#include "index/key_encoding.h"

namespace idx {
namespace {

constexpr size_t kAttribute = 0x00;
constexpr size_t kCount = 0x02;
constexpr size_t kLeft = 0x04;
constexpr size_t kRight = 0x08;
constexpr size_t kEntries = 0x0C;
constexpr size_t kEntryArea = kCdxPageSize - kEntries;  // 500

}  // namespace

size_t MaxInteriorEntries(uint16_t key_length) {
  return kEntryArea / (key_length + 8u);
}

CdxPage EncodeInteriorPage(const CdxInteriorPage& page, const CdxPageContext& context) {
  const uint16_t key_length = context.key_length;
  if (key_length == 0 || key_length > kMaxKeyLength) {
    throw std::invalid_argument("interior page: bad key length");
  }
  if (page.entries.size() > MaxInteriorEntries(key_length)) {
    throw std::invalid_argument("interior page: too many entries");
  }
  CdxPage bytes;
  bytes.fill(context.pad_byte());
  const NodeAttribute attribute =
      page.root ? NodeAttribute::kInteriorRoot : NodeAttribute::kInterior;
  WriteLe16(&bytes[kAttribute], static_cast<uint16_t>(attribute));
  WriteLe16(&bytes[kCount], static_cast<uint16_t>(page.entries.size()));
  WriteLe32(&bytes[kLeft], page.left);
  WriteLe32(&bytes[kRight], page.right);
  uint8_t* entry = &bytes[kEntries];
  for (const InteriorEntry& e : page.entries) {
    if (e.key.size() > key_length) throw std::invalid_argument("interior page: key too long");
    std::copy(e.key.begin(), e.key.end(), entry);  // the rest is already pad bytes
    WriteBe32(entry + key_length, e.record);
    WriteBe32(entry + key_length + 4, e.child);
    entry += key_length + 8;
  }
  return bytes;
}

CdxInteriorPage DecodeInteriorPage(const CdxPage& bytes, const CdxPageContext& context) {
  CheckKeyLength(context);
  const NodeAttribute attribute = ReadNodeAttribute(bytes, context.file_name);
  if (IsLeaf(attribute)) ThrowCorrupted(context.file_name);
  const uint16_t key_length = context.key_length;
  const uint16_t count = ReadLe16(&bytes[kCount]);
  if (count > MaxInteriorEntries(key_length)) ThrowCorrupted(context.file_name);

  CdxInteriorPage page;
  page.root = IsRoot(attribute);
  page.left = ReadLe32(&bytes[kLeft]);
  page.right = ReadLe32(&bytes[kRight]);
  CheckPageOffset(page.left, true, context);
  CheckPageOffset(page.right, true, context);
  page.entries.resize(count);
  const uint8_t* entry = &bytes[kEntries];
  for (InteriorEntry& e : page.entries) {
    const std::string_view key(reinterpret_cast<const char*>(entry), key_length);
    e.key = TrimKey(key, context.key_type);
    e.record = ReadBe32(entry + key_length);
    e.child = ReadBe32(entry + key_length + 4);
    CheckPageOffset(e.child, false, context);
    entry += key_length + 8;
  }
  return page;
}

}  // namespace idx
