#include "app/dialogs/overview_range_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "dbf/clock.h"

namespace app {
namespace {

dbf::DateTime Day(int year, int month, int day) {
  return static_cast<dbf::DateTime>(dbf::DaysFromCivil({year, month, day}));
}

class OverviewRangeDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { dbf::SetClockForTesting(dbf::LocalTime{2004, 3, 31, 9, 30, 0, 0}); }
  void TearDown() override { dbf::SetClockForTesting(std::nullopt); }

  // Runs AskOverviewRange with `drive` acting on the shown dialog.
  std::optional<reports::OverviewRequest> Ask(std::function<void(OverviewRangeDialog&)> drive) {
    QTimer::singleShot(0, [drive] {
      auto* dialog = qobject_cast<OverviewRangeDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      drive(*dialog);
      if (dialog->isVisible()) dialog->done(0);
    });
    return AskOverviewRange(nullptr);
  }
};

TEST_F(OverviewRangeDialogTest, OpensWithBothDatesTodayAndTheFocusOnTheFromDate) {
  OverviewRangeDialog dialog;
  dialog.setDates(Day(2004, 3, 31), Day(2004, 3, 31));
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Sestava přehledu dokladů"));
  EXPECT_EQ(dialog.size(), QSize(269, 168));
  EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
  EXPECT_EQ(QApplication::focusWidget(), dialog.DateEdit1);
  EXPECT_EQ(dialog.fromDate(), Day(2004, 3, 31));
  EXPECT_EQ(dialog.CheckBox1->text(), QString::fromUtf8("Export data do souboru XLS ( MS Excel )"));
}

TEST_F(OverviewRangeDialogTest, EnterWalksTheFieldsAndOnTheCheckBoxMovesToStorno) {
  OverviewRangeDialog dialog;
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), dialog.DateEdit2);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), dialog.CheckBox1);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), dialog.StornoButton);
  EXPECT_FALSE(dialog.CheckBox1->isChecked());
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(OverviewRangeDialogTest, StartReturnsTheRangeAndTheCheckBox) {
  const auto request = Ask([](OverviewRangeDialog& dialog) {
    dialog.DateEdit1->setDateValue(Day(2004, 3, 1));
    dialog.CheckBox1->setChecked(true);
    QTest::mouseClick(dialog.StartButton, Qt::LeftButton);
  });
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->from, Day(2004, 3, 1));
  EXPECT_EQ(request->to, Day(2004, 3, 31));
  EXPECT_TRUE(request->spreadsheet);
}

// Both dates typed from the keyboard the way a clerk types them, Enter
// after each, then Enter on the check box and Tab back to "Start".
TEST_F(OverviewRangeDialogTest, TypedDatesGiveTheRange) {
  const auto request = Ask([](OverviewRangeDialog& dialog) {
    QApplication::setActiveWindow(&dialog);
    QWindow* keyboard = dialog.windowHandle();
    ASSERT_EQ(dialog.focusWidget(), dialog.DateEdit1);
    for (const char* keys : {"01.06.2025", "30062025"}) {
      QWidget* date = dialog.focusWidget();
      for (const char* key = keys; *key != 0; ++key) {
        QTest::keyClick(keyboard, *key);
        ASSERT_EQ(dialog.focusWidget(), date) << keys;
      }
      QTest::keyClick(keyboard, Qt::Key_Return);
    }
    ASSERT_EQ(dialog.focusWidget(), dialog.CheckBox1);
    QTest::mouseClick(dialog.StartButton, Qt::LeftButton);
  });
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->from, Day(2025, 6, 1));
  EXPECT_EQ(request->to, Day(2025, 6, 30));
}

TEST_F(OverviewRangeDialogTest, StornoAndEscapeCancel) {
  int result = -1;
  EXPECT_FALSE(Ask([&](OverviewRangeDialog& dialog) {
                 QObject::connect(&dialog, &QDialog::finished, [&](int r) { result = r; });
                 QTest::mouseClick(dialog.StornoButton, Qt::LeftButton);
               }).has_value());
  EXPECT_EQ(result, OverviewRangeDialog::kStorno);
  EXPECT_FALSE(Ask([](OverviewRangeDialog& dialog) {
                 QTest::keyClick(&dialog, Qt::Key_Escape);
               }).has_value());
}

}  // namespace
}  // namespace app
