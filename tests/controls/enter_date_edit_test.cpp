// TEnterDateEdit: dates typed the way clerks type them, every key staying in
// the edit until Enter or Tab leaves it.

#include "controls/enter_date_edit.h"

#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include "controls/entry_dialog.h"
#include "controls/widget_test_support.h"

namespace controls {
namespace {

struct TypedDateCase {
  const char* name;
  const char* typed;
  QDate date;  // null: no date
};

class DateFromTypedTextTest : public FormatsFixture,
                              public testing::WithParamInterface<TypedDateCase> {};

// Today is 8 December 2026.
TEST_P(DateFromTypedTextTest, ReadsTheDate) {
  const TypedDateCase& c = GetParam();
  const std::optional<QDate> date = DateFromTypedText(QString::fromUtf8(c.typed), dbf::Now());
  EXPECT_EQ(date.value_or(QDate()), c.date);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateFromTypedTextTest,
    testing::Values(TypedDateCase{"Full", "15.03.2025", QDate(2025, 3, 15)},
                    TypedDateCase{"OneDigitDayAndMonth", "1.6.2025", QDate(2025, 6, 1)},
                    TypedDateCase{"EightDigits", "15032025", QDate(2025, 3, 15)},
                    TypedDateCase{"SixDigits", "050326", QDate(2026, 3, 5)},
                    TypedDateCase{"OtherSeparators", "1-6/2025", QDate(2025, 6, 1)},
                    TypedDateCase{"TwoDigitYear", "15.3.25", QDate(2025, 3, 15)},
                    TypedDateCase{"DayOnly", "5", QDate(2026, 12, 5)},
                    TypedDateCase{"DayAndMonth", "5.3", QDate(2026, 3, 5)},
                    TypedDateCase{"DayAndSeparator", "15.", QDate(2026, 12, 15)},
                    TypedDateCase{"Blanks", " 15.03.2025 ", QDate(2025, 3, 15)},
                    TypedDateCase{"NoSuchDay", "31.02.2025", QDate()},
                    TypedDateCase{"NoSuchMonth", "1.13.2025", QDate()},
                    TypedDateCase{"FourDigits", "0503", QDate()},
                    TypedDateCase{"DoubleSeparator", "5..3", QDate()},
                    TypedDateCase{"Empty", "", QDate()}),
    [](const auto& info) { return std::string(info.param.name); });

// A dialog with the date edit between two other fields.
class DateDialog : public EntryDialog {
 public:
  DateDialog()
      : before(new QLineEdit(this)), date(new TEnterDateEdit(this)), after(new QLineEdit(this)) {
    before->setGeometry(4, 4, 100, 22);
    date->setGeometry(4, 30, 100, 22);
    after->setGeometry(4, 56, 100, 22);
  }
  QLineEdit* before;
  TEnterDateEdit* date;
  QLineEdit* after;
};

class EnterDateEditTest : public FormatsFixture {
 protected:
  void SetUp() override {
    ShowActive(&dialog_);
    dialog_.date->setFocus(Qt::TabFocusReason);
  }
  // Types as the keyboard does, through the window; the focus must stay in
  // the date edit after every key.
  void Type(const QString& text) {
    for (const QChar c : text) {
      QTest::keyClick(dialog_.windowHandle(), c.toLatin1());
      ASSERT_TRUE(dialog_.date->hasFocus()) << "after " << c.toLatin1();
    }
  }
  void Press(Qt::Key key) { QTest::keyClick(dialog_.windowHandle(), key); }

  DateDialog dialog_;
};

TEST_F(EnterDateEditTest, TypedDatesReplaceTheShownOneAndEnterLeaves) {
  struct Typing {
    const char* keys;
    const char* shown;  // while typing
    QDate date;
  };
  const Typing typings[] = {{"15.03.2025", "15.03.2025", QDate(2025, 3, 15)},
                            {"15032025", "15.03.2025", QDate(2025, 3, 15)},
                            {"1.6.2025", "1.6.2025", QDate(2025, 6, 1)},
                            {"01062025", "01.06.2025", QDate(2025, 6, 1)},
                            {"1,6,2025", "1.6.2025", QDate(2025, 6, 1)},
                            {"24", "24", QDate(2026, 12, 24)}};
  for (const Typing& typing : typings) {
    SCOPED_TRACE(typing.keys);
    dialog_.date->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(dialog_.date->selectedText(), dialog_.date->text());
    Type(typing.keys);
    EXPECT_EQ(dialog_.date->text(), typing.shown);
    Press(Qt::Key_Return);
    EXPECT_TRUE(dialog_.after->hasFocus());
    EXPECT_EQ(dialog_.date->date(), typing.date);
    EXPECT_EQ(dialog_.date->text(), typing.date.toString("dd.MM.yyyy"));
  }
}

TEST_F(EnterDateEditTest, LettersAndExtraDigitsStayOutAndTabLeaves) {
  Type("1x5.0a3.2025");
  Type("9");  // the year is complete
  EXPECT_EQ(dialog_.date->text(), "15.03.2025");
  Press(Qt::Key_Tab);
  EXPECT_TRUE(dialog_.after->hasFocus());
  EXPECT_EQ(dialog_.date->date(), QDate(2025, 3, 15));
}

TEST_F(EnterDateEditTest, ATextThatIsNoDateKeepsTheFocusAndTheDate) {
  const QDate before = dialog_.date->date();
  Type("31.02.2025");
  MessageBoxAnswer answer;
  Press(Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_TRUE(answer.shown());
  EXPECT_EQ(answer.text(), " Chybný formát dat ");
  EXPECT_TRUE(dialog_.date->hasFocus());
  EXPECT_EQ(dialog_.date->date(), before);
  // A blank date edit is no date either.
  Press(Qt::Key_Delete);
  MessageBoxAnswer second;
  Press(Qt::Key_Tab);
  QCoreApplication::processEvents();
  EXPECT_TRUE(second.shown());
  EXPECT_TRUE(dialog_.date->hasFocus());
}

TEST_F(EnterDateEditTest, TheCalendarPicksADate) {
  dialog_.date->setDate(QDate(2026, 12, 8));
  Press(Qt::Key_F4);
  ASSERT_TRUE(dialog_.date->calendarOpen());
  emit dialog_.date->calendarWidget()->activated(QDate(2026, 12, 31));
  EXPECT_FALSE(dialog_.date->calendarOpen());
  EXPECT_EQ(dialog_.date->date(), QDate(2026, 12, 31));
  EXPECT_TRUE(dialog_.date->hasFocus());
}

}  // namespace
}  // namespace controls
