// Another program holds the counter record of SYSTEMAK.DBF locked.

#include "dbf/process_test_support.h"
#include "export_fixture.h"

namespace accounting_testing {
namespace {

TEST_F(ExportTest, LockedCounterEndsTheExportBeforeAnyReceivable) {
  AddCustomer({.code = "1"});
  AddInvoice({.number = "1", .customer = "1"});
  dbf::testing::ChildProcess holder([&](const dbf::testing::ChildProcess::Channel& channel) {
    accounting::TDataUcto other;
    other.SetDirectory(saldex_);
    other.Ciselnik.Open();
    other.Ciselnik.Edit();
    channel.Send('L');
    channel.Receive();  // until the parent has tried
    other.Ciselnik.Cancel();
    return 0;
  });
  ASSERT_EQ(holder.Receive(), 'L');
  OpenTables();
  accounting::InvoiceExport run(Store(), ucto_, operator_);
  try {
    run.Run();
    FAIL() << "the counter was raised under another program's lock";
  } catch (const dbf::DatasetError& e) {
    EXPECT_STREQ(e.what(), "Record is locked by another user");
  }
  holder.Send('Q');
  EXPECT_EQ(holder.Wait(), 0);
  EXPECT_EQ(run.summary().exported, 0);
  // The address came before the counter and stays; no receivable was started.
  EXPECT_EQ(Addresses().size(), 1u);
  EXPECT_TRUE(Receivables().empty());
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "41");
  EXPECT_EQ(ucto_.Ciselnik.state(), dbf::DataSetState::kBrowse);

  // Once the other program lets go, the next run goes through.
  ucto_.Ciselnik.Close();
  EXPECT_EQ(Export().exported, 1);
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "42");
}

}  // namespace
}  // namespace accounting_testing
