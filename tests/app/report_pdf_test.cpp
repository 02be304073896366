// The report's own PDF writer against Qt's: the same pages and text for
// poppler, the font embedded as a valid subset.

#include <gtest/gtest.h>

#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QRawFont>
#include <algorithm>
#include <stdexcept>

#include "app/pdf_text.h"
#include "app/report/painter_surface.h"
#include "app/report/pdf_document.h"
#include "app/report/report_output.h"
#include "app/report/true_type_subset.h"
#include "reports/layout_canvas.h"
#include "reports/overview_pages.h"
#include "reports/staging_layout.h"
#include "store/ansi_text.h"
#include "store/temp_dir.h"
#include "support/shell_output.h"

namespace app {
namespace {

using testing_support::PdfText;

// pdftotext without -layout: the words in reading order, which does not
// depend on how many characters a ligature glyph counts for.
std::string PlainPdfText(const std::string& pdf) {
  return testing_support::ShellOutput("pdftotext '" + pdf + "' - 2>&1");
}

// Names chosen for kerning ("Vo", "Te"), the letters of code page 1250,
// PDF string delimiters, and a name as wide as its column, which runs into
// the next one.
const char* const kNames[] = {"Kovovýroba Němec České Budějov", "Vodárna Tábor (Ťápal)",
                              "TEXTIL \\ Wašák", "Železářství Čížek", "Löffler Ústí nad Labem"};

class ReportPdfTest : public ::testing::Test {
 protected:
  ReportPdfTest() {
    reports::DeclareStagingFields(rows_);
    rows_.Open();
    for (int i = 1; i <= 130; ++i) {
      rows_.Append();
      rows_.FieldByName("Vystaveno").SetAsDateTime(dbf::DaysFromCivil({2004, 3, 1 + i % 28}));
      rows_.FieldByName("Faktura").SetAsString("F" + std::to_string(1000 + i));
      rows_.FieldByName("Proforma").SetAsString("OBJ" + std::to_string(i));
      rows_.FieldByName("Nazev").SetAsString(store::Ansi(kNames[i % 5]));
      rows_.FieldByName("CelkemPC").SetAsFloat(122.5 * i);
      rows_.FieldByName("Zaklad22").SetAsFloat(-100.25 * i);
      rows_.FieldByName("Dan22").SetAsFloat(22);
      rows_.Post();
    }
  }
  void Pages(reports::ReportCanvas& canvas) {
    reports::PrintInvoiceOverview(
        canvas, rows_,
        {static_cast<double>(dbf::DaysFromCivil({2004, 3, 1})),
         static_cast<double>(dbf::DaysFromCivil({2004, 3, 31})), store::Ansi("Pobočka Brno")});
  }
  std::string OwnPdf() {
    const std::string path = dir_.path() + "own.pdf";
    WriteReportPdf(QString::fromStdString(path),
                   [this](reports::ReportCanvas& canvas) { Pages(canvas); });
    return path;
  }
  std::string QtPdf() {
    const std::string path = dir_.path() + "qt.pdf";
    QPdfWriter writer(QString::fromStdString(path));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter(&writer);
    PainterSurface surface(painter, writer);
    reports::LayoutCanvas canvas(surface);
    Pages(canvas);
    painter.end();
    return path;
  }

  reports::MemTable rows_;
  testing_support::TempDir dir_;
};

TEST_F(ReportPdfTest, GivesTheSamePagesAndTextAsQtsPdfEngine) {
  const std::string own = PlainPdfText(OwnPdf());
  const std::string qt = PlainPdfText(QtPdf());
  EXPECT_EQ(std::count(own.begin(), own.end(), '\f'), std::count(qt.begin(), qt.end(), '\f'));
  EXPECT_GE(std::count(own.begin(), own.end(), '\f'), 3);
  // Qt draws "ffl" as one ligature glyph, which extracts as U+FB04.
  std::string qt_letters = qt;
  for (size_t at; (at = qt_letters.find("\xEF\xAC\x84")) != std::string::npos;) {
    qt_letters.replace(at, 3, "ffl");
  }
  EXPECT_EQ(own, qt_letters);
  EXPECT_NE(PdfText(OwnPdf()).find("Budějov OBJ"), std::string::npos);
  EXPECT_NE(own.find("TEXTIL \\ Wašák"), std::string::npos);
  EXPECT_NE(own.find("Vodárna Tábor (Ťápal)"), std::string::npos);
}

TEST_F(ReportPdfTest, EmbedsTheFontAsASubsetWithAToUnicodeMap) {
  const std::string fonts = testing_support::ShellOutput("pdffonts '" + OwnPdf() + "' 2>&1");
  // name, type, encoding, emb, sub, uni
  EXPECT_NE(fonts.find("+DejaVuSans"), std::string::npos) << fonts;
  EXPECT_NE(fonts.find("CID TrueType"), std::string::npos) << fonts;
  EXPECT_NE(fonts.find("yes yes yes"), std::string::npos) << fonts;
  const std::string fine = testing_support::ShellOutput("pdfinfo '" + OwnPdf() + "' 2>&1");
  EXPECT_EQ(fine.find("Error"), std::string::npos) << fine;
  EXPECT_NE(fine.find("Dodavky od dodavatele"), std::string::npos) << fine;
}

TEST_F(ReportPdfTest, ARunThatFailsLeavesNoFile) {
  const std::string path = dir_.path() + "failed.pdf";
  EXPECT_THROW(WriteReportPdf(QString::fromStdString(path),
                              [](reports::ReportCanvas& canvas) {
                                canvas.PrintLeft("x", 1);
                                throw std::runtime_error("Vlastnik missing");
                              }),
               std::runtime_error);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ReportPdfTest, ProgressCountsThePagesBeforeDrawingThem) {
  std::vector<std::pair<int, int>> seen;
  WriteReportPdf(
      QString::fromStdString(dir_.path() + "p.pdf"),
      [this](reports::ReportCanvas& canvas) { Pages(canvas); },
      [&](int page, int pages) { seen.emplace_back(page, pages); });
  ASSERT_GE(seen.size(), 3u);
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].first, static_cast<int>(i) + 1);
    EXPECT_EQ(seen[i].second, static_cast<int>(seen.size()));
  }
}

TEST(TrueTypeSubset, KeepsTheGlyphsAskedForAndTheComponentsOfComposites) {
  const QRawFont raw = QRawFont::fromFont(ReportQFont({"ArialCE", 9, 238}));
  ASSERT_TRUE(raw.isValid());
  const TrueTypeFont font([&raw](const char* tag) { return raw.fontTable(tag).toStdString(); });
  const QList<quint32> glyphs = raw.glyphIndexesForString(QString::fromUtf8("AČž"));
  ASSERT_EQ(glyphs.size(), 3);
  const std::string subset =
      font.Subset({static_cast<uint16_t>(glyphs[0]), static_cast<uint16_t>(glyphs[1]),
                   static_cast<uint16_t>(glyphs[2])});
  EXPECT_LT(subset.size(), 20000u);

  const TrueTypeFont reread([&subset](const char* tag) {
    // Table directory: tag, checksum, offset, length, 16 bytes each after 12.
    const auto u32 = [&](size_t at) {
      return static_cast<uint32_t>(
          static_cast<uint8_t>(subset[at]) << 24 | static_cast<uint8_t>(subset[at + 1]) << 16 |
          static_cast<uint8_t>(subset[at + 2]) << 8 | static_cast<uint8_t>(subset[at + 3]));
    };
    const int tables = static_cast<uint8_t>(subset[4]) << 8 | static_cast<uint8_t>(subset[5]);
    for (int i = 0; i < tables; ++i) {
      if (subset.compare(12 + i * 16, 4, tag) == 0) {
        return subset.substr(u32(12 + i * 16 + 8), u32(12 + i * 16 + 12));
      }
    }
    return std::string();
  });
  EXPECT_GE(reread.glyph_count(), 4);  // .notdef, the three, components of Č and ž
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(reread.Advance(static_cast<uint16_t>(i + 1)),
              font.Advance(static_cast<uint16_t>(glyphs[i])));
  }
  // FreeType reads the subset, composites and all.
  const QRawFont loaded(QByteArray::fromStdString(subset), 12);
  ASSERT_TRUE(loaded.isValid());
  for (quint32 glyph = 1; glyph <= 3; ++glyph) {
    EXPECT_FALSE(loaded.pathForGlyph(glyph).isEmpty()) << glyph;
    EXPECT_NEAR(loaded.pathForGlyph(glyph).boundingRect().width(),
                raw.pathForGlyph(glyphs[glyph - 1]).boundingRect().width() * 12 / raw.pixelSize(),
                0.01);
  }
}

TEST(PdfSyntax, StringsEscapeDelimitersAndControlBytesAndNumbersHaveTwoDecimals) {
  std::string out;
  AppendPdfString(out, std::string("a(b)c\\d\r\n\x01\x8A", 11));
  EXPECT_EQ(out, std::string("(a\\(b\\)c\\\\d\\015\\012\\001\x8A)"));
  out.clear();
  for (const long value : {1234L, -5L, 300L, 0L, -1210L, 7L}) {
    AppendHundredths(out, value);
    out += ' ';
  }
  EXPECT_EQ(out, "12.34 -.05 3 0 -12.1 .07 ");
}

}  // namespace
}  // namespace app
