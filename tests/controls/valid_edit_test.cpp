// TValidEdit and TVEdit: typing rules, the test and formatting on leaving,
// placeholders, the side button and the aligned look.

#include <QPushButton>
#include <QStyle>
#include <QTest>

#include "controls/entry_dialog.h"
#include "controls/v_edit.h"
#include "controls/valid_edit.h"
#include "controls/widget_test_support.h"

namespace controls {
namespace {

class ValidEditTest : public FormatsFixture {
 protected:
  ValidEditTest()
      : edit_(new TValidEdit(&dialog_)),
        v_edit_(new TVEdit(&dialog_)),
        next_(new QPushButton("OK", &dialog_)) {
    edit_->setGeometry(4, 4, 120, 22);
    v_edit_->setGeometry(4, 30, 120, 22);
    next_->setGeometry(4, 56, 60, 24);
  }
  void SetUp() override { ShowActive(&dialog_); }

  // Types into `edit` from the start and leaves it with Tab.
  void TypeAndLeave(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::TabFocusReason);
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
    QCoreApplication::processEvents();  // the window is activated again after a box
  }

  EntryDialog dialog_;
  TValidEdit* edit_;
  TVEdit* v_edit_;
  QPushButton* next_;
};

TEST_F(ValidEditTest, ImpossibleDateIsRefusedWithTheMessageAndTheFocusStays) {
  edit_->setEditType(TEditType::ttDate);
  MessageBoxAnswer answer;
  TypeAndLeave(edit_, "31.2.2026");
  EXPECT_TRUE(answer.shown());
  EXPECT_EQ(answer.text(), " Chybný formát dat ");
  EXPECT_EQ(answer.icon(), QMessageBox::Critical);
  EXPECT_TRUE(edit_->hasFocus());
  EXPECT_EQ(edit_->text(), "31.2.2026");  // completion keeps a full date
}

TEST_F(ValidEditTest, RefusedExitRaisesNoTabExit) {
  int exits = 0;
  edit_->setEditType(TEditType::ttInteger);
  edit_->setOnTabExit([&](QWidget*, Qt::KeyboardModifiers) { ++exits; });
  {
    MessageBoxAnswer answer;
    TypeAndLeave(edit_, "1-2");
    EXPECT_TRUE(answer.shown());
  }
  EXPECT_EQ(exits, 0);
  edit_->clear();
  QTest::keyClicks(edit_, "-12");
  QTest::keyClick(edit_, Qt::Key_Tab);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(edit_->text(), "-12");
  EXPECT_TRUE(next_->hasFocus() || v_edit_->hasFocus());
}

TEST_F(ValidEditTest, DatesAndTimesAreCompletedFromNowOnLeaving) {
  edit_->setEditType(TEditType::ttDate);
  TypeAndLeave(edit_, "5.3");
  EXPECT_EQ(edit_->text(), "5.3.2026");
  TypeAndLeave(edit_, "24");
  EXPECT_EQ(edit_->text(), "24.12.2026");

  // A time completes from the start of today.
  edit_->setEditType(TEditType::ttTime);
  TypeAndLeave(edit_, "9");
  EXPECT_EQ(edit_->text(), "9:00:00");
  MessageBoxAnswer answer;
  TypeAndLeave(edit_, "25:10");
  EXPECT_TRUE(answer.shown());
  EXPECT_TRUE(edit_->hasFocus());
}

TEST_F(ValidEditTest, VEditTestsDatesAsTyped) {
  v_edit_->setEditType(TEditType::ttDate);
  TypeAndLeave(v_edit_, "5.3.2026");
  EXPECT_EQ(v_edit_->text(), "5.3.2026");
  MessageBoxAnswer answer;
  TypeAndLeave(v_edit_, "5");
  EXPECT_TRUE(answer.shown());
  EXPECT_TRUE(v_edit_->hasFocus());
  EXPECT_EQ(v_edit_->text(), "5");
}

TEST_F(ValidEditTest, BlankDatePlaceholder) {
  edit_->setEditType(TEditType::ttDate);
  edit_->setBlankDate("  .  .    ");
  EXPECT_EQ(edit_->text(), "  .  .    ");
  edit_->setBlankDate("--");  // the old placeholder is replaced
  EXPECT_EQ(edit_->text(), "--");
  TypeAndLeave(edit_, "");
  EXPECT_EQ(edit_->text(), "--");
  // A typed date is not replaced by a new placeholder.
  TypeAndLeave(edit_, "1.1.2026");
  edit_->setBlankDate("..");
  EXPECT_EQ(edit_->text(), "1.1.2026");
}

TEST_F(ValidEditTest, NumberTypesAcceptOnlyNumberCharacters) {
  edit_->setEditType(TEditType::ttFloat);
  edit_->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(edit_, "1a2.5x,");
  // Letters dropped; "." and "," become the decimal separator ",".
  EXPECT_EQ(edit_->text(), "12,5,");

  edit_->setEditType(TEditType::ttString);
  edit_->clear();
  QTest::keyClicks(edit_, "1a.");
  EXPECT_EQ(edit_->text(), "1a.");
}

TEST_F(ValidEditTest, VEditConvertsTheCommaOnlyWhenAsked) {
  v_edit_->setEditType(TEditType::ttFloat);
  v_edit_->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(v_edit_, "1,5a");
  EXPECT_EQ(v_edit_->text(), "1,5a");  // TVEdit filters nothing
  v_edit_->clear();
  v_edit_->setConvertDecimalSymbol(true);
  QTest::keyClicks(v_edit_, "1,5");
  EXPECT_EQ(v_edit_->text(), "1.5");
  v_edit_->setEditType(TEditType::ttString);
  v_edit_->clear();
  QTest::keyClicks(v_edit_, "1,5");
  EXPECT_EQ(v_edit_->text(), "1,5");
}

TEST_F(ValidEditTest, FloatIsRewrittenInFixedNotation) {
  v_edit_->setEditType(TEditType::ttFloat);
  TypeAndLeave(v_edit_, "1234.5678");  // precision 0: no test, no formatting
  EXPECT_EQ(v_edit_->text(), "1234.5678");
  v_edit_->setFloatPrecision(6);
  v_edit_->setFloatDigits(2);
  TypeAndLeave(v_edit_, "1234.5678");
  EXPECT_EQ(v_edit_->text(), "1234,57");
  MessageBoxAnswer answer;
  TypeAndLeave(v_edit_, "12x");
  EXPECT_TRUE(answer.shown());
}

TEST_F(ValidEditTest, EnteringSelectsAllText) {
  edit_->setText("abc");
  next_->setFocus(Qt::TabFocusReason);
  edit_->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(edit_->selectedText(), "abc");
  next_->setFocus(Qt::TabFocusReason);
  edit_->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(edit_->selectedText(), "abc");
}

TEST_F(ValidEditTest, SideButtonWidthRulesAndClick) {
  EXPECT_FALSE(edit_->buttonVisible());
  EXPECT_EQ(edit_->buttonWidth(), 15);
  EXPECT_EQ(edit_->textMargins().right(), 4);  // 4 pixels before the right edge

  int clicks = 0;
  edit_->setOnClickButton([&](QWidget* sender) {
    EXPECT_EQ(sender, edit_);
    ++clicks;
  });
  edit_->setButtonVisible(true);
  SideButton* button = edit_->sideButton();
  EXPECT_TRUE(button->isVisible());
  EXPECT_EQ(button->geometry(), QRect(120 - 15, 0, 15, 22));
  EXPECT_EQ(edit_->textMargins().right(), 15 + 4);
  EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor);

  edit_->setButtonWidth(20);
  EXPECT_EQ(button->width(), 20);
  edit_->setButtonWidth(3);
  EXPECT_EQ(button->width(), 15);
  edit_->setButtonWidth(500);
  EXPECT_EQ(button->width(), 120);

  edit_->setButtonWidth(20);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button->hasFocus());
}

TEST_F(ValidEditTest, AlignedLookOnlyWithoutTheFocus) {
  v_edit_->setAlignment(Qt::AlignRight);
  EXPECT_TRUE(v_edit_->QLineEdit::alignment() & Qt::AlignRight);
  EXPECT_EQ(v_edit_->textMargins().right(), 1);
  v_edit_->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(v_edit_->QLineEdit::alignment() & Qt::AlignLeft);
  QTest::keyClick(v_edit_, Qt::Key_Tab);
  EXPECT_TRUE(v_edit_->QLineEdit::alignment() & Qt::AlignRight);
}

TEST_F(ValidEditTest, PasswordCharacter) {
  edit_->setPasswordChar(u'*');
  EXPECT_EQ(edit_->echoMode(), QLineEdit::Password);
  EXPECT_EQ(edit_->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit_), u'*');
}

}  // namespace
}  // namespace controls
