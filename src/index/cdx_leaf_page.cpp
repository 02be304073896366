#include "index/cdx_leaf_page.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "index/key_encoding.h"

namespace idx {
namespace {

constexpr size_t kAttribute = 0x00;
constexpr size_t kCount = 0x02;
constexpr size_t kLeft = 0x04;
constexpr size_t kRight = 0x08;
constexpr size_t kFree = 0x0C;
constexpr size_t kRecordMask = 0x0E;
constexpr size_t kDuplicateMask = 0x12;
constexpr size_t kTrailingMask = 0x13;
constexpr size_t kRecordBits = 0x14;
constexpr size_t kDuplicateBits = 0x15;
constexpr size_t kTrailingBits = 0x16;
constexpr size_t kEntryBytes = 0x17;
constexpr size_t kKeyArea = 0x18;

constexpr uint32_t kWidestRecordMask = 0x7FFFFFFF;
constexpr uint32_t kBit23 = 0x800000;
constexpr size_t kMaxEntryBytes = 8;

uint64_t MaskOf(unsigned bits) {
  return bits >= 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
}

// The field of `bits` bits whose lowest bit is `shift` (0 for an empty field).
uint64_t FieldAt(uint64_t entry, unsigned shift, unsigned bits) {
  return bits == 0 ? 0 : (entry >> shift) & MaskOf(bits);
}

size_t SharedPrefix(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  while (i < common && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

LeafParameters LeafParameters::For(uint16_t key_length, uint64_t record_limit) {
  const auto k = static_cast<uint8_t>(std::bit_width(key_length));
  LeafParameters p;
  p.duplicate_bits = p.trailing_bits = k;
  p.duplicate_mask = p.trailing_mask = static_cast<uint8_t>(MaskOf(k));
  p.entry_bytes = 3;
  p.record_bits = static_cast<uint8_t>(24 - 2 * k);
  p.record_mask = static_cast<uint32_t>(MaskOf(p.record_bits));
  while (p.record_mask < record_limit && p.record_mask != kWidestRecordMask) {
    ++p.entry_bytes;
    if (p.record_mask & ~(kBit23 - 1)) {
      p.record_bits = 31;
      p.record_mask = kWidestRecordMask;
    } else {
      p.record_bits += 8;
      p.record_mask = p.record_mask * 256 + 255;
    }
  }
  return p;
}

bool LeafParameters::Consistent() const {
  const bool widths_fit = entry_bytes >= 1 && entry_bytes <= kMaxEntryBytes && record_bits >= 1 &&
                          record_bits <= 32 && duplicate_bits >= 1 && duplicate_bits <= 8 &&
                          trailing_bits >= 1 && trailing_bits <= 8 &&
                          record_bits + duplicate_bits + trailing_bits <= 8 * entry_bytes;
  return widths_fit && record_mask == MaskOf(record_bits) &&
         duplicate_mask == MaskOf(duplicate_bits) && trailing_mask == MaskOf(trailing_bits);
}

CdxLeafWriter::CdxLeafWriter(const CdxPageContext& context, const LeafParameters& parameters)
    : context_(context), parameters_(parameters) {
  if (!parameters_.Consistent()) throw std::invalid_argument("leaf page: inconsistent widths");
}

size_t CdxLeafWriter::CostOf(std::string_view key) const {
  key = TrimKey(key, context_.key_type);
  const size_t duplicate = count_ == 0 ? 0 : SharedPrefix(previous_, key);
  return parameters_.entry_bytes + key.size() - duplicate;
}

bool CdxLeafWriter::Add(std::string_view key, uint32_t record) {
  if (key.size() > context_.key_length) throw std::invalid_argument("leaf page: key too long");
  if (record > parameters_.record_mask) {
    throw std::invalid_argument("leaf page: record number above the record mask");
  }
  key = TrimKey(key, context_.key_type);
  const size_t duplicate = count_ == 0 ? 0 : SharedPrefix(previous_, key);
  const size_t trailing = context_.key_length - key.size();
  const size_t stored = key.size() - duplicate;
  if (duplicate > parameters_.duplicate_mask || trailing > parameters_.trailing_mask) {
    throw std::invalid_argument("leaf page: counts wider than the leaf's fields");
  }
  if (parameters_.entry_bytes + stored > free_) return false;

  const unsigned entry_bits = 8u * parameters_.entry_bytes;
  const uint64_t entry =
      uint64_t{record} |
      uint64_t{duplicate} << (entry_bits - parameters_.trailing_bits - parameters_.duplicate_bits) |
      uint64_t{trailing} << (entry_bits - parameters_.trailing_bits);
  uint8_t* at = &page_[kKeyArea + count_ * parameters_.entry_bytes];
  for (size_t i = 0; i < parameters_.entry_bytes; ++i)
    at[i] = static_cast<uint8_t>(entry >> (8 * i));
  key_bytes_start_ -= stored;
  std::copy(key.begin() + static_cast<std::ptrdiff_t>(duplicate), key.end(),
            &page_[key_bytes_start_]);
  free_ -= parameters_.entry_bytes + stored;
  previous_.assign(key);
  ++count_;
  return true;
}

CdxPage CdxLeafWriter::Finish(bool root, uint32_t left, uint32_t right) const {
  CdxPage page = page_;
  const NodeAttribute attribute = root ? NodeAttribute::kLeafRoot : NodeAttribute::kLeaf;
  WriteLe16(&page[kAttribute], static_cast<uint16_t>(attribute));
  WriteLe16(&page[kCount], static_cast<uint16_t>(count_));
  WriteLe32(&page[kLeft], left);
  WriteLe32(&page[kRight], right);
  WriteLe16(&page[kFree], static_cast<uint16_t>(free_));
  WriteLe32(&page[kRecordMask], parameters_.record_mask);
  page[kDuplicateMask] = parameters_.duplicate_mask;
  page[kTrailingMask] = parameters_.trailing_mask;
  page[kRecordBits] = parameters_.record_bits;
  page[kDuplicateBits] = parameters_.duplicate_bits;
  page[kTrailingBits] = parameters_.trailing_bits;
  page[kEntryBytes] = parameters_.entry_bytes;
  return page;
}

std::vector<size_t> LeafEntryCosts(const std::vector<LeafEntry>& entries,
                                   const CdxPageContext& context,
                                   const LeafParameters& parameters) {
  std::vector<size_t> costs;
  costs.reserve(entries.size());
  std::string_view previous;
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string_view key = TrimKey(entries[i].key, context.key_type);
    const size_t duplicate = i == 0 ? 0 : SharedPrefix(previous, key);
    costs.push_back(parameters.entry_bytes + key.size() - duplicate);
    previous = key;
  }
  return costs;
}

std::optional<CdxPage> EncodeLeafPage(const CdxLeafPage& page, const CdxPageContext& context,
                                      const LeafParameters& parameters) {
  CdxLeafWriter writer(context, parameters);
  for (const LeafEntry& entry : page.entries) {
    if (!writer.Add(entry.key, entry.record)) return std::nullopt;
  }
  return writer.Finish(page.root, page.left, page.right);
}

LeafParameters DecodeLeafParameters(const CdxPage& bytes, const std::string& file_name) {
  LeafParameters p;
  p.record_mask = ReadLe32(&bytes[kRecordMask]);
  p.duplicate_mask = bytes[kDuplicateMask];
  p.trailing_mask = bytes[kTrailingMask];
  p.record_bits = bytes[kRecordBits];
  p.duplicate_bits = bytes[kDuplicateBits];
  p.trailing_bits = bytes[kTrailingBits];
  p.entry_bytes = bytes[kEntryBytes];
  if (!p.Consistent()) ThrowCorrupted(file_name);
  return p;
}

CdxLeafPage DecodeLeafPage(const CdxPage& bytes, const CdxPageContext& context) {
  const std::string& file_name = context.file_name;
  CheckKeyLength(context);
  const NodeAttribute attribute = ReadNodeAttribute(bytes, file_name);
  if (!IsLeaf(attribute)) ThrowCorrupted(file_name);
  const LeafParameters p = DecodeLeafParameters(bytes, file_name);
  const uint16_t count = ReadLe16(&bytes[kCount]);
  const size_t entries_end = kKeyArea + size_t{count} * p.entry_bytes;
  if (entries_end > kCdxPageSize) ThrowCorrupted(file_name);
  const uint16_t free = ReadLe16(&bytes[kFree]);

  CdxLeafPage page;
  page.root = IsRoot(attribute);
  page.left = ReadLe32(&bytes[kLeft]);
  page.right = ReadLe32(&bytes[kRight]);
  CheckPageOffset(page.left, true, context);
  CheckPageOffset(page.right, true, context);

  const size_t key_length = context.key_length;
  const char pad = static_cast<char>(context.pad_byte());
  const unsigned entry_bits = 8u * p.entry_bytes;
  std::string key(key_length, pad);  // the previous key with its pad bytes
  size_t key_bytes_start = kCdxPageSize;
  page.entries.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* at = &bytes[kKeyArea + i * p.entry_bytes];
    uint64_t entry = 0;
    for (size_t b = p.entry_bytes; b-- > 0;) entry = entry << 8 | at[b];
    const size_t trailing = FieldAt(entry, entry_bits - p.trailing_bits, p.trailing_bits);
    const size_t duplicate =
        FieldAt(entry, entry_bits - p.trailing_bits - p.duplicate_bits, p.duplicate_bits);
    if (trailing > key_length || duplicate > key_length - trailing || (i == 0 && duplicate != 0)) {
      ThrowCorrupted(file_name);
    }
    const size_t stored = key_length - duplicate - trailing;
    if (key_bytes_start < entries_end + stored) ThrowCorrupted(file_name);
    key_bytes_start -= stored;
    std::copy_n(&bytes[key_bytes_start], stored,
                key.begin() + static_cast<std::ptrdiff_t>(duplicate));
    std::fill(key.begin() + static_cast<std::ptrdiff_t>(duplicate + stored), key.end(), pad);
    page.entries[i].key = TrimKey(key, context.key_type);
    page.entries[i].record = static_cast<uint32_t>(entry & p.record_mask);
  }
  // The free count may not promise more room than the entries leave.
  if (free > key_bytes_start - entries_end) ThrowCorrupted(file_name);
  return page;
}

}  // namespace idx
