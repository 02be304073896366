#ifndef SALDEX_INDEX_TAG_BUILDER_H_
#define SALDEX_INDEX_TAG_BUILDER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "index/cdx_interior_page.h"
#include "index/cdx_leaf_page.h"
#include "index/cdx_page_sink.h"

namespace idx {

// Writes a tag's B+-tree bottom-up from its pairs in sorted order, each page written once:
// - leaves are filled until their free bytes drop below 2 * (bytes per entry + key length + 8);
// - an interior page is closed when it holds 500 div (key length + 8) entries;
// - a closed page gets a freshly allocated right sibling when more pairs follow, else -1, and
//   hands (its last key, that key's record, its offset) to the level above;
// - at the end the levels are written bottom-up, the highest holding entries being the root
//   (attribute + 1); a tag without pairs gets an empty root leaf.
// Leaf field widths come from the key length and the table's record count.
class TagBuilder {
 public:
  // REQUIRES: context.key_length is 1..240; `sink` outlives the builder.
  TagBuilder(const CdxPageContext& context, uint32_t record_count, CdxPageSink& sink);

  // REQUIRES: pairs come in tag order; record <= record_count; key at most key length bytes.
  void Add(std::string_view key, uint32_t record);

  // Writes what is left and returns the offset of the root page. Call once.
  uint32_t Finish();

 private:
  struct InteriorLevel {
    bool started = false;
    uint32_t offset = kNoPage;
    uint32_t left = kNoPage;
    std::vector<InteriorEntry> entries;
  };

  void StartLeaf(uint32_t offset, uint32_t left);
  void CloseLeaf(bool more_follow);
  // Appends the entry to interior level `level` (1 = just above the leaves); with `may_close`
  // a level that reaches its maximum is closed.
  void PassUp(size_t level, InteriorEntry entry, bool may_close, bool more_follow);
  void CloseInterior(size_t level, bool more_follow);
  InteriorLevel& Interior(size_t level);
  uint32_t WriteEmptyRoot();

  CdxPageContext context_;
  LeafParameters parameters_;
  CdxPageSink& sink_;
  size_t max_interior_entries_;
  size_t close_below_;  // free bytes under which a leaf is closed

  std::optional<CdxLeafWriter> leaf_;
  uint32_t leaf_offset_ = kNoPage;
  uint32_t leaf_left_ = kNoPage;
  bool leaf_full_ = false;
  std::string last_key_;
  uint32_t last_record_ = 0;
  bool any_pair_ = false;
  std::vector<InteriorLevel> interior_;  // [0] is level 1
};

}  // namespace idx

#endif  // SALDEX_INDEX_TAG_BUILDER_H_
