#include <gtest/gtest.h>

#include <filesystem>

#include "dbf/errors.h"
#include "dbf/field.h"
#include "dbf/process_test_support.h"
#include "store/demo_store.h"
#include "store/progress_window.h"

namespace store {
namespace {

using testing_support::DemoStoreTest;

class DataModuleTest : public DemoStoreTest {
 protected:
  void SetUp() override { MakeStore(); }
};

TEST_F(DataModuleTest, TablesCarryTheCommonSettingsAndDeclaredFields) {
  TData& data = Module();
  for (StoreDataSets::Entry& entry : data.tables().entries()) {
    SCOPED_TRACE(entry.table->component);
    const dbf::DbfDataSet& table = *entry.data_set;
    EXPECT_TRUE(table.translate_ascii());
    EXPECT_FALSE(table.exclusive());
    EXPECT_FALSE(table.use_deleted());
    EXPECT_FALSE(table.auto_flush());
    EXPECT_EQ(table.user_id(), 0u);
    EXPECT_EQ(table.large_integer_as(), dbf::LargeIntegerAs::kAsInteger);
    EXPECT_EQ(table.lock_protocol(), entry.table->component == "DobVolHla"
                                         ? dbf::LockProtocol::kDefault
                                         : dbf::LockProtocol::kClipLock);
  }
  dbf::DbfDataSet& invoices = data.Faktury();
  ASSERT_TRUE(data.OpenFak(""));
  EXPECT_EQ(invoices.field_count(), 35);
  EXPECT_EQ(dbf::Cp1250ToUtf8(invoices.FieldByName("HLA_NAC").display_label()), "Název odběratele");
  EXPECT_EQ(invoices.FieldByName("HLA_PLA").kind(), dbf::FieldKind::kBoolean);
}

TEST_F(DataModuleTest, DataSourcesBindTheirTables) {
  TData& data = Module();
  EXPECT_EQ(&data.DataFaktury.data_set(), &data.Faktury());
  EXPECT_EQ(&data.DataVypisy.data_set(), &data.Vypisy());
  EXPECT_EQ(&data.DataVlastnik.data_set(), &data.Vlastnik());
  EXPECT_EQ(&data.DataCiselnik.data_set(), &data.Ciselnik());
  EXPECT_EQ(&data.DataTypPlatby.data_set(), &data.TypPlatby());
}

TEST_F(DataModuleTest, OpenFakOnAnOpenTableOnlySelectsANonBlankTag) {
  TData& data = Module();
  ASSERT_TRUE(data.OpenFak("DO1"));
  EXPECT_EQ(data.Faktury().index_name(), "DO1");
  EXPECT_TRUE(data.OpenFak("   "));
  EXPECT_EQ(data.Faktury().index_name(), "DO1");
  EXPECT_TRUE(data.OpenFak("NAC"));
  EXPECT_EQ(data.Faktury().index_name(), "NAC");
  EXPECT_EQ(data.Faktury().TagCount(), 7);
  // On an open table a tag that does not exist is the caller's error.
  EXPECT_THROW(data.OpenFak("XYZ"), dbf::EngineError);
  data.CloseFak();
  EXPECT_FALSE(data.Faktury().active());
  data.CloseFak();  // a closed table is not touched
}

TEST_F(DataModuleTest, OpenFakWithoutIndexFileReturnsFalseAndLeavesTheTableOpen) {
  Remove("Fak0001.cdx");
  TData& data = Module();
  EXPECT_FALSE(data.OpenFak("DO1"));
  EXPECT_TRUE(data.Faktury().active());
  EXPECT_EQ(data.Faktury().TagCount(), 0);
  EXPECT_TRUE(op_.messages.empty());
}

TEST_F(DataModuleTest, OpenOfAClosedTableReportsEveryFailureAsFalse) {
  TData& data = Module();
  EXPECT_FALSE(data.OpenFak("XYZ"));  // unknown tag
  data.CloseFak();
  demo::CreateTable(DataFile("Ext0001.dbf"), {{"EXT_KOD", 'C', 7}});  // declared fields missing
  EXPECT_FALSE(data.OpenOdb(0, "KOD"));
  EXPECT_FALSE(data.Odberatele().active());
  EXPECT_TRUE(op_.messages.empty());
}

TEST_F(DataModuleTest, OpenOdbReopensAClosedIndexFileBeforeSelectingTheTag) {
  TData& data = Module();
  ASSERT_TRUE(data.OpenOdb(0, "KOD"));
  data.Odberatele().CloseIndexFile(data.OdberateleIndexFile());
  ASSERT_EQ(data.Odberatele().TagCount(), 0);
  EXPECT_TRUE(data.OpenOdb(0, "NAC"));
  EXPECT_EQ(data.Odberatele().TagCount(), 5);
  EXPECT_EQ(data.Odberatele().index_name(), "NAC");
  // OpenFak has no such step: the tag is looked for without an index file.
  ASSERT_TRUE(data.OpenFak("DO1"));
  data.Faktury().CloseIndexFile(data.FakturyIndexFile());
  EXPECT_THROW(data.OpenFak("DO1"), dbf::EngineError);
}

TEST_F(DataModuleTest, LockWithRetryGivesUpAfterTenRefusalsWithOneMessage) {
  TData& data = Module();
  ASSERT_TRUE(data.OpenFak(""));
  dbf::testing::ChildProcess holder([&](const dbf::testing::ChildProcess::Channel& channel) {
    TData other(op_, dir_.path());
    other.settings.CestaData = layout_.data_dir;
    other.settings.StoreCode = "0001";
    other.tables().SetLocations(layout_.data_dir, "0001");
    other.OpenFak("");
    other.Faktury().First();
    const bool locked = other.Faktury().LockRecord();
    channel.Send(locked ? 'l' : 'n');
    channel.Receive();
    return 0;
  });
  ASSERT_EQ(holder.Receive(), 'l');
  data.Faktury().First();
  const int processed_before = op_.processed;

  EXPECT_FALSE(data.LockWithRetry(data.Faktury()));

  holder.Send('x');
  EXPECT_EQ(holder.Wait(), 0);
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Nelze zamknout zaznam v tabulce Fak0001");
  EXPECT_EQ(op_.processed - processed_before, 10);
  data.Faktury().Next();
  EXPECT_TRUE(data.LockWithRetry(data.Faktury()));
}

TEST_F(DataModuleTest, StatusHandlersFeedTheOneProgressWindow) {
  TData& data = Module();
  ProgressWindow window(op_);
  data.set_progress_window(&window);
  data.Faktury().ReportStatus(-1, 1, 200);
  data.Faktury().ReportStatus(1, 50, 0);
  data.Odberatele().ReportStatus(1, 100, 0);
  data.Denik().ReportStatus(2, 7, 0);  // key writing: no change
  EXPECT_TRUE(op_.progress_visible);
  EXPECT_EQ(op_.gauge, (std::vector<int>{0, 25, 50}));
  EXPECT_EQ(op_.processed, 4);
  data.set_progress_window(nullptr);
}

TEST_F(DataModuleTest, DataModuleDestroyClosesTheAccessRulesTable) {
  TData& data = Module();
  data.UziPrava().Open();
  data.UziPrava().OpenIndexFile(layout_.data_dir + "Urs0000.cdx");
  ASSERT_EQ(data.UziPrava().TagCount(), 1);
  data.DataModuleDestroy();
  EXPECT_FALSE(data.UziPrava().active());
}

}  // namespace
}  // namespace store
