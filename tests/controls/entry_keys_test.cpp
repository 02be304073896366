// The family's keyboard inside a dialog: Enter as Tab, tab exits, Space,
// and the dialog keys Esc and Enter.

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "controls/db_valid_edit.h"
#include "controls/enter_date_edit.h"
#include "controls/entry_dialog.h"
#include "controls/v_edit.h"
#include "controls/valid_combo_box.h"
#include "controls/valid_edit.h"
#include "controls/widget_test_support.h"

namespace controls {
namespace {

// One control of each kind in tab order, then "Storno" and "OK".
class SmallDialog : public EntryDialog {
 public:
  SmallDialog()
      : valid_edit(new TValidEdit(this)),
        v_edit(new TVEdit(this)),
        combo(new TValidComboBox(this)),
        date_edit(new TEnterDateEdit(this)),
        db_edit(new TDBValidEdit(this)),
        cancel(new QPushButton("Storno", this)),
        ok(new QPushButton("OK", this)) {
    combo->addItems({"A", "B"});
    db_edit->setEnterIsTab(true);
    int y = 4;
    for (QWidget* w : std::vector<QWidget*>{valid_edit, v_edit, combo, date_edit, db_edit}) {
      w->setGeometry(4, y, 150, 22);
      y += 26;
    }
    cancel->setGeometry(4, y, 70, 24);
    ok->setGeometry(80, y, 70, 24);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  }
  TValidEdit* valid_edit;
  TVEdit* v_edit;
  TValidComboBox* combo;
  TEnterDateEdit* date_edit;
  TDBValidEdit* db_edit;
  QPushButton* cancel;
  QPushButton* ok;
};

class EntryKeysTest : public FormatsFixture {
 protected:
  void SetUp() override {
    ShowActive(&dialog_);
    dialog_.valid_edit->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(dialog_.valid_edit->hasFocus());
  }
  SmallDialog dialog_;
};

TEST_F(EntryKeysTest, EnterMovesThroughEveryFieldAndStopsOnTheFirstButton) {
  const std::vector<QWidget*> order = {dialog_.v_edit, dialog_.combo, dialog_.date_edit,
                                       dialog_.db_edit, dialog_.cancel};
  for (QWidget* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->metaObject()->className();
  }
  // Reaching "Storno" did not press it; the dialog is still open.
  EXPECT_TRUE(dialog_.isVisible());
  EXPECT_EQ(dialog_.result(), 0);
  // A further Enter presses the focused button.
  QTest::keyClick(dialog_.cancel, Qt::Key_Return);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(dialog_.result(), QDialog::Rejected);
}

TEST_F(EntryKeysTest, ShiftEnterMovesBackwards) {
  dialog_.combo->setFocus(Qt::TabFocusReason);
  QTest::keyClick(dialog_.combo, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), dialog_.v_edit);
}

TEST_F(EntryKeysTest, OnTabExitIsRaisedAfterTheFocusLeftWithTheShiftState) {
  struct Exit {
    QWidget* sender;
    Qt::KeyboardModifiers shift;
    QWidget* focus_then;
  };
  std::vector<Exit> exits;
  auto record = [&](QWidget* sender, Qt::KeyboardModifiers shift) {
    exits.push_back({sender, shift, QApplication::focusWidget()});
  };
  dialog_.v_edit->setOnTabExit(record);
  dialog_.combo->setOnTabExit(record);
  dialog_.date_edit->setOnTabExit(record);

  dialog_.v_edit->setFocus(Qt::TabFocusReason);
  QTest::keyClick(dialog_.v_edit, Qt::Key_Tab);
  QTest::keyClick(dialog_.combo, Qt::Key_Backtab, Qt::ShiftModifier);
  QTest::keyClick(dialog_.v_edit, Qt::Key_Return);  // Enter counts as Tab
  QTest::keyClick(dialog_.combo, Qt::Key_Return, Qt::ShiftModifier);

  ASSERT_EQ(exits.size(), 4u);
  EXPECT_EQ(exits[0].sender, dialog_.v_edit);
  EXPECT_EQ(exits[0].focus_then, dialog_.combo);
  EXPECT_FALSE(exits[0].shift & Qt::ShiftModifier);
  EXPECT_EQ(exits[1].sender, dialog_.combo);
  EXPECT_EQ(exits[1].focus_then, dialog_.v_edit);
  EXPECT_TRUE(exits[1].shift & Qt::ShiftModifier);
  EXPECT_EQ(exits[2].focus_then, dialog_.combo);
  EXPECT_TRUE(exits[3].shift & Qt::ShiftModifier);

  // Leaving by the mouse (or any other way) is no tab exit.
  dialog_.date_edit->setFocus(Qt::MouseFocusReason);
  dialog_.db_edit->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(exits.size(), 4u);
}

TEST_F(EntryKeysTest, TabLeavesTheDateEditInsteadOfSteppingThroughItsSections) {
  dialog_.date_edit->setFocus(Qt::TabFocusReason);
  QTest::keyClick(dialog_.date_edit, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), dialog_.db_edit);
}

TEST_F(EntryKeysTest, DateEditTurnsEnterIntoTabOnlyWhileItsCalendarIsClosed) {
  dialog_.date_edit->setFocus(Qt::TabFocusReason);
  TEnterDateEdit* edit = dialog_.date_edit;
  QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 6, edit->height() / 2));
  ASSERT_TRUE(dialog_.date_edit->calendarOpen());
  QTest::keyClick(dialog_.date_edit, Qt::Key_Return);
  EXPECT_NE(QApplication::focusWidget(), dialog_.db_edit);
  dialog_.date_edit->calendarWidget()->window()->hide();
}

TEST_F(EntryKeysTest, SpaceCallsOnClickSpaceInsteadOfTypingABlank) {
  int clicks = 0;
  dialog_.valid_edit->setOnClickSpace([&](QWidget* sender) {
    EXPECT_EQ(sender, dialog_.valid_edit);
    ++clicks;
  });
  QTest::keyClicks(dialog_.valid_edit, "a b");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(dialog_.valid_edit->text(), "ab");

  // Without a handler the blank is typed.
  dialog_.v_edit->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(dialog_.v_edit, "a b");
  EXPECT_EQ(dialog_.v_edit->text(), "a b");

  // The combo box does not open its list on Space while a handler is set.
  int combo_clicks = 0;
  dialog_.combo->setOnClickSpace([&](QWidget*) { ++combo_clicks; });
  dialog_.combo->setFocus(Qt::TabFocusReason);
  QTest::keyClick(dialog_.combo, Qt::Key_Space);
  EXPECT_EQ(combo_clicks, 1);
  EXPECT_FALSE(dialog_.combo->view()->isVisible());
}

TEST_F(EntryKeysTest, VEditWithoutEnterIsTabKeepsEnterForItself) {
  dialog_.setDefaultButton(dialog_.ok);
  dialog_.v_edit->setEnterIsTab(false);
  dialog_.v_edit->setFocus(Qt::TabFocusReason);
  QSignalSpy returns(dialog_.v_edit, &QLineEdit::returnPressed);
  QTest::keyClick(dialog_.v_edit, Qt::Key_Return);
  EXPECT_EQ(returns.count(), 1);
  EXPECT_TRUE(dialog_.v_edit->hasFocus());
  EXPECT_TRUE(dialog_.isVisible()) << "the default button must not react";
}

TEST_F(EntryKeysTest, ValidEditWithoutEnterIsTabHandsEnterToTheDefaultButton) {
  dialog_.valid_edit->setEnterIsTab(false);
  // No default button named: Enter does nothing (no implicit default).
  QTest::keyClick(dialog_.valid_edit, Qt::Key_Return);
  EXPECT_TRUE(dialog_.isVisible());
  EXPECT_TRUE(dialog_.valid_edit->hasFocus());

  dialog_.setDefaultButton(dialog_.ok);
  QTest::keyClick(dialog_.valid_edit, Qt::Key_Return);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(dialog_.result(), QDialog::Accepted);
}

TEST_F(EntryKeysTest, EscInAnEditClosesTheDialogAsCancelled) {
  QTest::keyClicks(dialog_.valid_edit, "x");
  QTest::keyClick(dialog_.valid_edit, Qt::Key_Escape);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(dialog_.result(), QDialog::Rejected);
}

TEST_F(EntryKeysTest, EscInTheBoundEditClosesTheDialogAsCancelled) {
  dialog_.db_edit->setFocus(Qt::TabFocusReason);
  QTest::keyClick(dialog_.db_edit, Qt::Key_Escape);
  EXPECT_FALSE(dialog_.isVisible());
  EXPECT_EQ(dialog_.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace controls
