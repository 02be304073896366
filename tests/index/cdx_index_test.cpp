#include "index/cdx_index.h"

#include <gtest/gtest.h>

#include <fstream>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "index/cdx_tag.h"
#include "support/table_builder.h"

namespace idx {
namespace {

using testing_support::ReadFileBytes;
using testing_support::TempDir;

std::string Hex(const std::string& bytes, size_t from, size_t count) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (size_t i = from; i < from + count; ++i) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::unique_ptr<CdxIndex> OpenNew(const std::string& path) {
  CdxOpenOptions options;
  options.may_create = true;
  return CdxIndex::Open(path, options);
}

TEST(CdxIndexCreate, NewFileIsTheStructureTagHeaderAndAnEmptyRootLeaf) {
  TempDir dir;
  OpenNew(dir.File("new.cdx"));
  const std::string bytes = ReadFileBytes(dir.File("new.cdx"));
  ASSERT_EQ(bytes.size(), 1536u);
  EXPECT_EQ(Hex(bytes, 0, 16), "00 04 00 00 00 00 00 00 00 00 00 00 0A 00 E0 01");
  EXPECT_EQ(Hex(bytes, 0x1F6, 10), "00 00 00 00 01 00 00 00 01 00");
  EXPECT_EQ(Hex(bytes, 1024, 24),
            "03 00 00 00 FF FF FF FF FF FF FF FF E8 01 FF FF 00 00 0F 0F 10 04 04 03");
  for (size_t i = 1024 + 24; i < 1536; ++i) ASSERT_EQ(bytes[i], '\0') << i;
}

TEST(CdxIndexCreate, FileOf512BytesOrLessIsInitialised) {
  TempDir dir;
  std::ofstream(dir.File("short.cdx"), std::ios::binary) << std::string(512, '\x55');
  OpenNew(dir.File("short.cdx"));
  TempDir other;
  OpenNew(other.File("new.cdx"));
  EXPECT_EQ(ReadFileBytes(dir.File("short.cdx")), ReadFileBytes(other.File("new.cdx")));
}

TEST(CdxIndexCreate, NameWithoutExtensionGetsCdx) {
  TempDir dir;
  auto index = OpenNew(dir.File("plain"));
  EXPECT_EQ(index->path(), dir.File("plain.cdx"));
}

TEST(CdxIndexDirectory, StructureTagLeafAfterAddingDo1) {
  TempDir dir;
  {
    auto index = OpenNew(dir.File("fak.cdx"));
    CdxTagHeader header;
    header.key_length = 10;
    header.key_expression = "HLA_DO1";
    CdxTag& tag = index->AddEmptyTag("do1", header);
    EXPECT_EQ(tag.header_offset(), 1536u);
    EXPECT_EQ(tag.root_offset(), 2560u);
    EXPECT_EQ(tag.name(), "DO1");
  }
  const std::string bytes = ReadFileBytes(dir.File("fak.cdx"));
  EXPECT_EQ(Hex(bytes, 1024, 24),
            "03 00 01 00 FF FF FF FF FF FF FF FF E2 01 FF FF 00 00 0F 0F 10 04 04 03");
  EXPECT_EQ(Hex(bytes, 1024 + 0x18, 3), "00 06 70");
  EXPECT_EQ(Hex(bytes, 1024 + 0x1FD, 3), "44 4F 31");

  CdxOpenOptions options;
  auto reopened = CdxIndex::Open(dir.File("fak.cdx"), options);
  ASSERT_EQ(reopened->tags().size(), 1u);
  EXPECT_EQ(reopened->tags()[0]->name(), "DO1");
  EXPECT_EQ(reopened->tags()[0]->header().key_expression, "HLA_DO1");
  EXPECT_EQ(reopened->FindTag("Do1"), reopened->tags()[0].get());
}

TEST(CdxIndexDirectory, TagsListInNameOrderAndReplacingATagKeepsOneEntry) {
  TempDir dir;
  {
    auto index = OpenNew(dir.File("x.cdx"));
    CdxTagHeader header;
    header.key_length = 4;
    header.key_expression = "A";
    for (const char* name : {"NAC", "DAT", "DO1", "DAT"}) index->AddEmptyTag(name, header);
  }
  auto index = CdxIndex::Open(dir.File("x.cdx"), {});
  ASSERT_EQ(index->tags().size(), 3u);
  EXPECT_EQ(index->tags()[0]->name(), "DAT");
  EXPECT_EQ(index->tags()[1]->name(), "DO1");
  EXPECT_EQ(index->tags()[2]->name(), "NAC");
  EXPECT_TRUE(index->RemoveTagFromDirectory("do1"));
  EXPECT_FALSE(index->RemoveTagFromDirectory("do1"));
}

TEST(CdxIndexDirectory, PagesAreAllocatedAtTheEndOfTheFile) {
  TempDir dir;
  auto index = OpenNew(dir.File("a.cdx"));
  EXPECT_EQ(index->AllocatePage(), 1536u);
  EXPECT_EQ(index->AllocatePage(), 2048u);
  EXPECT_EQ(index->AllocateHeader(), 2560u);
  EXPECT_EQ(index->AllocatePage(), 3584u);
}

class CdxIndexCorruption : public ::testing::Test {
 protected:
  // A file with one tag "DO1" whose header is at 1536; `damage` patches it.
  void Expect(const std::function<void(std::string&)>& damage) {
    {
      auto index = OpenNew(dir_.File("d.cdx"));
      CdxTagHeader header;
      header.key_length = 10;
      header.key_expression = "HLA_DO1";
      index->AddEmptyTag("DO1", header);
    }
    std::string bytes = ReadFileBytes(dir_.File("d.cdx"));
    damage(bytes);
    std::ofstream(dir_.File("d.cdx"), std::ios::binary | std::ios::trunc) << bytes;
    try {
      CdxIndex::Open(dir_.File("d.cdx"), {});
      FAIL() << "opened";
    } catch (const dbf::DbfError& e) {
      EXPECT_EQ(std::string(e.what()), "Index file " + dir_.File("d.cdx") + " is corrupted");
    }
  }
  TempDir dir_;
};

TEST_F(CdxIndexCorruption, StructureTagRootZero) {
  Expect([](std::string& b) { b[0] = b[1] = 0; });
}
TEST_F(CdxIndexCorruption, StructureTagRootNotAPageOffset) {
  Expect([](std::string& b) { b[0] = 0x10; });
}
TEST_F(CdxIndexCorruption, StructureTagRootBeyondTheFile) {
  Expect([](std::string& b) { b[2] = 0x10; });
}
TEST_F(CdxIndexCorruption, StructureTagKeyLengthAbove240) {
  Expect([](std::string& b) { b[12] = static_cast<char>(241); });
}
TEST_F(CdxIndexCorruption, DirectoryKeyPointsBeyondTheFile) {
  // The entry's record number (header offset 0x0600) becomes 0x7E00.
  Expect([](std::string& b) { b[1024 + 0x19] = 0x7E; });
}
TEST_F(CdxIndexCorruption, TagWithEmptyKeyExpression) {
  Expect([](std::string& b) { b[1536 + 0x200] = 0; });
}
TEST_F(CdxIndexCorruption, TagRootBeyondTheFile) {
  Expect([](std::string& b) { b[1536 + 3] = 0x01; });
}

TEST(CdxIndexOpen, MissingFileIsNotFound) {
  TempDir dir;
  try {
    CdxIndex::Open(dir.File("none.cdx"), {});
    FAIL();
  } catch (const dbf::DbfError& e) {
    EXPECT_EQ(std::string(e.what()), "File " + dir.File("none.cdx") + " could not be found");
  }
}

TEST(CdxIndexProductionFlag, SetOnlyForTheIndexNamedLikeTheTable) {
  TempDir dir;
  testing_support::TableBuilder({{"KOD", 'C', 10}}).Record({"A"}).WriteTo(dir.File("Ext0001.dbf"));
  dbf::DbfFile table;
  table.Open(dir.File("Ext0001.dbf"), true, true);
  CdxOpenOptions options;
  options.may_create = true;
  options.table = &table;
  CdxIndex::Open("other", options);
  EXPECT_EQ(ReadFileBytes(dir.File("Ext0001.dbf"))[28], 0);
  auto index = CdxIndex::Open("EXT0001", options);
  EXPECT_EQ(index->path(), dir.File("EXT0001.cdx"));
  EXPECT_EQ(ReadFileBytes(dir.File("Ext0001.dbf"))[28], 1);
}

}  // namespace
}  // namespace idx
