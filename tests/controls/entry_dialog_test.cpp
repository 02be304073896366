#include "controls/entry_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <functional>

#include "controls/valid_edit.h"
#include "controls/widget_test_support.h"

namespace controls {
namespace {

// A dialog whose key preview records keys and takes F2.
class PreviewDialog : public EntryDialog {
 public:
  PreviewDialog() {
    edit = new TValidEdit(this);
    plain = new QLineEdit(this);
    check = new QCheckBox("x", this);
    storno = new QPushButton("Storno", this);
    ok = new QPushButton("OK", this);
    connect(storno, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  }
  std::vector<int> previewed;
  std::function<void()> on_key;  // run by the preview of each key
  int f2 = 0;
  TValidEdit* edit;
  QLineEdit* plain;
  QCheckBox* check;
  QPushButton* storno;
  QPushButton* ok;

 protected:
  bool previewKey(QKeyEvent* event) override {
    previewed.push_back(event->key());
    if (on_key) on_key();
    if (event->key() == Qt::Key_F2) {
      ++f2;
      return true;
    }
    return false;
  }
};

class EntryDialogTest : public testing::Test {
 protected:
  void SetUp() override { ShowActive(&dialog_); }
  PreviewDialog dialog_;
};

TEST_F(EntryDialogTest, NoImplicitDefaultButton) {
  // Qt would make the first button the default; here Enter in a plain field
  // presses nothing until the window names a default.
  EXPECT_FALSE(dialog_.storno->isDefault());
  dialog_.plain->setFocus(Qt::TabFocusReason);
  QTest::keyClick(dialog_.plain, Qt::Key_Return);
  EXPECT_TRUE(dialog_.isVisible());
  QTest::keyClick(dialog_.check, Qt::Key_Return);
  EXPECT_TRUE(dialog_.isVisible());

  dialog_.setDefaultButton(dialog_.ok);
  QTest::keyClick(dialog_.plain, Qt::Key_Return);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
}

TEST_F(EntryDialogTest, EnterPressesTheFocusedButtonNotTheDefault) {
  dialog_.setDefaultButton(dialog_.ok);
  dialog_.storno->setFocus(Qt::TabFocusReason);
  QTest::keyClick(dialog_.storno, Qt::Key_Return);
  EXPECT_EQ(dialog_.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog_.isVisible());
}

TEST_F(EntryDialogTest, EscClosesAsCancelledFromAnyControl) {
  dialog_.check->setFocus(Qt::TabFocusReason);
  QTest::keyClick(dialog_.check, Qt::Key_Escape);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(dialog_.result(), QDialog::Rejected);
}

// Keys as the keyboard sends them: to the dialog's window first.
TEST_F(EntryDialogTest, KeyPreviewSeesEachKeyOnceBeforeTheControl) {
  dialog_.setKeyPreview(true);
  dialog_.edit->setFocus(Qt::TabFocusReason);
  QWindow* keyboard = dialog_.windowHandle();
  QTest::keyClick(keyboard, Qt::Key_A);
  QTest::keyClick(keyboard, Qt::Key_F2);
  QTest::keyClick(keyboard, Qt::Key_Return);  // seen as Enter, not as the Tab it becomes
  EXPECT_EQ(dialog_.previewed, (std::vector<int>{Qt::Key_A, Qt::Key_F2, Qt::Key_Return}));
  EXPECT_EQ(dialog_.f2, 1);
  EXPECT_EQ(dialog_.edit->text(), "a");
  EXPECT_TRUE(dialog_.plain->hasFocus());

  dialog_.setKeyPreview(false);
  QTest::keyClick(keyboard, Qt::Key_F2);
  EXPECT_EQ(dialog_.f2, 1);
}

// A previewed key whose handler opens and closes another window (its
// application event filter comes and goes) and leaves the key unconsumed is
// still previewed once, and reaches the control once.
TEST_F(EntryDialogTest, KeyPreviewSeesAKeyOnceWhenItsHandlerShowsAnotherWindow) {
  dialog_.setKeyPreview(true);
  dialog_.plain->setFocus(Qt::TabFocusReason);
  int typed = 0;
  QObject::connect(dialog_.plain, &QLineEdit::textEdited, [&] { ++typed; });
  dialog_.on_key = [] {
    QObject other_window;
    qApp->installEventFilter(&other_window);
    qApp->removeEventFilter(&other_window);
  };
  for (int press = 0; press < 2; ++press) QTest::keyClick(dialog_.windowHandle(), Qt::Key_B);
  EXPECT_EQ(dialog_.previewed, (std::vector<int>{Qt::Key_B, Qt::Key_B}));
  EXPECT_EQ(dialog_.plain->text(), "bb");
  EXPECT_EQ(typed, 2);
}

}  // namespace
}  // namespace controls
