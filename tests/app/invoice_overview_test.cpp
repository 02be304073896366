#include "app/invoice_overview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/dialogs/overview_range_dialog.h"
#include "reports/overview_fixture.h"

namespace app {
namespace {

// Calls `act` with the modal window of type W as soon as it is the active
// modal widget; looks again after each pass of the event loop until then.
template <typename W>
void WhenShown(std::function<void(W&)> act) {
  QTimer::singleShot(0, [act] {
    if (auto* window = qobject_cast<W*>(QApplication::activeModalWidget())) {
      act(*window);
    } else {
      WhenShown<W>(act);
    }
  });
}

// Calls `act` with the modal window titled `title` once it is the active
// modal widget.
void WhenTitled(const char* title, std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [title, act] {
    QWidget* window = QApplication::activeModalWidget();
    if (window != nullptr && window->windowTitle() == QString::fromUtf8(title)) {
      act(*window);
    } else {
      WhenTitled(title, act);
    }
  });
}

class InvoiceOverviewTest : public testing_support::OverviewTest {
 protected:
  void SetUp() override {
    OverviewTest::SetUp();
    testing_support::Invoice invoice;
    invoice.month = 4;  // today
    invoice.day = 2;
    invoice.number = "F0402";
    invoice.total = 122;
    WriteStore({invoice});
    Module().settings.HlavniTiskarna = -2;
  }
};

TEST_F(InvoiceOverviewTest, StartStagesTodayWritesTheDumpAndShowsThePreview) {
  bool previewed = false;
  WhenShown<OverviewRangeDialog>(
      [](OverviewRangeDialog& dialog) { QTest::mouseClick(dialog.StartButton, Qt::LeftButton); });
  WhenTitled("Náhled před tiskem", [&](QWidget& preview) {
    previewed = true;
    preview.close();
  });
  RunInvoiceOverview(nullptr, Module(), Sestavy());
  EXPECT_TRUE(previewed);
  const std::string dump = dir_.ReadFile("work/PrehledPrijemek.txt");
  EXPECT_NE(dump.find("\"02/04/2004\",\"F0402\""), std::string::npos) << dump;
  EXPECT_TRUE(op_.messages.empty());
  EXPECT_FALSE(Sestavy().SesFak.active());
}

TEST_F(InvoiceOverviewTest, StornoWritesNothing) {
  WhenShown<OverviewRangeDialog>(
      [](OverviewRangeDialog& dialog) { QTest::mouseClick(dialog.StornoButton, Qt::LeftButton); });
  RunInvoiceOverview(nullptr, Module(), Sestavy());
  EXPECT_FALSE(std::filesystem::exists(WorkDir() + "PrehledPrijemek.txt"));
  EXPECT_FALSE(Sestavy().SesFak.active());
}

}  // namespace
}  // namespace app
