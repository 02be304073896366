#include "index/cdx_node.h"

#include <algorithm>

#include "index/cdx_interior_page.h"
#include "index/cdx_leaf_page.h"

namespace idx {
namespace {

constexpr size_t kLeafSplitBytes = 250;

CdxLeafPage ToLeafPage(const CdxNode& node) {
  CdxLeafPage page;
  page.root = node.root;
  page.left = node.left;
  page.right = node.right;
  page.entries.reserve(node.entries.size());
  for (const NodeEntry& e : node.entries) page.entries.push_back({e.key, e.record});
  return page;
}

}  // namespace

CdxNode DecodeNode(const CdxPage& bytes, uint32_t offset, const CdxPageContext& context) {
  CdxNode node;
  node.offset = offset;
  if (IsLeaf(ReadNodeAttribute(bytes, context.file_name))) {
    CdxLeafPage page = DecodeLeafPage(bytes, context);
    node.leaf = true;
    node.root = page.root;
    node.left = page.left;
    node.right = page.right;
    node.entries.reserve(page.entries.size());
    for (LeafEntry& e : page.entries) node.entries.push_back({std::move(e.key), e.record, 0});
  } else {
    CdxInteriorPage page = DecodeInteriorPage(bytes, context);
    node.leaf = false;
    node.root = page.root;
    node.left = page.left;
    node.right = page.right;
    node.entries.reserve(page.entries.size());
    for (InteriorEntry& e : page.entries) {
      node.entries.push_back({std::move(e.key), e.record, e.child});
    }
  }
  return node;
}

uint64_t LeafRecordLimit(const CdxNode& node, uint64_t table_limit) {
  uint64_t limit = table_limit;
  for (const NodeEntry& e : node.entries) limit = std::max<uint64_t>(limit, e.record);
  return limit;
}

std::optional<CdxPage> EncodeNode(const CdxNode& node, const CdxPageContext& context,
                                  uint64_t record_limit) {
  if (node.leaf) {
    const LeafParameters parameters =
        LeafParameters::For(context.key_length, LeafRecordLimit(node, record_limit));
    return EncodeLeafPage(ToLeafPage(node), context, parameters);
  }
  if (node.entries.size() > MaxInteriorEntries(context.key_length)) return std::nullopt;
  CdxInteriorPage page;
  page.root = node.root;
  page.left = node.left;
  page.right = node.right;
  page.entries.reserve(node.entries.size());
  for (const NodeEntry& e : node.entries) page.entries.push_back({e.key, e.record, e.child});
  return EncodeInteriorPage(page, context);
}

size_t SplitCount(const CdxNode& node, const CdxPageContext& context, uint64_t record_limit) {
  const size_t count = node.entries.size();
  if (!node.leaf) return count - count / 2;
  const LeafParameters parameters =
      LeafParameters::For(context.key_length, LeafRecordLimit(node, record_limit));
  const std::vector<size_t> costs = LeafEntryCosts(ToLeafPage(node).entries, context, parameters);
  size_t total = 0, taken = 0;
  while (taken < costs.size() && total + costs[taken] < kLeafSplitBytes) total += costs[taken++];
  return std::clamp<size_t>(taken, 1, count - 1);
}

}  // namespace idx
