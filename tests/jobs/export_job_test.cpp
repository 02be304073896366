// saldex-export --export over a small demo store and its Saldex 2 directory.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include <gtest/gtest.h>

#include "accounting/exporter_lock.h"
#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "saldex_tables.h"
#include "store/demo_store.h"
#include "store/sign_in_name.h"
#include "support/run_command.h"

namespace accounting_job_testing {
namespace {

using testing_support::RunTool;

size_t RecordCount(const std::string& path) {
  dbf::DbfFile table;
  table.Open(path, true, false);
  return table.record_count();
}

std::string Counter(const std::string& path) {
  dbf::DbfFile table;
  table.Open(path, true, false);
  table.GoTo(1);
  return table.GetString("POHLEDAVKY");
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class ExportJobTest : public testing_support::DemoStoreTest {
 protected:
  void SetUp() override {
    // The user running the tests signs in automatically.
    MakeStore(dbf::Cp1250ToUtf8(store::AutomaticSignInName(store::OperatingSystemUserName())));
    history_ = demo::WriteSaldexDirectory(layout_.export_dir, layout_.data_dir);
  }
  testing_support::CommandResult Export() {
    return RunTool("saldex-export", {"--ini-dir", dir_.path(), "--export"});
  }
  std::string Saldex(const std::string& name) const { return layout_.export_dir + name; }
  // The number after `label` in the summary.
  static int Count(const std::string& out, const std::string& label) {
    const size_t at = out.find(label);
    if (at == std::string::npos) return -1;
    return std::stoi(out.substr(at + label.size()));
  }

  int history_ = 0;
};

TEST_F(ExportJobTest, SecondRunFindsEveryInvoiceExportedAlready) {
  const size_t receivables_before = RecordCount(Saldex("KPOHLED.DBF"));
  const auto first = Export();
  ASSERT_EQ(first.status, 0) << first.err << first.out;
  EXPECT_EQ(first.err.find("POZOR - Saldex 2 nesmí být spuštěn !!!"), first.err.find("POZOR"));
  EXPECT_NE(first.err.find("POZOR - V Saldex2 proveďte indexaci a doplnění pečetí !!!"),
            std::string::npos);
  const int read = Count(first.out, "faktur přečteno");
  const int exported = Count(first.out, "převedeno do Saldex 2");
  const int present = Count(first.out, "již v Saldex 2");
  const int outside = Count(first.out, "mimo výběr (SalExpFil)");
  const int missing = Count(first.out, "odběratel nenalezen");
  const int incomplete = Count(first.out, "odběratel bez IČO nebo DIČ");
  EXPECT_EQ(read, 40);
  EXPECT_GT(exported, 0);
  EXPECT_EQ(read, exported + present + outside + missing + incomplete);
  EXPECT_EQ(RecordCount(Saldex("KPOHLED.DBF")), receivables_before + exported);
  EXPECT_EQ(Counter(Saldex("SYSTEMAK.DBF")), std::to_string(receivables_before + exported));

  const auto second = Export();
  ASSERT_EQ(second.status, 0) << second.err << second.out;
  EXPECT_EQ(Count(second.out, "převedeno do Saldex 2"), 0);
  EXPECT_EQ(Count(second.out, "již v Saldex 2"), present + exported);
  EXPECT_EQ(Count(second.out, "nových adres v ADRESAR.DBF"), 0);
  EXPECT_EQ(RecordCount(Saldex("KPOHLED.DBF")), receivables_before + exported);
}

TEST_F(ExportJobTest, MissingReceivablesTableEndsWithTheErrorAndASummary) {
  std::filesystem::remove(Saldex("KPOHLED.DBF"));
  const auto result = Export();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("Export přerušen: Cannot find file "), std::string::npos) << result.out;
  EXPECT_EQ(Count(result.out, "faktur přečteno"), 0);
}

TEST_F(ExportJobTest, UnavailableDataEndTheRunWithoutAnExport) {
  std::filesystem::remove_all(layout_.data_dir);
  const size_t receivables_before = RecordCount(Saldex("KPOHLED.DBF"));
  const auto result = Export();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Data nejsou dostupná v adresáři"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("POZOR"), std::string::npos) << result.err;
  EXPECT_EQ(RecordCount(Saldex("KPOHLED.DBF")), receivables_before);
}

// The summary lines, from "Souhrn exportu:" on.
std::string Summary(const std::string& out) {
  return out.substr(std::min(out.size(), out.find("Souhrn exportu:")));
}

TEST_F(ExportJobTest, DryRunDecidesAsTheExportAndChangesNoFile) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_.path())) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  std::vector<std::string> before;
  for (const std::string& f : files) before.push_back(FileBytes(f));

  const auto dry = RunTool("saldex-export", {"--ini-dir", dir_.path(), "--export", "--dry-run"});
  ASSERT_EQ(dry.status, 0) << dry.err << dry.out;
  for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(FileBytes(files[i]), before[i]) << files[i];
  // No operator messages: each invoice's fate is a line of the listing.
  EXPECT_EQ(dry.err.find("POZOR"), std::string::npos) << dry.err;
  EXPECT_NE(dry.out.find("bude převedena, nová adresa"), std::string::npos);
  EXPECT_NE(dry.out.find("odběratel bez IČO nebo DIČ\n"), std::string::npos);
  EXPECT_NE(dry.out.find("již v Saldex 2\n"), std::string::npos);

  const auto real = Export();
  ASSERT_EQ(real.status, 0) << real.err << real.out;
  EXPECT_EQ(Summary(dry.out), Summary(real.out));
  EXPECT_GT(Count(real.out, "převedeno do Saldex 2"), 0);
}

// The invoice numbers of the receivables from record `first` on, in record order.
std::vector<std::string> ExportedNumbers(const std::string& path, uint32_t first) {
  dbf::DbfFile table;
  table.Open(path, true, false);
  std::vector<std::string> numbers;
  for (uint32_t recno = first; table.GoTo(recno); ++recno) {
    numbers.push_back(table.GetString("CISDOKLADU"));
  }
  return numbers;
}

TEST_F(ExportJobTest, DamagedInvoiceIndexIsRebuiltAndTheExportWalksInNumberOrder) {
  const std::string index = layout_.data_dir + "Fak0001.cdx";
  std::mt19937 random(4);
  std::string noise(std::filesystem::file_size(index), '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::ofstream(index, std::ios::binary | std::ios::trunc) << noise;
  const size_t receivables_before = RecordCount(Saldex("KPOHLED.DBF"));

  const auto result = Export();
  ASSERT_EQ(result.status, 0) << result.err << result.out;
  EXPECT_NE(FileBytes(index), noise);
  const std::vector<std::string> numbers =
      ExportedNumbers(Saldex("KPOHLED.DBF"), static_cast<uint32_t>(receivables_before) + 1);
  ASSERT_GT(numbers.size(), 2u);
  // The invoice file lists the invoices by date, not by number.
  EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end())) << testing::PrintToString(numbers);
}

TEST_F(ExportJobTest, ExportWhileAnotherRunsEndsWithStatusOneAndWritesNothing) {
  const std::string receivables = FileBytes(Saldex("KPOHLED.DBF"));
  const std::string counter = FileBytes(Saldex("SYSTEMAK.DBF"));
  accounting::ExporterLock other_export;
  ASSERT_TRUE(other_export.TryAcquire(Saldex("KPOHLED.DBF")));
  const auto result = Export();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Export již probíhá"), std::string::npos) << result.err;
  EXPECT_NE(result.out.find("Export neproběhl: jiný export do Saldex 2 právě probíhá."),
            std::string::npos)
      << result.out;
  EXPECT_EQ(FileBytes(Saldex("KPOHLED.DBF")), receivables);
  EXPECT_EQ(FileBytes(Saldex("SYSTEMAK.DBF")), counter);
}

TEST_F(ExportJobTest, CutInvoiceTableIsWarnedAboutAndTheStatusSaysSo) {
  const std::string invoices = layout_.data_dir + "Fak0001.dbf";
  std::filesystem::resize_file(invoices, std::filesystem::file_size(invoices) - 1);
  std::ofstream(invoices, std::ios::app | std::ios::binary) << std::string(30, ' ');
  const auto result = Export();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Fak0001.dbf končí neúplným záznamem"), std::string::npos)
      << result.err;
  // The whole invoices are exported all the same.
  EXPECT_GT(Count(result.out, "převedeno do Saldex 2"), 0);
  EXPECT_NE(result.out.find("Tabulka faktur končí neúplným záznamem, ten nebyl převeden."),
            std::string::npos)
      << result.out;
}

TEST_F(ExportJobTest, DryRunGoesOnlyWithExport) {
  EXPECT_EQ(RunTool("saldex-export", {"--ini-dir", dir_.path(), "--dry-run"}).status, 2);
  EXPECT_EQ(RunTool("saldex-export", {"--ini-dir", dir_.path(), "--reindex", "--dry-run"}).status,
            2);
}

}  // namespace
}  // namespace accounting_job_testing
