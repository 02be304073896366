#include "index/cdx_tag.h"

#include <stdexcept>
#include <unordered_set>

#include "dbf/errors.h"
#include "dbf/format_settings.h"
#include "index/cdx_index.h"
#include "index/expression/date_text.h"
#include "index/key_compare.h"
#include "index/key_encoding.h"
#include "index/tag_key_source.h"

namespace idx {
namespace {

// Deeper than any tree of 512-byte pages over 32-bit record numbers can grow.
constexpr size_t kMaxDepth = 48;

// A number typed with the locale's decimal separator; the conversion error when it is none.
double ParseNumberTextOrThrow(std::string_view text) {
  const std::optional<double> number = dbf::ParseLocaleNumber(text);
  if (!number) {
    throw dbf::ExpressionError(
        dbf::FormatMessage("'%s' is not a valid floating point value", std::string(text)));
  }
  return *number;
}

}  // namespace

CdxTag::CdxTag(CdxIndex& index, std::string name, uint32_t header_offset, CdxTagHeader header,
               KeyType key_type)
    : index_(index),
      name_(std::move(name)),
      header_offset_(header_offset),
      header_(std::move(header)),
      key_type_(key_type) {}

CdxTag::~CdxTag() = default;

void CdxTag::set_key_source(std::unique_ptr<TagKeySource> source) {
  key_source_ = std::move(source);
}

CdxPageContext CdxTag::context() const {
  return CdxPageContext{index_.path(), index_.file_size(), header_.key_length, key_type_};
}

uint64_t CdxTag::LeafLimit() const {
  return index_.RecordLimit(*this);
}

// ---------------------------------------------------------------- keys

std::string CdxTag::KeyOf(const KeyValue& value) const {
  try {
    return EncodeKey(key_type_, header_.key_length, value, true);
  } catch (const std::invalid_argument&) {
    throw dbf::DbfError("Variant type cannot be sorted");
  }
}

std::string CdxTag::KeyFromText(std::string_view text) const {
  const std::string_view trimmed = TrimKey(text, KeyType::kCharacter);
  if (trimmed.empty()) return {};
  if (key_type_ == KeyType::kCharacter) {
    return std::string(trimmed.substr(0, header_.key_length));
  }
  if (key_type_ == KeyType::kNumber) return EncodeNumberKey(ParseNumberTextOrThrow(trimmed), true);
  return EncodeNumberKey(ParseDateTextOrThrow(trimmed), true);
}

int CdxTag::Compare(std::string_view search, std::string_view stored, bool prefix_mode) const {
  return CompareKeys(key_type_, search, stored, prefix_mode);
}

// ---------------------------------------------------------------- pages

CdxNode CdxTag::ReadNode(uint32_t offset) {
  const CdxPageContext ctx = context();
  CheckPageOffset(offset, false, ctx);
  return DecodeNode(index_.ReadPage(offset), offset, ctx);
}

void CdxTag::WriteNode(const CdxNode& node) {
  const std::optional<CdxPage> bytes = EncodeNode(node, context(), LeafLimit());
  if (!bytes) ThrowCorrupted(index_.path());  // callers split first; cannot happen
  index_.WritePage(node.offset, *bytes);
}

CdxTag::Level CdxTag::LoadLevel(uint32_t offset, size_t depth) {
  if (depth >= kMaxDepth) ThrowCorrupted(index_.path());
  return Level{ReadNode(offset), 0};
}

CdxTag::Path CdxTag::Descend(std::string_view key, uint32_t record, bool prefix_mode) {
  Path path;
  uint32_t offset = header_.root_offset;
  for (;;) {
    path.push_back(LoadLevel(offset, path.size()));
    Level& level = path.back();
    const std::vector<NodeEntry>& entries = level.node.entries;
    size_t i = 0;
    while (i < entries.size() &&
           !SearchStopsAt(key_type_, key, record, prefix_mode, entries[i].key, entries[i].record)) {
      ++i;
    }
    if (level.node.leaf || entries.empty()) {
      level.index = i;
      return path;
    }
    level.index = i < entries.size() ? i : entries.size() - 1;
    offset = entries[level.index].child;
  }
}

// Loads the pages from `offset` down to a leaf along the first (or last) children. True when it
// ends on a leaf with keys.
bool CdxTag::DescendEdge(Path& path, uint32_t offset, bool first) {
  for (;;) {
    path.push_back(LoadLevel(offset, path.size()));
    Level& level = path.back();
    if (level.node.entries.empty()) return false;
    level.index = first ? 0 : level.node.entries.size() - 1;
    if (level.node.leaf) return true;
    offset = level.node.entries[level.index].child;
  }
}

// A step past an exhausted leaf visits each page at most once in a sound tree; more subtrees
// than the file has pages means pages are shared or cyclic.
uint64_t CdxTag::LoadBudget() const {
  return index_.file_size() / kCdxPageSize + kMaxDepth;
}

bool CdxTag::AdvanceLeaf(Path& path) {
  const uint64_t budget = LoadBudget();
  for (uint64_t loads = 0;; ++loads) {
    if (loads > budget) ThrowCorrupted(index_.path());
    size_t a = path.size() - 1;
    while (a > 0 && path[a - 1].index + 1 >= path[a - 1].node.entries.size()) --a;
    if (a == 0) return false;
    Level& parent = path[a - 1];
    ++parent.index;
    const uint32_t child = parent.node.entries[parent.index].child;
    path.resize(a);
    if (DescendEdge(path, child, true)) return true;
  }
}

bool CdxTag::RetreatLeaf(Path& path) {
  const uint64_t budget = LoadBudget();
  for (uint64_t loads = 0;; ++loads) {
    if (loads > budget) ThrowCorrupted(index_.path());
    size_t a = path.size() - 1;
    while (a > 0 && path[a - 1].index == 0) --a;
    if (a == 0) return false;
    Level& parent = path[a - 1];
    --parent.index;
    const uint32_t child = parent.node.entries[parent.index].child;
    path.resize(a);
    if (DescendEdge(path, child, false)) return true;
  }
}

bool CdxTag::StepForward(Path& path) {
  Level& leaf = path.back();
  if (leaf.node.leaf && leaf.index + 1 < leaf.node.entries.size()) {
    ++leaf.index;
    return true;
  }
  Path saved = path;
  if (AdvanceLeaf(path)) return true;
  path = std::move(saved);
  return false;
}

bool CdxTag::StepBackward(Path& path) {
  Level& leaf = path.back();
  if (leaf.node.leaf && leaf.index > 0 && leaf.index <= leaf.node.entries.size()) {
    --leaf.index;
    return true;
  }
  Path saved = path;
  if (RetreatLeaf(path)) return true;
  path = std::move(saved);
  return false;
}

void CdxTag::ForEachEntry(
    const std::function<void(const std::string& key, uint32_t record)>& visit) {
  Path path;
  if (!DescendEdge(path, header_.root_offset, true) && !AdvanceLeaf(path)) return;
  std::unordered_set<uint32_t> leaves;
  for (;;) {
    const Level& leaf = path.back();
    if (!leaves.insert(leaf.node.offset).second) ThrowCorrupted(index_.path());
    for (const NodeEntry& e : leaf.node.entries) visit(e.key, e.record);
    if (!AdvanceLeaf(path)) return;
  }
}

// ---------------------------------------------------------------- changes

bool CdxTag::Insert(std::string_view key, uint32_t record) {
  if (header_.unique) {
    Path probe = Descend(key, kAnyRecord, false);
    Level& leaf = probe.back();
    if (leaf.index < leaf.node.entries.size() || AdvanceLeaf(probe)) {
      const NodeEntry& e = probe.back().node.entries[probe.back().index];
      if (Compare(key, e.key, false) == 0) return false;
    }
  }
  Path path = Descend(key, record, false);
  Level& leaf = path.back();
  if (!leaf.node.leaf) {  // empty interior root: the tree starts again as a leaf root
    leaf.node.leaf = true;
  }
  leaf.node.entries.insert(leaf.node.entries.begin() + static_cast<ptrdiff_t>(leaf.index),
                           NodeEntry{std::string(key), record, 0});
  Store(path, path.size() - 1);
  return true;
}

bool CdxTag::Remove(std::string_view key, uint32_t record) {
  Path path = Descend(key, record, false);
  if (path.back().index >= path.back().node.entries.size() && !AdvanceLeaf(path)) return false;
  Level& leaf = path.back();
  if (!leaf.node.leaf) return false;
  const NodeEntry& e = leaf.node.entries[leaf.index];
  if (e.record != record || Compare(key, e.key, false) != 0) return false;
  leaf.node.entries.erase(leaf.node.entries.begin() + static_cast<ptrdiff_t>(leaf.index));
  Store(path, path.size() - 1);
  return true;
}

bool CdxTag::Contains(std::string_view key, uint32_t record) {
  Path path = Descend(key, record, false);
  if (path.back().index >= path.back().node.entries.size() && !AdvanceLeaf(path)) return false;
  const Level& leaf = path.back();
  if (!leaf.node.leaf) return false;
  const NodeEntry& e = leaf.node.entries[leaf.index];
  return e.record == record && Compare(key, e.key, false) == 0;
}

// Writes the node at `level` after a change, splitting it as long as it does not fit, then
// brings the parent's entry for it up to date and stores the parent when it changed.
void CdxTag::Store(Path& path, size_t level) {
  if (level > 0 && path[level].node.entries.empty()) {
    RemoveEmptyNode(path, level);
    return;
  }
  if (level == 0 && path[0].node.entries.empty()) path[0].node.leaf = true;
  bool parent_changed = false;
  for (;;) {
    const std::optional<CdxPage> bytes = EncodeNode(path[level].node, context(), LeafLimit());
    if (bytes) {
      index_.WritePage(path[level].node.offset, *bytes);
      break;
    }
    if (level == 0) {
      SplitRoot(path);
      level = 1;
    }
    SplitNode(path, level);
    parent_changed = true;
  }
  if (level == 0) return;
  NodeEntry& entry = path[level - 1].node.entries[path[level - 1].index];
  const NodeEntry& last = path[level].node.entries.back();
  if (entry.key != last.key || entry.record != last.record) {
    entry.key = last.key;
    entry.record = last.record;
    parent_changed = true;
  }
  if (parent_changed) Store(path, level - 1);
}

// The root keeps its offset: its entries move to a new page that becomes the only child of a
// new interior root.
void CdxTag::SplitRoot(Path& path) {
  CdxNode child = path[0].node;
  child.offset = index_.AllocatePage();
  child.root = false;
  child.left = kNoPage;
  child.right = kNoPage;
  CdxNode root;
  root.offset = path[0].node.offset;
  root.leaf = false;
  root.root = true;
  const NodeEntry& last = child.entries.back();
  root.entries.push_back(NodeEntry{last.key, last.record, child.offset});
  const size_t index = path[0].index;
  path[0] = Level{std::move(root), 0};
  path.insert(path.begin() + 1, Level{std::move(child), index});
}

// Moves the first entries of the node at `level` to a new left sibling, links it in and
// announces it to the parent in front of the node's own entry.
void CdxTag::SplitNode(Path& path, size_t level) {
  CdxNode& node = path[level].node;
  const size_t count = SplitCount(node, context(), LeafLimit());
  CdxNode left;
  left.offset = index_.AllocatePage();
  left.leaf = node.leaf;
  left.left = node.left;
  left.right = node.offset;
  left.entries.assign(
      std::make_move_iterator(node.entries.begin()),
      std::make_move_iterator(node.entries.begin() + static_cast<ptrdiff_t>(count)));
  node.entries.erase(node.entries.begin(), node.entries.begin() + static_cast<ptrdiff_t>(count));
  const uint32_t old_left = node.left;
  node.left = left.offset;
  WriteNode(left);
  if (old_left != kNoPage) index_.WriteSiblingLink(old_left, true, left.offset);
  Level& parent = path[level - 1];
  const NodeEntry& last = left.entries.back();
  parent.node.entries.insert(parent.node.entries.begin() + static_cast<ptrdiff_t>(parent.index),
                             NodeEntry{last.key, last.record, left.offset});
  ++parent.index;
}

// A page that lost its last entry leaves the tree (the page itself is not reused).
void CdxTag::RemoveEmptyNode(Path& path, size_t level) {
  const CdxNode& node = path[level].node;
  if (node.left != kNoPage) index_.WriteSiblingLink(node.left, true, node.right);
  if (node.right != kNoPage) index_.WriteSiblingLink(node.right, false, node.left);
  Level& parent = path[level - 1];
  parent.node.entries.erase(parent.node.entries.begin() + static_cast<ptrdiff_t>(parent.index));
  if (parent.index > 0 && parent.index >= parent.node.entries.size()) --parent.index;
  path.resize(level);
  if (level - 1 > 0 && parent.node.entries.empty()) {
    RemoveEmptyNode(path, level - 1);
    return;
  }
  if (level - 1 == 0) {
    if (parent.node.entries.empty()) parent.node.leaf = true;
    WriteNode(parent.node);
    return;
  }
  // The parent's last key may have changed: store it through the general path.
  Store(path, level - 1);
}

}  // namespace idx
