#ifndef SALDEX_INDEX_CDX_NODE_H_
#define SALDEX_INDEX_CDX_NODE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "index/cdx_page.h"

namespace idx {

// One entry of a node: a leaf key with its record number, or an interior key (the highest
// key of the child) with that key's record number and the child's offset.
struct NodeEntry {
  std::string key;  // without pad bytes
  uint32_t record = 0;
  uint32_t child = 0;  // interior entries only
  friend bool operator==(const NodeEntry&, const NodeEntry&) = default;
};

// A page of a tag's B+-tree as held in memory, leaf keys decompressed.
struct CdxNode {
  uint32_t offset = kNoPage;
  bool leaf = true;
  bool root = false;
  uint32_t left = kNoPage;
  uint32_t right = kNoPage;
  std::vector<NodeEntry> entries;
};

// Decodes a leaf or interior page (checks of the page codecs; damage raises
// "Index file %s is corrupted").
CdxNode DecodeNode(const CdxPage& bytes, uint32_t offset, const CdxPageContext& context);

// Encodes `node`; nullopt when a leaf's keys do not fit into its key area or an interior node
// holds more than MaxInteriorEntries. `record_limit` chooses the leaf field widths.
std::optional<CdxPage> EncodeNode(const CdxNode& node, const CdxPageContext& context,
                                  uint64_t record_limit);

// How many of the first entries of an overfull node go to the new left sibling: for a leaf the
// keys counted while the running total of their costs stays below 250 (at least one, and one
// is always left), for an interior node count - count div 2.
size_t SplitCount(const CdxNode& node, const CdxPageContext& context, uint64_t record_limit);

// Record limit for the leaf field widths of `node`: the larger of `table_limit` and every
// record number in it, so that each entry can be written.
uint64_t LeafRecordLimit(const CdxNode& node, uint64_t table_limit);

}  // namespace idx

#endif  // SALDEX_INDEX_CDX_NODE_H_
