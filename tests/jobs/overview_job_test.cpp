#include "jobs/overview_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/pdf_text.h"
#include "app/report/report_output.h"
#include "reports/overview_fixture.h"
#include "store/demo_store.h"
#include "store/sign_in_name.h"
#include "support/run_command.h"

namespace jobs {
namespace {

using testing_support::Invoice;

Invoice At(int day, const std::string& number, double total) {
  Invoice invoice;
  invoice.day = day;
  invoice.number = number;
  invoice.name = "Kovář & syn";
  invoice.total = total;
  invoice.base22 = total / 1.22;
  invoice.vat22 = total - invoice.base22;
  return invoice;
}

void RenderPdf(const std::string& path, const std::function<void(reports::ReportCanvas&)>& pages,
               const PageProgress& progress) {
  app::WriteReportPdf(QString::fromStdString(path), pages, progress);
}

class OverviewJobTest : public testing_support::DemoStoreTest {
 protected:
  void SetUp() override {
    MakeStore(dbf::Cp1250ToUtf8(store::AutomaticSignInName(store::OperatingSystemUserName())));
    Invoice april = At(1, "F0401", 1);
    april.month = 4;
    testing_support::WriteInvoiceTables(
        layout_.data_dir, {At(1, "F0301", 122), At(15, "F0315", 244), At(31, "F0331", 61), april},
        "Pobočka Brno");
    old_dir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override { std::filesystem::current_path(old_dir_); }

  int Run(OverviewOptions options) {
    std::ostringstream summary;
    const int status = RunOverview(dir_.path(), op_, options, RenderPdf, summary);
    out_ = summary.str();
    return status;
  }

  std::string out_;
  std::filesystem::path old_dir_;
};

TEST_F(OverviewJobTest, WritesTheDumpAndAPdfHoldingHeadingRowsAndTotals) {
  const std::string pdf = dir_.path() + "prehled.pdf";
  ASSERT_EQ(Run({"01.03.2004", "31.03.2004", pdf, false}), 0) << out_;
  const std::string dump = dir_.ReadFile("PrehledPrijemek.txt");
  EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), 4) << dump;
  const std::string text = testing_support::PdfText(pdf);
  EXPECT_NE(
      text.find("Přehled ostatních faktur od 01.03.2004 do 31.03.2004 na skladu Pobočka Brno"),
      std::string::npos)
      << text;
  for (const char* row : {"F0301", "F0315", "F0331", "Kovář & syn"}) {
    EXPECT_NE(text.find(row), std::string::npos) << row << "\n" << text;
  }
  EXPECT_EQ(text.find("F0401"), std::string::npos);
  const size_t totals = text.find("Celkem sestava");
  ASSERT_NE(totals, std::string::npos) << text;
  EXPECT_NE(text.find("427.00", totals), std::string::npos) << text;
  EXPECT_NE(out_.find("3 faktur"), std::string::npos) << out_;
}

TEST_F(OverviewJobTest, ThePdfsPagesAreShownInPlaceWhenAskedFor) {
  std::ostringstream progress;
  OverviewOptions options{"01.03.2004", "31.03.2004", dir_.path() + "p.pdf", false};
  options.progress = &progress;
  ASSERT_EQ(Run(options), 0) << out_;
  EXPECT_EQ(progress.str(), "\rGeneruji stranu 1 z 1 [##############################] 100%\n");
  EXPECT_EQ(PageProgressLine(61, 2440),
            "\rGeneruji stranu 61 z 2440 [                              ]   2%");
  EXPECT_EQ(PageProgressLine(1220, 2440),
            "\rGeneruji stranu 1220 z 2440 [###############               ]  50%");
}

TEST_F(OverviewJobTest, ABadDateEndsWithTheExceptionMessage) {
  EXPECT_EQ(Run({"31.02.2004", "31.03.2004", "", false}), 1);
  EXPECT_NE(out_.find("Ošetření vyjímky: '31.02.2004' is not a valid date"), std::string::npos)
      << out_;
  EXPECT_FALSE(dir_.Exists("PrehledPrijemek.txt"));
}

TEST_F(OverviewJobTest, AWorkbookThatCannotBeWrittenFailsTheJob) {
  std::ofstream(layout_.settings_file, std::ios::app)
      << "CestaXls=" << dir_.path() << "missing\r\n";
  EXPECT_EQ(Run({"01.03.2004", "31.03.2004", "", true}), 1);
  EXPECT_NE(out_.find("Sešit nebyl uložen"), std::string::npos) << out_;
  ASSERT_FALSE(op_.messages.empty());
  EXPECT_EQ(op_.messages.back().text, "Nejze komunikovat s MS Excel");
}

TEST_F(OverviewJobTest, TheWorkbookGoesIntoCestaXls) {
  std::filesystem::create_directory(dir_.path() + "xls");
  std::ofstream(layout_.settings_file, std::ios::app) << "CestaXls=" << dir_.path() << "xls\r\n";
  EXPECT_EQ(Run({"01.03.2004", "31.03.2004", "", true}), 0) << out_;
  EXPECT_FALSE(std::filesystem::is_empty(dir_.path() + "xls"));
}

TEST_F(OverviewJobTest, TheProgramRunsTheOverviewWithoutAScreen) {
  const std::string pdf = dir_.path() + "cli.pdf";
  const auto result = testing_support::RunTool(
      "saldex-export",
      {"--ini-dir", dir_.path(), "--overview", "01.03.2004", "31.03.2004", "--pdf", pdf});
  ASSERT_EQ(result.status, 0) << result.out << result.err;
  EXPECT_TRUE(dir_.Exists("PrehledPrijemek.txt"));
  const std::string text = testing_support::PdfText(pdf);
  EXPECT_NE(text.find("Přehled ostatních faktur od 01.03.2004"), std::string::npos) << text;
  EXPECT_NE(text.find("F0315"), std::string::npos) << text;
  // Standard error is a pipe here, not a terminal: no progress line.
  EXPECT_EQ(result.err.find("Generuji"), std::string::npos) << result.err;

  const auto failed = testing_support::RunTool(
      "saldex-export", {"--ini-dir", dir_.path(), "--overview", "1.1.2004", "x", "--xlsx"});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.out.find("Ošetření vyjímky: 'x' is not a valid date"), std::string::npos)
      << failed.out;
  EXPECT_EQ(testing_support::RunTool("saldex-export", {"--pdf", pdf}).status, 2);
}

}  // namespace
}  // namespace jobs
