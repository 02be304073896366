#include "app/report/report_output.h"

#include <gtest/gtest.h>

#include <QPdfWriter>
#include <algorithm>
#include <stdexcept>

#include "app/pdf_text.h"
#include "app/report/painter_surface.h"
#include "reports/layout_canvas.h"
#include "reports/overview_pages.h"
#include "reports/staging_layout.h"
#include "store/ansi_text.h"
#include "store/temp_dir.h"

namespace app {
namespace {

using testing_support::PdfText;

class ReportOutputTest : public ::testing::Test {
 protected:
  ReportOutputTest() {
    reports::DeclareStagingFields(rows_);
    rows_.Open();
  }
  void Stage(int count) {
    for (int i = 1; i <= count; ++i) {
      rows_.Append();
      rows_.FieldByName("Vystaveno").SetAsDateTime(dbf::DaysFromCivil({2004, 3, 1 + i % 28}));
      rows_.FieldByName("Faktura").SetAsString("F" + std::to_string(1000 + i));
      rows_.FieldByName("Nazev").SetAsString(store::Ansi("Železářství Čížek"));
      rows_.FieldByName("CelkemPC").SetAsFloat(122);
      rows_.FieldByName("Zaklad22").SetAsFloat(100);
      rows_.FieldByName("Dan22").SetAsFloat(22);
      rows_.Post();
    }
  }
  std::string Render() {
    const std::string path = dir_.path() + "overview.pdf";
    WriteReportPdf(QString::fromStdString(path), [this](reports::ReportCanvas& canvas) {
      reports::PrintInvoiceOverview(
          canvas, rows_,
          {static_cast<double>(dbf::DaysFromCivil({2004, 3, 1})),
           static_cast<double>(dbf::DaysFromCivil({2004, 3, 31})), store::Ansi("Pobočka Brno")});
    });
    return PdfText(path);
  }

  reports::MemTable rows_;
  testing_support::TempDir dir_;
};

TEST_F(ReportOutputTest, ThePdfHoldsHeadingColumnHeadingsRowsAndTotals) {
  Stage(3);
  const std::string text = Render();
  EXPECT_NE(
      text.find("Přehled ostatních faktur od 01.03.2004 do 31.03.2004 na skladu Pobočka Brno"),
      std::string::npos)
      << text;
  EXPECT_NE(text.find("Odběratel"), std::string::npos) << text;
  EXPECT_NE(text.find("Daň 5%"), std::string::npos) << text;
  EXPECT_NE(text.find("F1001"), std::string::npos) << text;
  EXPECT_NE(text.find("Železářství Čížek"), std::string::npos) << text;
  EXPECT_NE(text.find("Celkem sestava"), std::string::npos) << text;
  EXPECT_NE(text.find("366.00"), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1);  // one page
}

TEST_F(ReportOutputTest, LongOverviewsContinueOnPagesWithoutColumnHeadings) {
  Stage(120);
  const std::string text = Render();
  const auto pages = std::count(text.begin(), text.end(), '\f');
  EXPECT_GE(pages, 2);
  const size_t second_page = text.find('\f');
  EXPECT_EQ(text.find("Odběratel", second_page), std::string::npos);
  EXPECT_NE(text.find("F1120"), std::string::npos);
  EXPECT_NE(text.find("14640.00"), std::string::npos) << text.substr(text.size() - 400);
}

TEST_F(ReportOutputTest, ThePageIsLandscapeA4InCentimetres) {
  QPdfWriter writer(QString::fromStdString(dir_.path() + "page.pdf"));
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                   QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
  QPainter painter(&writer);
  PainterSurface surface(painter, writer);
  EXPECT_NEAR(surface.PageWidth(), 29.7, 0.01);
  EXPECT_NEAR(surface.PageHeight(), 21.0, 0.01);
  const reports::ReportFont font{"ArialCE", 9, 238};
  // 9 points are 0.3175 cm; a line is a little more.
  EXPECT_GT(surface.LineHeight(font), 0.3175);
  EXPECT_LT(surface.LineHeight(font), 0.5);
  EXPECT_NEAR(surface.TextWidth(font, "00000000") / 8,
              surface.TextWidth(font, "0000000000000000") / 16, 1e-6);
  painter.end();
}

TEST_F(ReportOutputTest, AnUnwritablePdfRaises) {
  EXPECT_THROW(WriteReportPdf(QString::fromStdString(dir_.path() + "missing/x.pdf"), [](auto&) {}),
               std::runtime_error);
}

}  // namespace
}  // namespace app
