#include "app/report_preview.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <stdexcept>

#include "app/pdf_text.h"
#include "store/temp_dir.h"

namespace app {
namespace {

TEST(ReportPreview, ShowsTheReportModallyInLandscapeAndSetsPortraitAfterwards) {
  int drawn = 0;
  bool visible = false;
  bool modal = false;
  QString title;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  ReportPreview preview(
      nullptr,
      [&](reports::ReportCanvas& canvas) {
        ++drawn;
        canvas.PrintLeft("Přehled", 1);
      },
      -2);
  QTimer::singleShot(0, [&] {
    visible = preview.dialog().isVisible();
    modal = preview.dialog().isModal();
    title = preview.dialog().windowTitle();
    orientation = preview.printer().pageLayout().orientation();
    preview.dialog().reject();
  });
  preview.Run();
  EXPECT_TRUE(visible);
  EXPECT_TRUE(modal);
  EXPECT_EQ(title, QString::fromUtf8("Náhled před tiskem"));
  EXPECT_EQ(orientation, QPageLayout::Landscape);
  EXPECT_GE(drawn, 1);
  EXPECT_EQ(preview.printer().pageLayout().orientation(), QPageLayout::Portrait);
  EXPECT_EQ(preview.printer().docName(), "Dodavky od dodavatele");
}

TEST(ReportPreview, AnErrorWhileDrawingClosesThePreviewAndIsRaised) {
  ReportPreview preview(
      nullptr, [](reports::ReportCanvas&) { throw std::runtime_error("Vlastnik missing"); }, -2);
  // Should the preview stay open, close it so that the test ends.
  QTimer::singleShot(5000, &preview.dialog(), &QDialog::reject);
  EXPECT_THROW(preview.Run(), std::runtime_error);
}

}  // namespace
}  // namespace app

namespace app {
namespace {

TEST(ReportPreview, ThePrintButtonPrintsWithoutASetupDialogAndCloses) {
  testing_support::TempDir dir;
  const QString pdf = QString::fromStdString(dir.path() + "printed.pdf");
  ReportPreview preview(
      nullptr, [](reports::ReportCanvas& canvas) { canvas.PrintLeft("Tisk sestavy", 1); }, -2);
  preview.printer().setOutputFileName(pdf);  // a printer that writes a file
  QAction* print = nullptr;
  for (QAction* action : preview.dialog().findChildren<QAction*>()) {
    if (action->text() == QPrintPreviewDialog::tr("Print")) print = action;
  }
  ASSERT_NE(print, nullptr);
  QWidget* modal_after_print = nullptr;
  QTimer::singleShot(0, [&] {
    print->trigger();
    modal_after_print = QApplication::activeModalWidget();
  });
  preview.Run();
  EXPECT_EQ(modal_after_print, nullptr);
  EXPECT_NE(testing_support::PdfText(pdf.toStdString()).find("Tisk sestavy"), std::string::npos);
}

}  // namespace
}  // namespace app
