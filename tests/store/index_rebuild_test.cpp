#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>

#include "dbf/dbf_file.h"
#include "dbf/file_names.h"
#include "dbf/process_test_support.h"
#include "dbf/write_fault.h"
#include "index/cdx_checker.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/expression_key_source.h"
#include "store/demo_store.h"
#include "store/rebuild_catalogue.h"
#include "store/unprivileged_user.h"

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
  ASSERT_TRUE(data.OpenFak("DO1"));
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

  // Not the exclusive-open message: nobody else has the table open.
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text,
            "Tabulku " + layout_.data_dir + "/Den0001.dbf nelze otevřít: Field 'ID Kod' not found");
  EXPECT_EQ(Module().failed_tables(), std::vector<std::string>{"Denik"});
  EXPECT_FALSE(op_.progress_open);
  EXPECT_TRUE(std::filesystem::exists(DataFile("Fak0001.cdx")));
}

TEST_F(IndexRebuildTest, FullDiskReportsTheSystemsReasonNotAnExclusiveOpen) {
  {
    // The invoice index file fills the disk part way through its tags.
    dbf::ScopedWriteFault full("Fak0001.cdx", 3000, ENOSPC);
    EXPECT_TRUE(Module().Index());
  }
  ASSERT_EQ(op_.messages.size(), 1u);
  const std::string index = layout_.data_dir + "/Fak0001.cdx";
  EXPECT_EQ(op_.messages[0].text, "Index " + index + " nelze vytvořit: Error writing to " + index +
                                      ": No space left on device");
  EXPECT_EQ(Module().failed_tables(), std::vector<std::string>{"Faktury"});
  EXPECT_FALSE(op_.progress_open);
}

TEST_F(IndexRebuildTest, CutTableIsWarnedAboutAndIndexedWithItsWholeRecords) {
  const std::string path = DataFile("Ext0001.dbf");
  uint32_t whole = 0;
  {
    dbf::DbfFile table;
    table.Open(path, true, false);
    whole = table.record_count();
  }
  // Another program's record cut short: 30 bytes, no end mark.
  std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1);
  std::ofstream(path, std::ios::app | std::ios::binary) << std::string(30, ' ');

  EXPECT_TRUE(Module().Index());

  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Tabulka " + layout_.data_dir +
                                      "Ext0001.dbf končí neúplným záznamem; ten se nepoužije. "
                                      "Opravte ji příkazem \"dbftool mend\".");
  EXPECT_EQ(Module().cut_tables(), std::vector<std::string>{"Odberatele"});
  EXPECT_TRUE(Module().failed_tables().empty());
  size_t keys = 0;
  dbf::DbfFile table;
  table.Open(path, true, false);
  idx::CdxOpenOptions options;
  options.read_write = false;
  options.table = &table;
  idx::CdxIndex::Open(DataFile("Ext0001.cdx"), options)
      ->FindTag("KOD")
      ->ForEachEntry([&](const std::string&, uint32_t) { ++keys; });
  EXPECT_EQ(keys, whole);
}

TEST_F(IndexRebuildTest, ReadOnlyModuleRebuildsNothing) {
  const std::string old_index = ReadBytes(DataFile("Fak0001.cdx"));
  Module().set_read_only(true);

  EXPECT_FALSE(Module().Index());

  EXPECT_TRUE(Module().rebuild_refused());
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Indexy datových souborů se při práci jen pro čtení neobnovují.");
  EXPECT_EQ(ReadBytes(DataFile("Fak0001.cdx")), old_index);
  EXPECT_FALSE(op_.progress_open);
}

TEST_F(IndexRebuildTest, DataDirectoryTheUserMayNotWriteIsNotTouched) {
  if (!testing_support::CanSwitchUser()) GTEST_SKIP() << "needs the super-user to switch users";
  const std::string old_index = ReadBytes(DataFile("Fak0001.cdx"));
  testing_support::SetTreeMode(dir_.path(), /*writable=*/false);
  TData& data = Module();
  // One message instead of an exclusive-open failure for each of the 55 tables.
  const int status = testing_support::RunAsNobody([&] {
    const bool result = data.Index();
    return !result && data.rebuild_refused() && op_.messages.size() == 1 &&
                   op_.messages[0].text == "Indexy datových souborů nelze obnovit, do adresáře " +
                                               layout_.data_dir +
                                               " nelze zapisovat: Permission denied"
               ? 0
               : 1;
  });
  testing_support::SetTreeMode(dir_.path(), /*writable=*/true);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(DataFile("Fak0001.cdx")), old_index);
}

}  // namespace
}  // namespace store
