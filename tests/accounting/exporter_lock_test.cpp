// Exports exclude each other: one export at a time per Saldex 2 directory,
// while Saldex 2's own record and append locks keep working beside it.

#include "accounting/exporter_lock.h"

#include <filesystem>
#include <fstream>
#include <set>

#include "accounting/export_messages.h"
#include "dbf/process_test_support.h"
#include "export_fixture.h"

namespace accounting_testing {
namespace {

using ::testing::ElementsAre;

TEST(ExporterLock, SecondHolderIsRefusedUntilTheFirstLetsGo) {
  testing_support::TempDir dir;
  demo::CreateSaldexTables(dir.path(), 0);
  const std::string path = dir.File("KPOHLED.DBF");
  accounting::ExporterLock first, second;
  ASSERT_TRUE(first.TryAcquire(path));
  EXPECT_FALSE(second.TryAcquire(path));  // another handle, even in this process
  EXPECT_EQ(dbf::testing::RunInChild([&] {
              accounting::ExporterLock other;
              return other.TryAcquire(path) ? 1 : 0;
            }),
            0);
  first.Release();
  EXPECT_TRUE(second.TryAcquire(path));
}

TEST(ExporterLock, NamesSpelledInAnotherCaseLockTheOneFile) {
  testing_support::TempDir dir;
  demo::CreateSaldexTables(dir.path(), 0);
  std::filesystem::rename(dir.File("KPOHLED.DBF"), dir.File("kpohled.dbf"));
  accounting::ExporterLock first, second;
  ASSERT_TRUE(first.TryAcquire(dir.File("KPOHLED.DBF")));
  EXPECT_FALSE(second.TryAcquire(dir.File("Kpohled.Dbf")));
}

// Another exporter, in its own process, holds the receivables until told to
// let go (or ends without letting go, as a crash would).
class ExportElsewhere {
 public:
  explicit ExportElsewhere(const std::string& receivables)
      : child_([receivables](const dbf::testing::ChildProcess::Channel& channel) {
          accounting::ExporterLock lock;
          if (!lock.TryAcquire(receivables)) return 1;
          channel.Send('L');
          channel.Receive();
          return 0;  // ends holding it: the system drops it with the process
        }) {
    held_ = child_.Receive() == 'L';
  }
  bool held() const { return held_; }
  int End() {
    child_.Send('x');
    return child_.Wait();
  }

 private:
  dbf::testing::ChildProcess child_;
  bool held_ = false;
};

TEST_F(ExportTest, SecondExportIsToldAndWritesNothingWhileSaldexLocksStillWork) {
  AddCustomer({.code = "1"});
  AddInvoice({.number = "100", .customer = "1"});
  const std::string receivables = Saldex("KPOHLED.DBF");
  ExportElsewhere other(receivables);
  ASSERT_TRUE(other.held());
  const std::string before = testing_support::ReadFileBytes(receivables);
  OpenTables();
  accounting::InvoiceExport run(Store(), ucto_, operator_);
  EXPECT_FALSE(run.Run());
  EXPECT_THAT(Messages(),
              ElementsAre(kWarning, dbf::Cp1250ToUtf8(accounting::ExportRunningText())));
  EXPECT_EQ(testing_support::ReadFileBytes(receivables), before);
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "41");
  EXPECT_TRUE(Addresses().empty());

  // Saldex 2 beside the exporter: its record and append locks are not held off.
  {
    dbf::DbfFile saldex;
    saldex.Open(receivables, true, true);
    saldex.BlankRecord();
    saldex.PutString("CISDOKLADU", "7");
    saldex.Append();
    EXPECT_TRUE(saldex.LockRecord(1));
    saldex.Unlock();
  }
  EXPECT_EQ(other.End(), 0);
  operator_.messages.clear();
  EXPECT_TRUE(run.Run());
  EXPECT_EQ(run.summary().exported, 1);
  EXPECT_EQ(Receivables().size(), 2u);
}

// Two exporting processes started together, round after round, on one
// Saldex 2 directory: each invoice ends up exactly once in KPOHLED.DBF and
// the receivables are numbered without a gap or a repeat.
TEST_F(ExportTest, TwoExportingProcessesExportEveryInvoiceExactlyOnce) {
  constexpr int kRounds = 12;
  constexpr int kInvoicesPerRound = 40;
  AddCustomer({.code = "1"});
  {
    // The customers' index, built once here: two processes must not build it at once.
    dbf::DbfDataSet customers;
    idx::InstallIndexSupport(customers);
    customers.SetDatabaseName(dir_.path());
    customers.SetTableName("Ext0001.dbf");
    customers.Open();
    customers.CreateTag(Korvana("Ext0001.cdx"), "KOD", "EXT_KOD", "", 0, 0);
  }
  int number = 1000;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    for (int i = 0; i < kInvoicesPerRound; ++i) {
      AddInvoice({.number = std::to_string(++number), .customer = "1"});
    }
    const auto exporter = [this](const dbf::testing::ChildProcess::Channel& channel) {
      faktury_ = std::make_unique<dbf::DbfDataSet>();
      faktury_->SetDatabaseName(dir_.path());
      faktury_->SetTableName("Fak0001.dbf");
      faktury_->Open();
      odberatele_ = std::make_unique<dbf::DbfDataSet>();
      idx::InstallIndexSupport(*odberatele_);
      odberatele_->SetDatabaseName(dir_.path());
      odberatele_->SetTableName("Ext0001.dbf");
      ucto_.SetDirectory(saldex_);
      ucto_.Pohledavky.Open();
      ucto_.Adresar.Open();
      channel.Send('r');
      channel.Receive();  // both start together
      // A refused run ("Export již probíhá") tries again.
      for (int attempt = 0; attempt < 3; ++attempt) {
        accounting::InvoiceExport run(Store(), ucto_, operator_);
        run.Run();
      }
      return 0;
    };
    dbf::testing::ChildProcess first(exporter), second(exporter);
    ASSERT_EQ(first.Receive(), 'r');
    ASSERT_EQ(second.Receive(), 'r');
    first.Send('g');
    second.Send('g');
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(second.Wait(), 0);
  }
  const std::vector<Row> receivables = Receivables();
  std::multiset<std::string> invoices;
  std::set<int> numbers;
  for (const Row& r : receivables) {
    invoices.insert(r.at("CISDOKLADU"));
    numbers.insert(std::stoi(r.at("CISLO")));
  }
  ASSERT_EQ(receivables.size(), static_cast<size_t>(kRounds * kInvoicesPerRound));
  for (int n = 1001; n <= number; ++n) EXPECT_EQ(invoices.count(std::to_string(n)), 1u) << n;
  EXPECT_EQ(numbers.size(), receivables.size());
  EXPECT_EQ(*numbers.begin(), 42);
  EXPECT_EQ(*numbers.rbegin(), 41 + kRounds * kInvoicesPerRound);
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], std::to_string(41 + kRounds * kInvoicesPerRound));
}

// Another program appends to KPOHLED.DBF all the time an export runs: the
// export waits for its append lock, never takes its record in progress for a
// cut one, and every record of both ends up whole and once.
TEST_F(ExportTest, ExportBesideAnotherProgramAppendingReceivables) {
  constexpr int kInvoices = 150;
  AddCustomer({.code = "1"});
  for (int n = 1; n <= kInvoices; ++n) {
    AddInvoice({.number = std::to_string(5000 + n), .customer = "1"});
  }
  const std::string path = Saldex("KPOHLED.DBF");
  const std::string stop = Korvana("stop");
  dbf::testing::ChildProcess appender(
      [path, stop](const dbf::testing::ChildProcess::Channel& channel) {
        dbf::DbfFile table;
        table.Open(path, true, true);
        channel.Send('a');
        int appended = 0;
        // Until the export has ended, and at least a few records.
        while (appended < 20 || !std::filesystem::exists(stop)) {
          table.BlankRecord();
          table.PutString("CISDOKLADU", std::to_string(900000 + appended));
          table.Append();
          ++appended;
        }
        return 0;
      });
  ASSERT_EQ(appender.Receive(), 'a');
  OpenTables();
  accounting::InvoiceExport run(Store(), ucto_, operator_);
  EXPECT_TRUE(run.Run());
  std::ofstream(stop) << "";
  EXPECT_EQ(appender.Wait(), 0);
  EXPECT_EQ(run.summary().exported, kInvoices);

  dbf::DbfFile table;
  table.Open(path, true, false);
  EXPECT_FALSE(table.HasPartialRecord());
  EXPECT_EQ(table.header_image()[4] | table.header_image()[5] << 8 | table.header_image()[6] << 16 |
                table.header_image()[7] << 24,
            static_cast<int>(table.record_count()));
  std::multiset<std::string> invoices;
  for (const Row& r : Receivables()) invoices.insert(r.at("CISDOKLADU"));
  for (int n = 1; n <= kInvoices; ++n) EXPECT_EQ(invoices.count(std::to_string(5000 + n)), 1u);
}

}  // namespace
}  // namespace accounting_testing
