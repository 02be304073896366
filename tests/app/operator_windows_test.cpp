// The operator's windows: message boxes, the progress window, the default
// error display.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include <gtest/gtest.h>

#include "app/error_display.h"
#include "app/qt_operator.h"
#include "controls/qt_text.h"
#include "store/ansi_text.h"

namespace app {
namespace {

struct SeenBox {
  QString title, text;
  bool ok_is_default = false;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Presses Return on the next modal message box once the event loop runs.
SeenBox* PressReturnOnNextBox() {
  auto* seen = new SeenBox;
  QTimer::singleShot(0, [seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    seen->ok_is_default = box->defaultButton() == box->button(QMessageBox::Ok);
    QTest::keyClick(box, Qt::Key_Return);
  });
  return seen;
}

TEST(OperatorWindows, MessageBoxShowsTheCzechTextAndReturnPressesOk) {
  QtOperator op;
  std::unique_ptr<SeenBox> seen(PressReturnOnNextBox());
  op.ShowMessage(store::Ansi("POZOR - Saldex 2 nesmí být spuštěn !!!"),
                 store::Ansi("Exportni modul pro Saldex 2"));
  EXPECT_EQ(seen->text, QStringLiteral("POZOR - Saldex 2 nesmí být spuštěn !!!"));
  EXPECT_EQ(seen->title, QStringLiteral("Exportni modul pro Saldex 2"));
  EXPECT_EQ(seen->icon, QMessageBox::Information);
  EXPECT_TRUE(seen->ok_is_default);
}

TEST(OperatorWindows, ProgressWindowHasCaptionLabelAndGauge) {
  QtOperator op;
  op.CreateProgress(store::Ansi("Indexace datových souborů"));
  ProgressWindow* window = op.progress_window();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Indexace datových souborů"));
  EXPECT_EQ(window->size(), QSize(376, 78));
  EXPECT_EQ(window->Gauge1()->size(), QSize(329, 25));
  EXPECT_EQ(window->Label1()->width(), 225);
  op.SetProgressLabel(store::Ansi("Faktury - číslo"));
  op.ShowProgress();
  op.SetProgressPercent(42);
  op.ProcessMessages();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->Label1()->text(), QStringLiteral("Faktury - číslo"));
  EXPECT_EQ(window->Gauge1()->value(), 42);
  op.CloseProgress();
  EXPECT_EQ(op.progress_window(), nullptr);
}

TEST(OperatorWindows, UncaughtErrorIsShownAndTheProgramGoesOn) {
  std::unique_ptr<SeenBox> seen(PressReturnOnNextBox());
  bool after = false;
  RunCommand([] { throw std::runtime_error(store::Ansi("Cannot find file /x/Fak0001.dbf")); });
  after = true;
  EXPECT_EQ(seen->text, QStringLiteral("Cannot find file /x/Fak0001.dbf"));
  EXPECT_TRUE(after);
}

}  // namespace
}  // namespace app
