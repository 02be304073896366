#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "dbf/dbf_file.h"
#include "dbf/file_names.h"
#include "dbf/process_test_support.h"
#include "index/cdx_checker.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/expression_key_source.h"
#include "store/demo_store.h"
#include "store/rebuild_catalogue.h"

namespace store {
namespace {

using testing_support::DemoStoreTest;

// Faults of an index file checked against its table (both found ignoring case).
std::vector<std::string> CheckIndexFile(const std::string& table_path,
                                        const std::string& index_path) {
  dbf::DbfFile table;
  table.Open(*dbf::FindFileIgnoringCase(table_path), true, false);
  idx::ExpressionKeySourceFactory key_sources(table);
  idx::CdxOpenOptions options;
  options.read_write = false;
  options.table = &table;
  options.key_sources = &key_sources;
  auto index = idx::CdxIndex::Open(*dbf::FindFileIgnoringCase(index_path), options);
  return idx::CheckCdx(*index, &table).faults;
}

std::vector<std::string> TagNames(const std::string& index_path) {
  idx::CdxOpenOptions options;
  options.read_write = false;
  auto index = idx::CdxIndex::Open(index_path, options);
  std::vector<std::string> names;
  for (const auto& tag : index->tags()) names.push_back(tag->name());
  return names;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class IndexRebuildTest : public DemoStoreTest {
 protected:
  void SetUp() override { MakeStore(); }
  std::string IndexPath(const RebuildTable& table) {
    return table.index_file.Compose(layout_.data_dir, "0001");
  }
};

TEST_F(IndexRebuildTest, RebuildsEveryIndexFileSoundWithTheCatalogueTags) {
  for (const RebuildTable& table : RebuildCatalogue()) std::filesystem::remove(IndexPath(table));

  EXPECT_TRUE(Module().Index());

  EXPECT_TRUE(op_.messages.empty());
  EXPECT_TRUE(Module().failed_tables().empty());
  for (const RebuildTable& table : RebuildCatalogue()) {
    SCOPED_TRACE(table.component);
    const std::string index = IndexPath(table);
    ASSERT_TRUE(std::filesystem::exists(index)) << index;  // spelled as the catalogue spells it
    EXPECT_EQ(CheckIndexFile(table.data_file.Compose(layout_.data_dir, "0001"), index),
              std::vector<std::string>{});
    std::vector<std::string> expected;
    for (const RebuildTag& tag : table.tags) expected.push_back(tag.name);
    std::vector<std::string> actual = TagNames(index);
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual, expected);
  }
  EXPECT_TRUE(std::filesystem::exists(DataFile("den0001.cdx")));
  EXPECT_FALSE(op_.progress_open);
}

TEST_F(IndexRebuildTest, InvoiceIndexHoldsSevenTagsAndDluOnlyUnpaidInvoices) {
  Module().Index();
  const std::string index_path = DataFile("Fak0001.cdx");
  std::vector<std::string> names = TagNames(index_path);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"DAT", "DLU", "DO1", "DO2", "DO3", "NAC", "ODB"}));

  dbf::DbfFile table;
  table.Open(DataFile("Fak0001.dbf"), true, false);
  std::set<uint32_t> unpaid;
  for (uint32_t r = 1; r <= table.record_count(); ++r) {
    table.GoTo(r);
    if (!table.GetLogical(table.RequireField("HLA_PLA"))) unpaid.insert(r);
  }
  ASSERT_FALSE(unpaid.empty());
  ASSERT_LT(unpaid.size(), table.record_count());
  idx::CdxOpenOptions options;
  options.read_write = false;
  options.table = &table;
  auto index = idx::CdxIndex::Open(index_path, options);
  std::set<uint32_t> in_dlu;
  index->FindTag("DLU")->ForEachEntry(
      [&](const std::string&, uint32_t record) { in_dlu.insert(record); });
  EXPECT_EQ(in_dlu, unpaid);
}

TEST_F(IndexRebuildTest, StoreWithoutRentalTablesReportsEachMissingFileAndRebuildsTheRest) {
  for (const char* name : {"Skp0001.dbf", "Dep0001.dbf", "Vrp0001.dbf"}) Remove(name);
  std::filesystem::remove(DataFile("Fak0001.cdx"));

  EXPECT_TRUE(Module().Index());

  ASSERT_EQ(op_.messages.size(), 3u);
  // The catalogue's messages join the directory with and without a separator.
  EXPECT_EQ(op_.messages[0].text, "Nenalezen soubor " + layout_.data_dir + "Skp0001.dbf");
  EXPECT_EQ(op_.messages[1].text, "Nenalezen soubor " + layout_.data_dir + "Vrp0001.dbf");
  EXPECT_EQ(op_.messages[2].text, "Nenalezen soubor " + layout_.data_dir + "/Dep0001.dbf");
  EXPECT_TRUE(std::filesystem::exists(DataFile("Fak0001.cdx")));
  EXPECT_TRUE(Module().failed_tables().empty());
}

TEST_F(IndexRebuildTest, TableOpenBeforeIsOpenAgainWithItsTagAndClosedTableStaysClosed) {
  TData& data = Module();
  ASSERT_TRUE(data.OpenFak(0, "DO1"));
  ASSERT_FALSE(data.Odberatele().active());

  EXPECT_TRUE(data.Index());

  EXPECT_TRUE(data.Faktury().active());
  EXPECT_FALSE(data.Faktury().exclusive());
  EXPECT_EQ(data.Faktury().index_name(), "DO1");
  EXPECT_EQ(data.Faktury().TagCount(), 7);
  // The cursor moves in invoice-number order again (the file lists them by date).
  data.Faktury().Last();
  EXPECT_EQ(data.Faktury().FieldByName("HLA_DO1").AsString(), "2500020");
  data.Faktury().First();
  EXPECT_EQ(data.Faktury().FieldByName("HLA_DO1").AsString(), "2400001");
  data.Faktury().CloseIndexFile(layout_.data_dir + "Fak0001.cdx");
  EXPECT_EQ(data.Faktury().TagCount(), 0);
  EXPECT_FALSE(data.Odberatele().active());
  EXPECT_FALSE(data.Odberatele().exclusive());
}

TEST_F(IndexRebuildTest, InvoiceTableHeldByAnotherProcessKeepsItsOldIndex) {
  const std::string old_index = ReadBytes(DataFile("Fak0001.cdx"));
  {
    testing_support::TableHeldElsewhere holder(DataFile("Fak0001.dbf"));
    EXPECT_TRUE(Module().Index());
  }

  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Tabulka faktur nelze otevřít ve výhradním režimu !");
  EXPECT_EQ(Module().failed_tables(), std::vector<std::string>{"Faktury"});
  EXPECT_EQ(ReadBytes(DataFile("Fak0001.cdx")), old_index);
  EXPECT_FALSE(Module().Faktury().active());
  EXPECT_FALSE(op_.progress_open);
}

TEST_F(IndexRebuildTest, TableWithoutStatusHandlerIsRebuiltWithoutShowingTheWindow) {
  Module().Index();
  // The second table of the rebuild (SkladPujc) has no status handler.
  int created = 0;
  bool shown_for_second = false;
  for (const std::string& event : op_.events) {
    if (event.rfind("progress create", 0) == 0) ++created;
    if (created == 2 && event == "progress show") shown_for_second = true;
  }
  EXPECT_FALSE(shown_for_second);
  EXPECT_NE(std::find(op_.events.begin(), op_.events.end(), "progress show"), op_.events.end());
}

TEST_F(IndexRebuildTest, BuildErrorReportsTheTableAndClosesTheProgressWindow) {
  // A journal whose key field is missing: the first tag cannot be built.
  demo::CreateTable(DataFile("Den0001.dbf"), {{"DEN_DAT", 'D', 8}});

  EXPECT_TRUE(Module().Index());

  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Tabulka deniku nelze otevřít ve výhradním režimu !");
  EXPECT_EQ(Module().failed_tables(), std::vector<std::string>{"Denik"});
  EXPECT_FALSE(op_.progress_open);
  EXPECT_TRUE(std::filesystem::exists(DataFile("Fak0001.cdx")));
}

}  // namespace
}  // namespace store
