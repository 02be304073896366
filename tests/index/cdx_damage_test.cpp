// Damage on purpose: byte flips and page-link cycles in a real multi-level file must end in
// "Index file %s is corrupted" or a clean walk, never a crash, a hang or a read outside a page.

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "dbf/errors.h"
#include "index/cdx_checker.h"
#include "index/cdx_index.h"
#include "index/cdx_page.h"
#include "index/cdx_tag.h"
#include "support/table_builder.h"

namespace idx {
namespace {

using testing_support::ReadFileBytes;
using testing_support::TempDir;

std::string BuildSample(const TempDir& dir) {
  const std::string path = dir.File("sample.cdx");
  CdxOpenOptions options;
  options.may_create = true;
  auto index = CdxIndex::Open(path, options);
  CdxTagHeader header;
  header.key_length = 30;
  header.key_expression = "NAME";
  CdxTag& tag = index->AddEmptyTag("NAME", header);
  std::mt19937 random(5);
  for (uint32_t recno = 1; recno <= 600; ++recno) {
    tag.Insert("Zakaznik " + std::to_string(random() % 1000), recno);
  }
  return ReadFileBytes(path);
}

void Exercise(const std::string& path) {
  CdxOpenOptions options;
  options.read_write = false;
  std::unique_ptr<CdxIndex> index;
  try {
    index = CdxIndex::Open(path, options);
  } catch (const dbf::DbfError&) {
    return;
  }
  for (const auto& tag : index->tags()) {
    try {
      int steps = 0;
      for (uint32_t r = tag->First(); r != 0 && steps < 5000; r = tag->Next()) ++steps;
      for (uint32_t r = tag->Last(); r != 0 && steps < 10000; r = tag->Prior()) ++steps;
      tag->SeekText("Zakaznik 5", false, true, {});
    } catch (const dbf::DbfError&) {
    }
  }
  CheckCdx(*index, nullptr);
}

TEST(CdxDamage, RandomByteFlipsAreCaughtOrHarmless) {
  TempDir dir;
  const std::string sample = BuildSample(dir);
  ASSERT_GT(sample.size(), 5000u);
  std::mt19937 random(11);
  const std::string path = dir.File("damaged.cdx");
  for (int round = 0; round < 150; ++round) {
    std::string bytes = sample;
    const int flips = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < flips; ++i) {
      bytes[random() % bytes.size()] = static_cast<char>(random());
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    Exercise(path);
  }
}

TEST(CdxDamage, ChildPointingBackToTheRootIsReportedNotFollowedForever) {
  TempDir dir;
  std::string bytes = BuildSample(dir);
  // The tag's root (header at 1536, root offset at 1536) is interior; point its first child at
  // the root itself.
  const uint32_t root = ReadLe32(reinterpret_cast<const uint8_t*>(bytes.data()) + 1536);
  ASSERT_EQ(bytes[root], 1);
  WriteBe32(reinterpret_cast<uint8_t*>(bytes.data()) + root + 12 + 30 + 4, root);
  const std::string path = dir.File("cycle.cdx");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  Exercise(path);
  auto index = CdxIndex::Open(path, {});
  const CdxCheckReport report = CheckCdx(*index, nullptr);
  EXPECT_FALSE(report.clean());
}

TEST(CdxDamage, LeafSiblingCycleIsReported) {
  TempDir dir;
  std::string bytes = BuildSample(dir);
  const std::string path = dir.File("links.cdx");
  {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    auto index = CdxIndex::Open(path, {});
    EXPECT_TRUE(CheckCdx(*index, nullptr).clean());
  }
  // Find a leaf with a right sibling and point that link back at the leaf itself.
  for (size_t page = 2048; page + 512 <= bytes.size(); page += 512) {
    auto* p = reinterpret_cast<uint8_t*>(bytes.data()) + page;
    if (p[0] == 2 && ReadLe32(p + 8) != kNoPage) {
      WriteLe32(p + 8, static_cast<uint32_t>(page));
      break;
    }
  }
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  auto index = CdxIndex::Open(path, {});
  const CdxCheckReport report = CheckCdx(*index, nullptr);
  ASSERT_FALSE(report.clean());
  EXPECT_NE(report.faults[0].find("broken sibling links"), std::string::npos) << report.faults[0];
}

TEST(CdxDamage, KeysOutOfOrderAndStaleInteriorKeysAreReported) {
  TempDir dir;
  const std::string path = dir.File("order.cdx");
  auto index = CdxIndex::Open(path, {.may_create = true});
  CdxTagHeader header;
  header.key_length = 10;
  header.key_expression = "K";
  CdxTag& tag = index->AddEmptyTag("K", header);
  for (uint32_t recno = 1; recno <= 300; ++recno) tag.Insert(std::to_string(1000 + recno), recno);
  // Rewrite the first leaf with its two first keys swapped.
  CdxNode root = tag.ReadNode(tag.root_offset());
  ASSERT_FALSE(root.leaf);
  CdxNode leaf = tag.ReadNode(root.entries.front().child);
  std::swap(leaf.entries[0], leaf.entries[1]);
  index->WritePage(leaf.offset, *EncodeNode(leaf, tag.context(), 300));
  CdxCheckReport report = CheckCdx(*index, nullptr);
  ASSERT_FALSE(report.clean());
  EXPECT_NE(report.faults[0].find("out of order"), std::string::npos) << report.faults[0];

  std::swap(leaf.entries[0], leaf.entries[1]);
  leaf.entries.pop_back();
  index->WritePage(leaf.offset, *EncodeNode(leaf, tag.context(), 300));
  report = CheckCdx(*index, nullptr);
  ASSERT_FALSE(report.clean());
  EXPECT_NE(report.faults[0].find("is not the last key of its child"), std::string::npos)
      << report.faults[0];
}

}  // namespace
}  // namespace idx
