#include "app/report/report_preview.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <functional>
#include <stdexcept>

#include "app/pdf_text.h"
#include "app/report/report_status.h"
#include "store/temp_dir.h"

namespace app {
namespace {

// The status window shown now, or nullptr.
ReportStatus* StatusWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* status = dynamic_cast<ReportStatus*>(widget); status && status->isVisible()) {
      return status;
    }
  }
  return nullptr;
}

// A report of `pages` pages, "Strana n" at the top of each; each page
// notes the status window's line as the page handler reaches it.
struct NumberedPages {
  explicit NumberedPages(int count) : pages(count) {}
  int pages;
  std::vector<QString> status_lines;
  int runs = 0;
  void operator()(reports::ReportCanvas& canvas) {
    ++runs;
    for (int page = 1; page <= pages; ++page) {
      if (page > 1) canvas.NewPage();
      ReportStatus* status = StatusWindow();
      status_lines.push_back(status ? status->windowTitle() + ": " + status->line() : "");
      canvas.PrintLeft("Strana " + std::to_string(page), 1);
    }
  }
};

// Calls `act` once the preview window is open (the page count runs the
// event loop before it opens).
void WhenOpen(ReportPreview& preview, std::function<void()> act) {
  QTimer::singleShot(0, [&preview, act] {
    if (preview.dialog().isVisible()) {
      act();
    } else {
      WhenOpen(preview, act);
    }
  });
}

QAction* Action(ReportPreview& preview, const char* text) {
  for (QAction* action : preview.dialog().findChildren<QAction*>()) {
    if (action->text() == QString::fromUtf8(text)) return action;
  }
  return nullptr;
}

TEST(ReportPreview, ShowsTheReportModallyInLandscapeAndSetsPortraitAfterwards) {
  bool visible = false;
  bool modal = false;
  QString title;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  ReportPreview preview(
      nullptr, [&](reports::ReportCanvas& canvas) { canvas.PrintLeft("Přehled", 1); }, -2);
  WhenOpen(preview, [&] {
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
  EXPECT_EQ(preview.page_count(), 1);
  EXPECT_GT(preview.page_image().width(), preview.page_image().height());
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

// A long report opens on page 1 having drawn that page only; pages are
// drawn as they are shown, and the status window counted them first.
TEST(ReportPreview, ALongReportOpensDrawingOnlyThePageShown) {
  NumberedPages pages(400);
  ReportPreview preview(nullptr, std::ref(pages), -2);
  int drawn_when_open = -1, count_when_open = -1;
  int drawn_after_moves = -1, page_after_moves = -1;
  WhenOpen(preview, [&] {
    drawn_when_open = preview.pages_drawn();
    count_when_open = preview.page_count();
    Action(preview, "Poslední strana")->trigger();
    Action(preview, "Předchozí strana")->trigger();
    drawn_after_moves = preview.pages_drawn();
    page_after_moves = preview.current_page();
    preview.dialog().reject();
  });
  preview.Run();
  EXPECT_EQ(count_when_open, 400);
  EXPECT_EQ(drawn_when_open, 1);
  EXPECT_EQ(drawn_after_moves, 3);
  EXPECT_EQ(page_after_moves, 399);
  // The counting run saw "Generuji stranu %p" for every page.
  ASSERT_GE(pages.status_lines.size(), 400u);
  EXPECT_EQ(pages.status_lines[0], QString::fromUtf8("Stav přípravy tisku: Generuji stranu 1"));
  EXPECT_EQ(pages.status_lines[399], QString::fromUtf8("Stav přípravy tisku: Generuji stranu 400"));
}

TEST(ReportPreview, ZoomRedrawsThePageLargerAndThereIsNoPageSetup) {
  ReportPreview preview(
      nullptr, [](reports::ReportCanvas& canvas) { canvas.PrintLeft("Zoom", 1); }, -2);
  int width_before = 0, width_after = 0;
  WhenOpen(preview, [&] {
    width_before = preview.page_image().width();
    Action(preview, "Zvětšit")->trigger();
    width_after = preview.page_image().width();
    preview.dialog().reject();
  });
  preview.Run();
  EXPECT_GT(width_after, width_before * 1.2);
  for (QAction* action : preview.dialog().findChildren<QAction*>()) {
    EXPECT_FALSE(action->text().contains(QString::fromUtf8("Nastavení")))
        << action->text().toStdString();
    EXPECT_FALSE(action->text().contains("setup", Qt::CaseInsensitive))
        << action->text().toStdString();
  }
}

TEST(ReportPreview, ThePrintButtonPrintsEveryPageWithoutASetupDialogAndCloses) {
  testing_support::TempDir dir;
  const QString pdf = QString::fromStdString(dir.path() + "printed.pdf");
  NumberedPages pages(5);
  ReportPreview preview(nullptr, std::ref(pages), -2);
  preview.printer().setOutputFileName(pdf);  // a printer that writes a file
  QAction* print = Action(preview, "Tisk");
  ASSERT_NE(print, nullptr);
  QWidget* modal_after_print = nullptr;
  WhenOpen(preview, [&] {
    pages.status_lines.clear();
    print->trigger();
    modal_after_print = QApplication::activeModalWidget();
  });
  preview.Run();
  EXPECT_EQ(modal_after_print, nullptr);
  const std::string text = testing_support::PdfText(pdf.toStdString());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 5);
  EXPECT_NE(text.find("Strana 1"), std::string::npos);
  EXPECT_NE(text.find("Strana 5"), std::string::npos);
  ASSERT_EQ(pages.status_lines.size(), 5u);
  EXPECT_EQ(pages.status_lines[4], QString::fromUtf8("Stav přípravy tisku: Tisknu stranu 5"));
}

TEST(ReportPreview, StornoInTheStatusWindowEndsALongPrint) {
  testing_support::TempDir dir;
  int pages_begun = 0;
  ReportPreview preview(
      nullptr,
      [&](reports::ReportCanvas& canvas) {
        pages_begun = 1;
        for (int page = 2; page <= 50; ++page) {
          ReportStatus* status = StatusWindow();
          QPushButton* storno = status ? status->findChild<QPushButton*>() : nullptr;
          if (storno != nullptr && page == 3) storno->click();
          canvas.NewPage();
          ++pages_begun;
        }
      },
      -2);
  preview.printer().setOutputFileName(QString::fromStdString(dir.path() + "cancelled.pdf"));
  bool printed = true;
  int begun_when_cancelled = 0;
  WhenOpen(preview, [&] {
    pages_begun = 0;
    printed = preview.Print();
    begun_when_cancelled = pages_begun;
  });
  preview.Run();
  EXPECT_FALSE(printed);
  EXPECT_LT(begun_when_cancelled, 50);
}

}  // namespace
}  // namespace app
