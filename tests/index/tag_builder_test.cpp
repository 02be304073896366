#include "index/tag_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "index/key_collation_table.h"
#include "index/key_encoding.h"

namespace idx {
namespace {

constexpr uint32_t kFirst = 0x600;  // first page after the directory tag and one tag header

// Pages of a file in memory, allocated from kFirst; each may be written once.
class MemorySink : public CdxPageSink {
 public:
  uint32_t AllocatePage() override {
    const uint32_t offset = next_;
    next_ += kCdxPageSize;
    allocated_.push_back(offset);
    return offset;
  }
  void WritePage(uint32_t offset, const CdxPage& page) override {
    EXPECT_TRUE(std::find(allocated_.begin(), allocated_.end(), offset) != allocated_.end());
    EXPECT_EQ(pages_.count(offset), 0u) << "page " << offset << " written twice";
    pages_[offset] = page;
    order_.push_back(offset);
  }
  const CdxPage& Page(uint32_t offset) const { return pages_.at(offset); }
  size_t written() const { return pages_.size(); }
  size_t allocated() const { return allocated_.size(); }
  const std::vector<uint32_t>& write_order() const { return order_; }

 private:
  uint32_t next_ = kFirst;
  std::vector<uint32_t> allocated_;
  std::map<uint32_t, CdxPage> pages_;
  std::vector<uint32_t> order_;
};

CdxPageContext Context(uint16_t key_length, KeyType type = KeyType::kCharacter) {
  CdxPageContext context;
  context.file_name = "test.cdx";
  context.file_size = 1u << 30;
  context.key_length = key_length;
  context.key_type = type;
  return context;
}

struct Pair {
  std::string key;
  uint32_t record;
  friend bool operator==(const Pair&, const Pair&) = default;
};

// Up to 36 ten-byte keys in collation order whose first bytes differ, so each takes
// 3 + 10 bytes of a leaf.
std::vector<Pair> DistinctKeys(size_t count) {
  const std::string first = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::vector<Pair> pairs;
  for (size_t i = 0; i < count && i < first.size(); ++i) {
    pairs.push_back({first[i] + std::string("xxxxxxxxx"), static_cast<uint32_t>(i + 1)});
  }
  return pairs;
}

// Document numbers "2005000001"...: neighbours share most of their bytes.
std::vector<Pair> NumberedKeys(size_t count) {
  std::vector<Pair> pairs;
  for (size_t i = 0; i < count; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "2005%06zu", i % 1000000);
    pairs.push_back({key, static_cast<uint32_t>(i + 1)});
  }
  return pairs;
}

uint32_t Build(MemorySink& sink, const CdxPageContext& context, uint32_t record_count,
               const std::vector<Pair>& pairs) {
  TagBuilder builder(context, record_count, sink);
  for (const Pair& p : pairs) builder.Add(p.key, p.record);
  return builder.Finish();
}

uint16_t Le16(const CdxPage& page, size_t at) {
  return ReadLe16(&page[at]);
}
uint32_t Le32(const CdxPage& page, size_t at) {
  return ReadLe32(&page[at]);
}

// Walks the tree: checks attributes, interior keys = last key of each child, sibling links
// along every level, and returns the leaf entries in order.
class TreeWalk {
 public:
  TreeWalk(const MemorySink& sink, const CdxPageContext& context)
      : sink_(sink), context_(context) {}

  std::vector<Pair> Walk(uint32_t root) {
    levels_.clear();
    std::vector<Pair> out;
    Descend(root, 0, true, &out);
    for (const auto& level : levels_) CheckSiblings(level);
    return out;
  }
  size_t depth() const { return levels_.size(); }
  const std::vector<uint32_t>& pages(size_t level) const { return levels_[level]; }

 private:
  // Returns the last entry of the subtree.
  Pair Descend(uint32_t offset, size_t depth, bool root, std::vector<Pair>* out) {
    if (levels_.size() <= depth) levels_.resize(depth + 1);
    levels_[depth].push_back(offset);
    const CdxPage& page = sink_.Page(offset);
    const auto attribute = static_cast<NodeAttribute>(Le16(page, 0));
    if (IsLeaf(attribute)) {
      EXPECT_EQ(IsRoot(attribute), root);
      const CdxLeafPage leaf = DecodeLeafPage(page, context_);
      EXPECT_FALSE(leaf.entries.empty() && !root);
      for (const auto& e : leaf.entries) out->push_back({e.key, e.record});
      return leaf.entries.empty() ? Pair{}
                                  : Pair{leaf.entries.back().key, leaf.entries.back().record};
    }
    EXPECT_EQ(IsRoot(attribute), root);
    const CdxInteriorPage interior = DecodeInteriorPage(page, context_);
    EXPECT_FALSE(interior.entries.empty());
    EXPECT_LE(interior.entries.size(), MaxInteriorEntries(context_.key_length));
    Pair last;
    for (const auto& e : interior.entries) {
      last = Descend(e.child, depth + 1, false, out);
      EXPECT_EQ(e.key, last.key) << "interior key of child " << e.child;
      EXPECT_EQ(e.record, last.record);
    }
    return last;
  }

  void CheckSiblings(const std::vector<uint32_t>& level) {
    for (size_t i = 0; i < level.size(); ++i) {
      const CdxPage& page = sink_.Page(level[i]);
      EXPECT_EQ(Le32(page, 4), i == 0 ? kNoPage : level[i - 1]) << "left of " << level[i];
      EXPECT_EQ(Le32(page, 8), i + 1 == level.size() ? kNoPage : level[i + 1])
          << "right of " << level[i];
    }
  }

  const MemorySink& sink_;
  CdxPageContext context_;
  std::vector<std::vector<uint32_t>> levels_;
};

TEST(TagBuilderTree, NoPairsGiveAnEmptyRootLeaf) {
  MemorySink sink;
  const uint32_t root = Build(sink, Context(10), 500000, {});
  EXPECT_EQ(root, kFirst);
  ASSERT_EQ(sink.written(), 1u);
  const CdxPage& page = sink.Page(root);
  const std::vector<uint8_t> head(page.begin(), page.begin() + 0x18);
  // Attribute 3, no keys, no siblings, 488 free, 3-byte entries whatever the record count.
  EXPECT_EQ(head, (std::vector<uint8_t>{3,    0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF,
                                        0xFF, 0xFF, 0xFF, 0xFF, 0xE8, 0x01, 0xFF, 0xFF,
                                        0,    0,    0x0F, 0x0F, 16,   4,    4,    3}));
  EXPECT_TRUE(std::all_of(page.begin() + 0x18, page.end(), [](uint8_t b) { return b == 0; }));
}

TEST(TagBuilderTree, FewKeysMakeOneRootLeaf) {
  MemorySink sink;
  const auto context = Context(10);
  const std::vector<Pair> pairs = {{"ABC", 2}, {"ABCD", 1}, {"ABD", 3}};
  const uint32_t root = Build(sink, context, 3, pairs);
  EXPECT_EQ(root, kFirst);
  ASSERT_EQ(sink.written(), 1u);
  const CdxPage& page = sink.Page(root);
  EXPECT_EQ(Le16(page, 0), 3);
  EXPECT_EQ(Le16(page, 2), 3);
  // Entries: record 2 dup 0 trail 7; record 1 dup 3 trail 6; record 3 dup 2 trail 7.
  EXPECT_EQ((std::vector<uint8_t>(page.begin() + 0x18, page.begin() + 0x18 + 9)),
            (std::vector<uint8_t>{0x02, 0x00, 0x70, 0x01, 0x00, 0x63, 0x03, 0x00, 0x72}));
  // Key bytes from the end: "ABC", then "D", then "D".
  EXPECT_EQ((std::vector<uint8_t>(page.end() - 5, page.end())),
            (std::vector<uint8_t>{'D', 'D', 'A', 'B', 'C'}));
  EXPECT_EQ(Le16(page, 0x0C), 488 - 9 - 5);
  EXPECT_EQ(TreeWalk(sink, context).Walk(root), pairs);
}

// With 3-byte entries and 10 stored bytes a key takes 13 bytes; a leaf closes once its free
// bytes drop below 2 * (3 + 10 + 8) = 42, which happens at the 35th key (488 - 455 = 33).
TEST(TagBuilderTree, LeafClosesAtTheThirtyFifthKeyAndGetsAnInteriorRoot) {
  MemorySink sink;
  const auto context = Context(10);
  const auto pairs = DistinctKeys(36);
  const uint32_t root = Build(sink, context, 36, pairs);
  // Allocation order: leaf 1, its right sibling (leaf 2), then the level above.
  EXPECT_EQ(root, kFirst + 1024);
  const CdxPage& leaf1 = sink.Page(kFirst);
  EXPECT_EQ(Le16(leaf1, 0), 2);
  EXPECT_EQ(Le16(leaf1, 2), 35);
  EXPECT_EQ(Le16(leaf1, 0x0C), 33);
  EXPECT_EQ(Le32(leaf1, 4), kNoPage);
  EXPECT_EQ(Le32(leaf1, 8), kFirst + 512);
  const CdxPage& leaf2 = sink.Page(kFirst + 512);
  EXPECT_EQ(Le16(leaf2, 2), 1);
  EXPECT_EQ(Le32(leaf2, 4), kFirst);
  EXPECT_EQ(Le32(leaf2, 8), kNoPage);

  const CdxInteriorPage top = DecodeInteriorPage(sink.Page(root), context);
  EXPECT_TRUE(top.root);
  ASSERT_EQ(top.entries.size(), 2u);
  EXPECT_EQ(top.entries[0], (InteriorEntry{pairs[34].key, pairs[34].record, kFirst}));
  EXPECT_EQ(top.entries[1], (InteriorEntry{pairs[35].key, pairs[35].record, kFirst + 512}));
  EXPECT_EQ(TreeWalk(sink, context).Walk(root), pairs);
  EXPECT_EQ(sink.allocated(), sink.written());
}

TEST(TagBuilderTree, ThirtyFourKeysStayInTheRootLeaf) {
  MemorySink sink;
  const auto context = Context(10);
  const uint32_t root = Build(sink, context, 34, DistinctKeys(34));
  EXPECT_EQ(root, kFirst);
  EXPECT_EQ(Le16(sink.Page(root), 0), 3);
  EXPECT_EQ(Le16(sink.Page(root), 0x0C), 488 - 34 * 13);
}

TEST(TagBuilderTree, LeafFilledByTheLastPairClosesWithoutRightSibling) {
  MemorySink sink;
  const auto context = Context(10);
  const auto pairs = DistinctKeys(35);
  const uint32_t root = Build(sink, context, 35, pairs);
  EXPECT_EQ(root, kFirst + 512);
  EXPECT_EQ(Le32(sink.Page(kFirst), 8), kNoPage);
  const CdxInteriorPage top = DecodeInteriorPage(sink.Page(root), context);
  ASSERT_EQ(top.entries.size(), 1u);
  EXPECT_EQ(top.entries[0].child, kFirst);
  EXPECT_EQ(sink.allocated(), 2u);
  EXPECT_EQ(TreeWalk(sink, context).Walk(root), pairs);
}

// Every leaf but the last closed at the first key that took its free bytes below
// 2 * (4 + 10 + 8) = 44 (4-byte entries for 100000 records); every interior page but the last of
// its level holds 27 entries.
TEST(TagBuilderTree, PagesCloseExactlyAtTheirLimits) {
  MemorySink sink;
  const auto context = Context(10);
  const auto pairs = NumberedKeys(100000);
  const uint32_t root = Build(sink, context, static_cast<uint32_t>(pairs.size()), pairs);
  TreeWalk walk(sink, context);
  EXPECT_EQ(walk.Walk(root), pairs);
  ASSERT_EQ(walk.depth(), 4u);
  const auto parameters = LeafParameters::For(10, pairs.size());
  for (size_t level = 0; level < walk.depth(); ++level) {
    const auto& pages = walk.pages(level);
    for (size_t i = 0; i + 1 < pages.size(); ++i) {
      const CdxPage& page = sink.Page(pages[i]);
      if (level + 1 < walk.depth()) {
        EXPECT_EQ(Le16(page, 2), 27) << "interior page " << pages[i];
        continue;
      }
      const CdxLeafPage leaf = DecodeLeafPage(page, context);
      const size_t last_cost = LeafEntryCosts(leaf.entries, context, parameters).back();
      const size_t close_below = 2 * (parameters.entry_bytes + 10 + 8);
      EXPECT_LT(Le16(page, 0x0C), close_below) << "leaf " << pages[i];
      EXPECT_GE(Le16(page, 0x0C) + last_cost, close_below) << "leaf " << pages[i];
    }
  }
  EXPECT_EQ(sink.allocated(), sink.written());
}

TEST(TagBuilderTree, RecordCountWidensTheEntries) {
  MemorySink sink;
  const auto context = Context(10);
  const uint32_t root = Build(sink, context, 70000, {{"A", 70000}});
  const CdxPage& page = sink.Page(root);
  EXPECT_EQ(page[0x17], 4);
  EXPECT_EQ(Le32(page, 0x0E), 0xFFFFFFu);
  EXPECT_EQ(TreeWalk(sink, context).Walk(root), (std::vector<Pair>{{"A", 70000}}));
}

struct TreeCase {
  const char* name;
  KeyType type;
  uint16_t key_length;
  size_t count;
  int alphabet;
};

class TagBuilderRandom : public ::testing::TestWithParam<TreeCase> {};

TEST_P(TagBuilderRandom, TreeHoldsEveryPairInOrder) {
  const TreeCase& c = GetParam();
  std::mt19937 random(7);
  std::vector<Pair> pairs;
  for (size_t i = 0; i < c.count; ++i) {
    std::string key;
    if (c.type == KeyType::kCharacter) {
      key.assign(random() % (c.key_length + 1), ' ');
      for (char& ch : key) ch = static_cast<char>('A' + random() % c.alphabet);
      key = std::string(TrimKey(key, c.type));
    } else {
      key = EncodeNumberKey(static_cast<double>(static_cast<int>(random() % 2000) - 1000) / 8,
                            /*trim=*/true);
    }
    pairs.push_back({key, static_cast<uint32_t>(i + 1)});
  }
  std::sort(pairs.begin(), pairs.end(), [&](const Pair& a, const Pair& b) {
    const int r = c.type == KeyType::kCharacter ? KeyCollationTable::Compare(a.key, b.key)
                                                : CompareBytes(a.key, b.key);
    return r != 0 ? r < 0 : a.record < b.record;
  });
  MemorySink sink;
  const auto context = Context(c.key_length, c.type);
  const uint32_t root = Build(sink, context, static_cast<uint32_t>(c.count), pairs);
  EXPECT_EQ(TreeWalk(sink, context).Walk(root), pairs);
  EXPECT_EQ(sink.allocated(), sink.written());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TagBuilderRandom,
    ::testing::Values(TreeCase{"ShortCharacterKeys", KeyType::kCharacter, 10, 20000, 3},
                      TreeCase{"WideCharacterKeys", KeyType::kCharacter, 120, 3000, 2},
                      TreeCase{"LongestKeys", KeyType::kCharacter, 240, 2000, 26},
                      TreeCase{"NumberKeys", KeyType::kNumber, 8, 30000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace idx
