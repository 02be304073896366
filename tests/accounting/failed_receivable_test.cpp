// A receivable that cannot be written (a disk that fills up part way through
// its record) leaves KPOHLED.DBF as it was and consumes no number.

#include <cerrno>

#include "dbf/write_fault.h"
#include "export_fixture.h"

namespace accounting_testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST_F(ExportTest, FullDiskDuringAReceivableStopsTheExportAndGivesItsNumberBack) {
  AddCustomer({.code = "1"});
  AddInvoice({.number = "100", .customer = "1"});
  AddInvoice({.number = "101", .customer = "1"});
  AddSaldexRecord("KPOHLED.DBF", {{"CISDOKLADU", "5"}, {"CISLO", "41"}});
  const std::string path = Saldex("KPOHLED.DBF");
  const std::string before = testing_support::ReadFileBytes(path);
  OpenTables();
  accounting::InvoiceExport run(Store(), ucto_, operator_);
  {
    // 100 bytes of the first receivable reach the disk, then it is full.
    dbf::ScopedWriteFault full("KPOHLED.DBF", 100, ENOSPC);
    try {
      run.Run();
      FAIL() << "the export went on past a receivable it could not write";
    } catch (const dbf::DbfError& e) {
      EXPECT_THAT(e.what(), StartsWith("Error writing to " + path));
      EXPECT_THAT(e.what(), HasSubstr("No space left on device"));
    }
  }
  // As before; on a disk that refuses even the end-of-file mark back, the
  // table may end right after its last record instead, which is as sound.
  const std::string after = testing_support::ReadFileBytes(path);
  ASSERT_EQ(before.back(), '\x1A');
  if (after.size() < before.size()) {
    EXPECT_EQ(after, before.substr(0, before.size() - 1));
  } else {
    EXPECT_EQ(after, before);
  }
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "41");
  EXPECT_EQ(run.summary().exported, 0);
  EXPECT_EQ(run.summary().numbers_given_back, 1);
  EXPECT_EQ(ucto_.Ciselnik.state(), dbf::DataSetState::kBrowse);

  // With space again, the next export takes the same numbers.
  EXPECT_TRUE(run.Run());
  EXPECT_EQ(run.summary().exported, 2);
  const auto receivables = Receivables();
  ASSERT_EQ(receivables.size(), 3u);
  EXPECT_EQ(receivables[1].at("CISDOKLADU"), "100");
  EXPECT_EQ(receivables[1].at("CISLO"), "42");
  EXPECT_EQ(receivables[2].at("CISLO"), "43");
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "43");
}

}  // namespace
}  // namespace accounting_testing
