// The one routine that opens the invoices and the Saldex 2 tables for the
// main window, the batch export and its dry run.

#include "accounting/export_tables.h"

#include <filesystem>
#include <fstream>
#include <random>

#include <gmock/gmock.h>

#include "saldex_tables.h"
#include "store/demo_store.h"

namespace accounting_testing {
namespace {

class ExportTablesTest : public testing_support::DemoStoreTest {
 protected:
  void SetUp() override {
    MakeStore();
    demo::WriteSaldexDirectory(layout_.export_dir, layout_.data_dir);
    Module().settings.ExportDirectory = layout_.export_dir;
  }
  accounting::ExportTablesState Open(bool may_rebuild) {
    return accounting::OpenExportTables(Module(), ucto_, may_rebuild);
  }
  std::string LastInvoice() { return Module().Faktury().FieldByName("HLA_DO1").AsString(); }
  // The whole index file overwritten by bytes that mean nothing.
  void Scramble(const std::string& name) {
    const auto size = std::filesystem::file_size(DataFile(name));
    std::mt19937 random(22);
    std::string noise(size, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    std::ofstream(DataFile(name), std::ios::binary | std::ios::trunc) << noise;
  }
  std::string Bytes(const std::string& name) {
    std::ifstream in(DataFile(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  accounting::TDataUcto ucto_;
};

TEST_F(ExportTablesTest, OpensTheInvoicesInTagDo1OnTheLastAndTheSaldexTables) {
  const auto state = Open(true);
  EXPECT_TRUE(state.complete());
  EXPECT_FALSE(state.rebuilt);
  EXPECT_EQ(Module().Faktury().index_name(), "DO1");
  EXPECT_EQ(LastInvoice(), "2500020");
  EXPECT_TRUE(ucto_.Pohledavky.active());
  EXPECT_TRUE(ucto_.Adresar.active());
  EXPECT_FALSE(ucto_.Ciselnik.active());
  EXPECT_TRUE(op_.messages.empty());
}

TEST_F(ExportTablesTest, DamagedInvoiceIndexIsRebuiltAndTheInvoicesStandInNumberOrder) {
  Scramble("Fak0001.cdx");
  const auto state = Open(true);
  EXPECT_TRUE(state.complete()) << state.error;
  EXPECT_TRUE(state.rebuilt);
  EXPECT_EQ(Module().Faktury().index_name(), "DO1");
  EXPECT_EQ(LastInvoice(), "2500020");
  Module().Faktury().First();
  EXPECT_EQ(LastInvoice(), "2400001");
}

TEST_F(ExportTablesTest, WithoutRebuildADamagedIndexLeavesTheInvoicesUnopenedAndTheFileAlone) {
  Scramble("Fak0001.cdx");
  const std::string damaged = Bytes("Fak0001.cdx");
  const auto state = Open(false);
  EXPECT_FALSE(state.invoices_open);
  EXPECT_FALSE(state.rebuilt);
  EXPECT_EQ(state.error, "Cannot open Fak0001.DBF with index file " + layout_.data_dir +
                             "/FAK0001.cdx and tag DO1");
  EXPECT_EQ(Module().rebuild_count(), 0);
  EXPECT_EQ(Bytes("Fak0001.cdx"), damaged);
}

TEST_F(ExportTablesTest, MissingReceivablesRunTheRebuildAndTheInvoicesOpenAgain) {
  std::filesystem::remove(layout_.export_dir + "KPOHLED.DBF");
  const auto state = Open(true);
  EXPECT_TRUE(state.rebuilt);
  EXPECT_TRUE(state.invoices_open);
  EXPECT_FALSE(state.saldex_open);
  EXPECT_EQ(LastInvoice(), "2500020");
}

TEST_F(ExportTablesTest, CutInvoiceTableIsWarnedAboutOnce) {
  const std::string path = DataFile("Fak0001.dbf");
  std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1);
  std::ofstream(path, std::ios::app | std::ios::binary) << std::string(30, ' ');
  const auto state = Open(true);
  EXPECT_TRUE(state.complete());
  EXPECT_TRUE(state.invoices_cut);
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_THAT(op_.messages[0].text, ::testing::HasSubstr("Fak0001.dbf končí neúplným záznamem"));
}

}  // namespace
}  // namespace accounting_testing
