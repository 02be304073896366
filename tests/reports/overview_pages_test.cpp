#include "reports/overview_pages.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "dbf/format_settings.h"
#include "recording_canvas.h"
#include "reports/staging_layout.h"
#include "store/ansi_text.h"

namespace reports {
namespace {

using testing_support::RecordingCanvas;

class OverviewPagesTest : public ::testing::Test {
 protected:
  OverviewPagesTest() {
    dbf::Formats().decimal_separator = '.';
    dbf::Formats().short_date_format = "dd.mm.yyyy";
    DeclareStagingFields(rows_);
    rows_.Open();
  }
  ~OverviewPagesTest() override { dbf::Formats().decimal_separator = '.'; }

  void Stage(int day, const std::string& number, double total, double vat05 = 0) {
    rows_.Append();
    rows_.FieldByName("Vystaveno").SetAsDateTime(dbf::DaysFromCivil({2004, 3, day}));
    rows_.FieldByName("Faktura").SetAsString(number);
    rows_.FieldByName("Nazev").SetAsString(store::Ansi("Řezník"));
    rows_.FieldByName("Proforma").SetAsString("P" + number);
    rows_.FieldByName("CelkemPC").SetAsFloat(total);
    rows_.FieldByName("Zaklad22").SetAsFloat(total / 1.22);
    rows_.FieldByName("Zaklad05").SetAsFloat(1);
    rows_.FieldByName("Zaklad00").SetAsFloat(2);
    rows_.FieldByName("Dan22").SetAsFloat(total - total / 1.22);
    rows_.FieldByName("Dan05").SetAsFloat(vat05);
    rows_.FieldByName("HalVyr").SetAsFloat(-0.25);
    rows_.Post();
  }
  void Print(RecordingCanvas& canvas) {
    PrintInvoiceOverview(
        canvas, rows_,
        {static_cast<double>(dbf::DaysFromCivil({2004, 3, 1})),
         static_cast<double>(dbf::DaysFromCivil({2004, 3, 31})), store::Ansi("Pobočka Brno")});
  }

  MemTable rows_;
};

constexpr const char* kColumnHeadings =
    "Line(|Datum|Faktura|Odběratel|Proforma|Měna|Kurz|Cel. PC|Zák 22%|Zák 5%|Zák 0%|Daň 22%|"
    "Daň 5%|Hal.Vyr)";

TEST_F(OverviewPagesTest, HeadingFontsMarginsAndTabStopsAreSetUpInOrder) {
  RecordingCanvas canvas;
  Print(canvas);
  const std::vector<std::string> expected = {
      "SetFont(ArialCE,13)",
      "SetMargins(1,1,2,2)",
      "SetCharset(238)",
      "StartSection",
      "Home",
      "ClearTabs",
      "PrintLeft(1,Přehled ostatních faktur od 01.03.2004 do 31.03.2004 na skladu Pobočka Brno)",
      "NewLine",
      "NewLine",
      "SetFont(ArialCE,9)",
      "SetCharset(238)",
      "SetTab(1,L,1.75,0,0,0)",
      "SetTab(after,L,2,0,0,0)",
      "SetTab(after,L,5,0,0,0)",
      "SetTab(after,L,1.75,0,0,0)",
      "SetTab(after,R,0.5,0,0,0)",
      "SetTab(after,R,1.5,0,0,0)",
      "SetTab(after,R,2,0,0,0)",
      "SetTab(after,R,2,0,0,0)",
      "SetTab(after,R,2,0,0,0)",
      "SetTab(after,R,2,0,0,0)",
      "SetTab(after,R,2,0,0,0)",
      "SetTab(after,R,2,0,0,0)",
      "SetTab(after,R,2,0,0,0)",
      kColumnHeadings,
      "Line(|Celkem sestava ||||||    0.00|    0.00|    0.00|    0.00|    0.00|    0.00|    0.00)",
  };
  EXPECT_EQ(canvas.calls, expected);
}

TEST_F(OverviewPagesTest, RowsShowTheStagedValuesAndTheTotalsTheirSums) {
  Stage(5, "F1", 122, 0.5);
  Stage(5, "F2", 244, 0.25);
  Stage(6, "F3", 61);
  RecordingCanvas canvas;
  Print(canvas);
  ASSERT_EQ(canvas.lines.size(), 5u);
  EXPECT_EQ(canvas.lines[1].text,
            "|05.03.2004|F1|Řezník|PF1||    0.00|  122.00|  100.00|    1.00|    2.00|   22.00|"
            "    0.50|   -0.25");
  EXPECT_EQ(canvas.lines[3].text.substr(0, 15), "|06.03.2004|F3|");
  EXPECT_EQ(canvas.lines[4].text,
            "|Celkem sestava ||||||  427.00|  350.00|    3.00|    6.00|   77.00|    0.75|   -0.75");
}

TEST_F(OverviewPagesTest, CelPcIsTheTotalTimesAStagedRateAndTheTotalItselfWithoutOne) {
  Stage(5, "F1", 100);
  rows_.Append();
  rows_.FieldByName("CelkemPC").SetAsFloat(100);
  rows_.FieldByName("Kurz").SetAsFloat(25.5);
  rows_.FieldByName("Mena").SetAsString("EUR");
  rows_.Post();
  RecordingCanvas canvas;
  Print(canvas);
  EXPECT_NE(canvas.lines[1].text.find("||    0.00|  100.00|"), std::string::npos);
  EXPECT_NE(canvas.lines[2].text.find("|EUR|   25.50| 2550.00|"), std::string::npos);
  EXPECT_EQ(canvas.lines[3].text.rfind("|Celkem sestava |||||| 2650.00|", 0), 0u);
}

TEST_F(OverviewPagesTest, AmountsUseTheLocaleDecimalSeparator) {
  dbf::Formats().decimal_separator = ',';
  Stage(5, "F1", 12.5);
  RecordingCanvas canvas;
  Print(canvas);
  EXPECT_NE(canvas.lines[1].text.find("|   12,50|"), std::string::npos);
}

TEST_F(OverviewPagesTest, FewerThanThreeLinesLeftStartANewPageWithTwoEmptyLinesNoHeadings) {
  // Pages of 8 lines: the column headings on line 3; rows on lines 4, 5 and 6
  // leave 5, 4 and 3 lines; line 7 leaves 2.
  for (int i = 1; i <= 6; ++i) Stage(5, "F" + std::to_string(i), 10);
  RecordingCanvas canvas(8);
  Print(canvas);
  std::vector<std::pair<int, int>> placed;
  for (const auto& line : canvas.lines) placed.emplace_back(line.page, line.line);
  const std::vector<std::pair<int, int>> expected = {{1, 3}, {1, 4}, {1, 5}, {1, 6},
                                                     {2, 3}, {2, 4}, {2, 5}, {2, 6}};
  EXPECT_EQ(placed, expected);
  size_t page_break = 0;
  while (canvas.calls[page_break] != "NewPage") ++page_break;
  EXPECT_EQ(canvas.calls[page_break + 1], "NewLine");
  EXPECT_EQ(canvas.calls[page_break + 2], "NewLine");
  EXPECT_EQ(canvas.calls[page_break + 3].substr(0, 16), "Line(|05.03.2004");
  EXPECT_EQ(std::count(canvas.calls.begin(), canvas.calls.end(), kColumnHeadings), 1);
}

TEST_F(OverviewPagesTest, HeadingTextForMarch2004) {
  EXPECT_EQ(
      OverviewHeadingText({static_cast<double>(dbf::DaysFromCivil({2004, 3, 1})),
                           static_cast<double>(dbf::DaysFromCivil({2004, 3, 31})), "Sklad 1"}),
      store::Ansi("Přehled ostatních faktur od 01.03.2004 do 31.03.2004 na skladu Sklad 1"));
}

}  // namespace
}  // namespace reports
