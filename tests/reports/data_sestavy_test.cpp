#include "reports/data_sestavy.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "overview_fixture.h"
#include "recording_canvas.h"
#include "store/ansi_text.h"

namespace testing_support {
namespace {

using reports::OverviewRequest;

Invoice At(int month, int day, const std::string& number, double total = 100) {
  Invoice invoice;
  invoice.month = month;
  invoice.day = day;
  invoice.number = number;
  invoice.total = total;
  invoice.base22 = total / 1.22;
  invoice.vat22 = total - invoice.base22;
  return invoice;
}

class DataSestavyTest : public OverviewTest {
 protected:
  // Runs the command with the dialog answering `request`; the report run
  // draws the pages onto `canvas_`.
  void RunCommand(std::optional<OverviewRequest> request) {
    Sestavy().PrehledFaktur(
        [&] {
          ++dialogs_;
          view_open_in_dialog_ = Sestavy().SesFak.active();
          return request;
        },
        [&] {
          ++reports_;
          Sestavy().SestavyPrint(canvas_);
        });
  }
  OverviewRequest March(int from_day, int to_day, bool spreadsheet = false) {
    return {Day(2004, 3, from_day), Day(2004, 3, to_day), spreadsheet};
  }
  std::vector<std::string> PrintedNumbers() const {
    std::vector<std::string> numbers;
    for (size_t i = 1; i + 1 < canvas_.lines.size(); ++i) {
      const std::string& text = canvas_.lines[i].text;
      const size_t start = text.find('|', 1) + 1;
      numbers.push_back(text.substr(start, text.find('|', start) - start));
    }
    return numbers;
  }
  std::string Dump() const { return dir_.ReadFile("work/PrehledPrijemek.txt"); }

  RecordingCanvas canvas_;
  int dialogs_ = 0;
  int reports_ = 0;
  bool view_open_in_dialog_ = false;
};

TEST_F(DataSestavyTest, ThreeInvoicesOfOneDayInDateOrderWithTheirSums) {
  WriteStore({At(3, 6, "F4"), At(3, 5, "F1", 122), At(3, 4, "F0"), At(3, 5, "F2", 244),
              At(3, 5, "F3", 61)});
  RunCommand(March(5, 5));
  EXPECT_EQ(dialogs_, 1);
  EXPECT_TRUE(view_open_in_dialog_);
  EXPECT_EQ(reports_, 1);
  EXPECT_EQ(PrintedNumbers(), (std::vector<std::string>{"F1", "F2", "F3"}));
  EXPECT_EQ(canvas_.lines.back().text.rfind("|Celkem sestava ||||||  427.00|  350.00|", 0), 0u);
  EXPECT_TRUE(op_.messages.empty());
  EXPECT_FALSE(Sestavy().SesFak.active());
  EXPECT_FALSE(Sestavy().SesFakMem.active());
  EXPECT_EQ(Sestavy().ReportSelector, 6);
}

TEST_F(DataSestavyTest, TheToDateIsIncludedAndTheDayAfterIsNot) {
  WriteStore({At(2, 29, "before"), At(3, 1, "first"), At(3, 31, "last"), At(4, 1, "after")});
  RunCommand(March(1, 31));
  EXPECT_EQ(PrintedNumbers(), (std::vector<std::string>{"first", "last"}));
  EXPECT_EQ(canvas_.calls[6],
            "PrintLeft(1,Přehled ostatních faktur od 01.03.2004 do 31.03.2004 na skladu Pobočka "
            "Brno)");
}

TEST_F(DataSestavyTest, TheReducedRateVatColumnShowsHlaD05) {
  Invoice invoice = At(3, 5, "F1");
  invoice.base05 = 40;
  invoice.vat05 = 2;
  invoice.vat22 = 7;
  WriteStore({invoice});
  RunCommand(March(5, 5));
  // Columns 11 to 13: Daň 22%, Daň 5%, Hal.Vyr.
  EXPECT_NE(canvas_.lines[1].text.find("|    7.00|    2.00|    0.00"), std::string::npos);
}

TEST_F(DataSestavyTest, StagingRunsPendingMessagesOncePerInvoice) {
  WriteStore({At(3, 5, "F1"), At(3, 6, "F2"), At(3, 7, "F3"), At(3, 8, "F4")});
  Sestavy().OpenSesFak();
  op_.processed = 0;
  Sestavy().Stage(Day(2004, 3, 5), Day(2004, 3, 7));
  EXPECT_EQ(Sestavy().SesFakMem.RecordCount(), 3u);
  EXPECT_EQ(op_.processed, 3);
  Sestavy().FinishOverview();
  Sestavy().CloseSesFak();
}

TEST_F(DataSestavyTest, CancellingTheDialogWritesNothingAndClosesTheView) {
  WriteStore({At(3, 5, "F1")});
  RunCommand(std::nullopt);
  EXPECT_EQ(dialogs_, 1);
  EXPECT_EQ(reports_, 0);
  EXPECT_FALSE(std::filesystem::exists(WorkDir() + "PrehledPrijemek.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() + "xls"));
  EXPECT_FALSE(Sestavy().SesFak.active());
  EXPECT_TRUE(op_.messages.empty());
}

TEST_F(DataSestavyTest, AnEmptyRangeShowsHeadingsAndZeroTotalsDumpsTheHeaderAndMakesNoWorkbook) {
  WriteStore({At(3, 5, "F1")});
  std::filesystem::create_directories(dir_.path() + "xls");
  RunCommand(OverviewRequest{Day(2004, 3, 9), Day(2004, 3, 8), true});
  EXPECT_EQ(reports_, 1);
  ASSERT_EQ(canvas_.lines.size(), 2u);
  EXPECT_EQ(canvas_.lines[1].text,
            "|Celkem sestava ||||||    0.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00");
  EXPECT_EQ(Dump().find("\r\n"), Dump().size() - 2);
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path() + "xls"));
  EXPECT_TRUE(op_.messages.empty());
}

TEST_F(DataSestavyTest, TheDumpHoldsTheStagedRows) {
  Invoice invoice = At(3, 5, "F%1", 1220.5);
  invoice.name = "Firma \"U Lva\"";
  invoice.order = "OBJ7";
  invoice.base22 = 1000;
  invoice.vat22 = 220.5;
  invoice.purchase = 800;
  WriteStore({invoice});
  RunCommand(March(5, 5));
  const std::string dump = Dump();
  const std::string row = dump.substr(dump.find("\r\n") + 2);
  EXPECT_EQ(row,
            "\"05/03/2004\",\"F%%1\",\"OBJ7\",\"C0001\",\"001\",\"Firma \"\"U Lva\"\"\",\"800\","
            "\"1220.5\",\"1000\",\"0\",\"0\",\"220.5\",\"0\",\"0\",,,\r\n");
}

TEST_F(DataSestavyTest, BlankInvoiceTextsAreDumpedAsEmptyQuotedTexts) {
  Invoice invoice = At(3, 5, "F2", 100);
  invoice.order = "";
  invoice.branch = "";
  invoice.name = "";
  invoice.base22 = 0;
  invoice.vat22 = 0;
  WriteStore({invoice});
  RunCommand(March(5, 5));
  const std::string dump = Dump();
  const std::string row = dump.substr(dump.find("\r\n") + 2);
  // Mena never gets a value: it alone stays empty between its commas.
  EXPECT_EQ(row,
            "\"05/03/2004\",\"F2\",\"\",\"C0001\",\"\",\"\",\"0\",\"100\",\"0\",\"0\","
            "\"0\",\"0\",\"0\",\"0\",,,\r\n");
}

TEST_F(DataSestavyTest, ADumpThatCannotBeCreatedEndsTheOverviewBeforeTheReport) {
  WriteStore({At(3, 5, "F1")});
  std::filesystem::create_directory(WorkDir() + "PrehledPrijemek.txt");
  RunCommand(March(5, 5));
  EXPECT_EQ(reports_, 0);
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Ošetření vyjímky");
  EXPECT_EQ(op_.messages[0].caption, store::kApplicationTitle);
  EXPECT_FALSE(Sestavy().SesFak.active());
  EXPECT_FALSE(Sestavy().SesFakMem.active());
  // The next run starts afresh.
  std::filesystem::remove(WorkDir() + "PrehledPrijemek.txt");
  RunCommand(March(5, 5));
  EXPECT_EQ(reports_, 1);
}

TEST_F(DataSestavyTest, AMissingInvoiceTableIsReportedAsAnException) {
  WriteStore({});
  std::filesystem::remove(DataDir() + "Fak0001.cdx");
  RunCommand(March(5, 5));
  EXPECT_EQ(dialogs_, 0);
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Ošetření vyjímky");
}

TEST_F(DataSestavyTest, AnErrorInTheReportIsReportedAsAnException) {
  WriteStore({At(3, 5, "F1")});
  Sestavy().PrehledFaktur([&] { return std::optional(March(5, 5)); },
                          [] { throw std::runtime_error("printer gone"); });
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Ošetření vyjímky");
}

// The batch overview hands its own error report to the same command: it gets
// the error itself, no message box shows, and nothing stays open.
TEST_F(DataSestavyTest, AGivenErrorReportGetsTheErrorInPlaceOfTheMessageBox) {
  WriteStore({At(3, 5, "F1")});
  std::string reported;
  Sestavy().PrehledFaktur([&] { return std::optional(March(5, 5)); },
                          [] { throw std::runtime_error("printer gone"); },
                          [&](const std::exception& e) { reported = e.what(); });
  EXPECT_EQ(reported, "printer gone");
  EXPECT_TRUE(op_.messages.empty());
  EXPECT_FALSE(Sestavy().SesFak.active());
  EXPECT_FALSE(Sestavy().SesFakMem.active());
}

TEST_F(DataSestavyTest, AWorkbookThatCannotBeSavedIsReportedAndTheReportStillRuns) {
  WriteStore({At(3, 5, "F1")});
  Module().settings.CestaXls = dir_.path() + "missing/dir";
  RunCommand(March(5, 5, true));
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Nejze komunikovat s MS Excel");
  EXPECT_EQ(reports_, 1);
}

// The hourglass shows while the workbook is written, also for an empty
// range, and the pointer is back before the failure message.
TEST_F(DataSestavyTest, TheHourglassShowsWhileTheWorkbookIsWritten) {
  Sestavy().SetBusyPointer = [&](bool busy) {
    op_.events.push_back(busy ? "hourglass" : "pointer");
  };
  auto pointer_events = [&] {
    std::vector<std::string> seen;
    for (const std::string& event : op_.events) {
      if (event == "hourglass" || event == "pointer" || event.starts_with("message")) {
        seen.push_back(event);
      }
    }
    op_.events.clear();
    return seen;
  };
  using Events = std::vector<std::string>;
  WriteStore({At(3, 5, "F1")});
  RunCommand(March(6, 6, true));  // nothing staged
  EXPECT_EQ(pointer_events(), (Events{"hourglass", "pointer"}));

  std::filesystem::create_directories(dir_.path() + "xls");
  RunCommand(March(5, 5, true));
  EXPECT_EQ(pointer_events(), (Events{"hourglass", "pointer"}));

  Module().settings.CestaXls = dir_.path() + "missing/dir";
  RunCommand(March(5, 5, true));
  EXPECT_EQ(pointer_events(),
            (Events{"hourglass", "pointer", "message: Nejze komunikovat s MS Excel"}));

  RunCommand(March(5, 5, false));
  EXPECT_TRUE(pointer_events().empty());
}

TEST_F(DataSestavyTest, TheWorkbookIsNamedAfterTodayInCestaXls) {
  WriteStore({At(3, 5, "F1")});
  std::filesystem::create_directories(dir_.path() + "xls");
  RunCommand(March(5, 5, true));
  EXPECT_TRUE(op_.messages.empty());
  EXPECT_TRUE(std::filesystem::exists(dir_.path() + "xls/Přehled faktur k 02.04.2004.xlsx"));
  // A second overview the same day replaces it.
  RunCommand(March(5, 5, true));
  EXPECT_TRUE(op_.messages.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path() + "xls"),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(DataSestavyTest, WithoutTheCheckBoxNoWorkbookIsWritten) {
  WriteStore({At(3, 5, "F1")});
  std::filesystem::create_directories(dir_.path() + "xls");
  RunCommand(March(5, 5, false));
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path() + "xls"));
}

TEST_F(DataSestavyTest, TheViewIsPointedAtTheInvoiceTableAndItsIndexFile) {
  WriteStore({At(3, 5, "F1")});
  Sestavy().OpenSesFak();
  EXPECT_EQ(Sestavy().SesFakIndexFile(), DataDir() + "/Fak0001.cdx");
  Sestavy().OpenSesFak();  // reopening closes first
  Sestavy().CloseSesFak();
  EXPECT_FALSE(Sestavy().SesFak.active());
}

}  // namespace
}  // namespace testing_support

namespace testing_support {
namespace {

TEST_F(OverviewTest, TheWorkbookDirectoryIsReadFromCestaXlsOfExportSaldex) {
  dir_.WriteFile("Korvana.ini",
                 "[Korvana]\r\nKorvana=0001\r\n[ExportSaldex]\r\nSalExpFil=25\r\n"
                 "CestaXls=/srv/sestavy\r\n");
  ASSERT_TRUE(Module().settings.IniPrepare(op_));
  EXPECT_EQ(Module().settings.CestaXls, "/srv/sestavy");
  EXPECT_EQ(Sestavy().WorkbookFile(), "/srv/sestavy/Přehled faktur k 02.04.2004.xlsx");
}

}  // namespace
}  // namespace testing_support
