// TDBValidEdit and TEnterDBDateEdit bound to the fields of a table cursor.

#include <QPushButton>
#include <QTest>

#include "controls/db_valid_edit.h"
#include "controls/enter_db_date_edit.h"
#include "controls/entry_dialog.h"
#include "controls/widget_test_support.h"
#include "dbf/data_set.h"
#include "dbf/data_source.h"
#include "support/table_builder.h"

namespace controls {
namespace {

using testing_support::FieldSpec;
using testing_support::TableBuilder;

class BoundEditTest : public FormatsFixture {
 protected:
  BoundEditTest()
      : edit_(new TDBValidEdit(&dialog_)),
        other_(new TDBValidEdit(&dialog_)),
        date_(new TEnterDBDateEdit(&dialog_)),
        button_(new QPushButton("OK", &dialog_)),
        source_(data_set_) {
    TableBuilder({{"KOD", 'C', 3}, {"NAZ", 'C', 10}, {"HOD", 'N', 6, 2}, {"DAT", 'D', 8}})
        .Record({"ABC", "Alfa", "  1.50", "20261208"})
        .Record({"XYZ", "Beta", "100.00", ""})
        .WriteTo(dir_.File("T.dbf"));
    data_set_.SetDatabaseName(dir_.path());
    data_set_.SetTableName("T.dbf");
    data_set_.Open();
    int y = 4;
    for (QWidget* w : std::initializer_list<QWidget*>{edit_, other_, date_, button_}) {
      w->setGeometry(4, y, 120, 22);
      y += 26;
    }
    edit_->setEnterIsTab(true);
    other_->setEnterIsTab(true);
  }
  void SetUp() override {
    ShowActive(&dialog_);
    button_->setFocus(Qt::TabFocusReason);
  }

  // Selects the whole text of `edit`, types `text` and leaves with Tab.
  void TypeAndLeave(QWidget* edit, const QString& text) {
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
    QCoreApplication::processEvents();  // the window is activated again after a box
  }
  std::string Field(const char* name) { return data_set_.FieldByName(name).AsString(); }

  testing_support::TempDir dir_;
  dbf::DbfDataSet data_set_;
  EntryDialog dialog_;  // after the cursor: its controls go first
  TDBValidEdit* edit_;
  TDBValidEdit* other_;
  TEnterDBDateEdit* date_;
  QPushButton* button_;
  dbf::DataSource source_;
};

TEST_F(BoundEditTest, ShowsTheCurrentRecordAndFollowsTheCursor) {
  edit_->bind(source_, "KOD");
  other_->bind(source_, "HOD");
  other_->setDisplayFormat("#,##0.00");
  EXPECT_EQ(edit_->text(), "ABC");
  EXPECT_EQ(other_->text(), "1,50");
  data_set_.Next();
  EXPECT_EQ(edit_->text(), "XYZ");
  EXPECT_EQ(other_->text(), "100,00");
  // With the focus the value is shown for editing, without the display format.
  other_->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(other_->text(), "100");
  data_set_.Close();
  EXPECT_EQ(edit_->text(), "");
}

TEST_F(BoundEditTest, DateFieldShownInItsDisplayFormat) {
  dbf::Formats().short_date_format = "d.m.yyyy";
  edit_->bind(source_, "DAT");
  EXPECT_EQ(edit_->text(), "8.12.2026");
  edit_->setDisplayFormat("dd.mm.yyyy");
  EXPECT_EQ(edit_->text(), "08.12.2026");
  data_set_.Next();
  EXPECT_EQ(edit_->text(), "");  // an empty date
}

TEST_F(BoundEditTest, CanBeTypedIntoOnlyWhileTheRecordIsEdited) {
  edit_->bind(source_, "NAZ");
  EXPECT_TRUE(edit_->isReadOnly());
  data_set_.Edit();
  EXPECT_FALSE(edit_->isReadOnly());
  data_set_.Cancel();
  EXPECT_TRUE(edit_->isReadOnly());
}

TEST_F(BoundEditTest, WritesItsFieldWhenTheFocusLeaves) {
  edit_->bind(source_, "NAZ");
  other_->bind(source_, "NAZ");
  data_set_.Edit();
  TypeAndLeave(edit_, "Gama");
  EXPECT_EQ(Field("NAZ"), "Gama");
  EXPECT_EQ(other_->text(), "Gama");  // a second edit of the field follows
  data_set_.Post();
  data_set_.Next();
  data_set_.First();
  EXPECT_EQ(edit_->text(), "Gama");
}

TEST_F(BoundEditTest, PostWritesTextTypedWithoutLeaving) {
  edit_->bind(source_, "NAZ");
  data_set_.Edit();
  edit_->setFocus(Qt::TabFocusReason);
  QTest::keyClick(edit_, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit_, "Delta");
  data_set_.Post();
  EXPECT_EQ(Field("NAZ"), "Delta");
}

TEST_F(BoundEditTest, FailedFieldWriteShowsTheEngineMessageAndKeepsTheFocus) {
  edit_->bind(source_, "HOD");
  data_set_.Edit();
  MessageBoxAnswer answer;
  TypeAndLeave(edit_, "123456");
  EXPECT_TRUE(answer.shown());
  EXPECT_TRUE(answer.text().contains("HOD")) << answer.text().toStdString();
  EXPECT_TRUE(edit_->hasFocus());
  EXPECT_EQ(data_set_.FieldByName("HOD").AsFloat(), 1.5);
}

TEST_F(BoundEditTest, DecimalCommaAndPointBecomeTheSystemSeparator) {
  edit_->bind(source_, "HOD");
  data_set_.Edit();
  edit_->setFocus(Qt::TabFocusReason);
  QTest::keyClick(edit_, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit_, "2.5");
  EXPECT_EQ(edit_->text(), "2,5");
  QTest::keyClick(edit_, Qt::Key_Tab);
  EXPECT_EQ(data_set_.FieldByName("HOD").AsFloat(), 2.5);

  dbf::Formats().decimal_separator = '.';
  TypeAndLeave(edit_, "3,25");
  EXPECT_EQ(data_set_.FieldByName("HOD").AsFloat(), 3.25);

  // A text field keeps what is typed, unless the edit is of type setFloat.
  other_->bind(source_, "NAZ");
  TypeAndLeave(other_, "1,5");
  EXPECT_EQ(Field("NAZ"), "1,5");
  other_->setEditType(TValidEditType::setFloat);
  TypeAndLeave(other_, "1,5");
  EXPECT_EQ(Field("NAZ"), "1.5");
}

TEST_F(BoundEditTest, WhenChangeValidatesOnlyAChangedText) {
  int validations = 0;
  edit_->bind(source_, "NAZ");
  edit_->setWhenValid(TWhenValid::swvWhenChange);
  edit_->setOnValid([&](QWidget*, QString&, bool&) { ++validations; });
  data_set_.Edit();
  edit_->setFocus(Qt::TabFocusReason);
  QTest::keyClick(edit_, Qt::Key_Tab);
  EXPECT_EQ(validations, 0);
  TypeAndLeave(edit_, "Alfa");  // typed, but the same as the field
  EXPECT_EQ(validations, 0);
  TypeAndLeave(edit_, "Omega");
  EXPECT_EQ(validations, 1);
  EXPECT_EQ(Field("NAZ"), "Omega");
}

TEST_F(BoundEditTest, WhenEditValidatesOnlyWhileTheRecordIsEdited) {
  int validations = 0;
  edit_->bind(source_, "NAZ");
  edit_->setWhenValid(TWhenValid::swvWhenEdit);
  edit_->setOnValid([&](QWidget*, QString&, bool&) { ++validations; });
  edit_->setFocus(Qt::TabFocusReason);
  QTest::keyClick(edit_, Qt::Key_Tab);
  EXPECT_EQ(validations, 0);
  data_set_.Edit();
  edit_->setFocus(Qt::TabFocusReason);
  QTest::keyClick(edit_, Qt::Key_Tab);
  EXPECT_EQ(validations, 1);

  edit_->setWhenValid(TWhenValid::swvNone);
  TypeAndLeave(edit_, "Nic");
  EXPECT_EQ(validations, 1);
  EXPECT_EQ(Field("NAZ"), "Nic");  // the field is updated without validation
}

TEST_F(BoundEditTest, OnValidTurnsAnInvalidTextValid) {
  edit_->bind(source_, "DAT");
  edit_->setEditType(TValidEditType::setDate);
  QString seen;
  bool seen_valid = true;
  edit_->setOnValid([&](QWidget*, QString& text, bool& valid) {
    seen = text;
    seen_valid = valid;
    text = "05.03.2026";
    valid = true;
  });
  data_set_.Edit();
  TypeAndLeave(edit_, "0503");
  EXPECT_EQ(seen, "");  // the failed completion emptied the text
  EXPECT_FALSE(seen_valid);
  EXPECT_EQ(data_set_.FieldByName("DAT").AsDateTime(), dbf::DaysFromCivil({2026, 3, 5}));
  EXPECT_FALSE(edit_->hasFocus());
}

TEST_F(BoundEditTest, DateIsCompletedFromTheUserMoment) {
  edit_->bind(source_, "DAT");
  edit_->setEditType(TValidEditType::setDate);
  edit_->setDateTimeType(TValidDateTimeType::sdtUser);
  dbf::LocalTime user;
  user.year = 2030, user.month = 1, user.day = 20;
  edit_->setUserMoment(user);
  data_set_.Edit();
  TypeAndLeave(edit_, "5");
  EXPECT_EQ(data_set_.FieldByName("DAT").AsDateTime(), dbf::DaysFromCivil({2030, 1, 5}));
  edit_->setDateTimeType(TValidDateTimeType::sdtNow);  // the pinned clock: 8.12.2026
  TypeAndLeave(edit_, "6.");
  EXPECT_EQ(data_set_.FieldByName("DAT").AsDateTime(), dbf::DaysFromCivil({2026, 12, 6}));
}

TEST_F(BoundEditTest, RefusedTextKeepsTheFocusAndRaisesOnErrorOrShowsErrorString) {
  edit_->bind(source_, "NAZ");
  edit_->setOnValid([](QWidget*, QString& text, bool& valid) {
    valid = text.size() == 3;
    if (!valid) text.clear();
  });
  data_set_.Edit();
  {
    MessageBoxAnswer answer;
    TypeAndLeave(edit_, "ab");
    EXPECT_FALSE(answer.shown());  // no OnError and no ErrorString: no box
  }
  EXPECT_TRUE(edit_->hasFocus());
  EXPECT_EQ(edit_->text(), "");
  EXPECT_EQ(Field("NAZ"), "Alfa");

  edit_->setErrorString("Neplatný kód");
  {
    MessageBoxAnswer answer;
    TypeAndLeave(edit_, "ab");
    EXPECT_EQ(answer.text(), "Neplatný kód");
  }
  int errors = 0;
  bool focus_back = false;
  edit_->setOnError([&](QWidget*) {
    ++errors;
    focus_back = edit_->hasFocus();
  });
  {
    MessageBoxAnswer answer;
    TypeAndLeave(edit_, "ab");
    EXPECT_FALSE(answer.shown());
  }
  EXPECT_EQ(errors, 1);
  EXPECT_TRUE(focus_back);
  TypeAndLeave(edit_, "abc");
  EXPECT_EQ(Field("NAZ"), "abc");
  EXPECT_FALSE(edit_->hasFocus());
}

TEST_F(BoundEditTest, PickListShownByOnValidLeavesTheFocusWhereTheOperatorSentIt) {
  edit_->bind(source_, "KOD");
  edit_->setOnValid([&](QWidget*, QString& text, bool& valid) {
    // A modal pick list, answered at once: the code "XYZ" is picked.
    MessageBoxAnswer answer;
    QMessageBox list(QMessageBox::Question, "Typy", "Vyberte", QMessageBox::Ok, &dialog_);
    list.exec();
    text = "XYZ";
    valid = true;
  });
  data_set_.Edit();
  TypeAndLeave(edit_, "X");
  EXPECT_EQ(Field("KOD"), "XYZ");
  EXPECT_TRUE(other_->hasFocus());
}

TEST_F(BoundEditTest, DisabledColourOnlyWhileDisabled) {
  const QColor base = edit_->palette().color(QPalette::Active, QPalette::Base);
  EXPECT_EQ(edit_->colorDisable(), base);
  edit_->setColorDisable(Qt::yellow);
  EXPECT_EQ(edit_->palette().color(QPalette::Disabled, QPalette::Base), QColor(Qt::yellow));
  EXPECT_EQ(edit_->palette().color(QPalette::Active, QPalette::Base), base);
}

TEST_F(BoundEditTest, DateEditShowsFollowsAndWritesItsField) {
  date_->bind(source_, "DAT");
  EXPECT_EQ(date_->date(), QDate(2026, 12, 8));
  EXPECT_EQ(date_->text(), "08.12.2026");
  data_set_.Next();
  EXPECT_EQ(date_->text(), "");  // an empty date shows blank
  data_set_.First();
  EXPECT_EQ(date_->date(), QDate(2026, 12, 8));
  EXPECT_TRUE(date_->isReadOnly());

  data_set_.Edit();
  date_->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(date_, "24.12.2026");
  QTest::keyClick(date_, Qt::Key_Return);  // Enter as Tab leaves the field
  EXPECT_TRUE(button_->hasFocus());
  EXPECT_EQ(data_set_.FieldByName("DAT").AsDateTime(), dbf::DaysFromCivil({2026, 12, 24}));

  // A date typed and not yet left is written by Post.
  date_->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(date_, "02012027");
  data_set_.Post();
  EXPECT_EQ(data_set_.FieldByName("DAT").AsDateTime(), dbf::DaysFromCivil({2027, 1, 2}));
}

TEST_F(BoundEditTest, DateCanBeTypedIntoABlankDateEditAndEmptied) {
  date_->bind(source_, "DAT");
  data_set_.Next();
  data_set_.Edit();
  date_->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(date_, "24.12.2026");
  QTest::keyClick(date_, Qt::Key_Tab);
  EXPECT_EQ(data_set_.FieldByName("DAT").AsDateTime(), dbf::DaysFromCivil({2026, 12, 24}));

  date_->setFocus(Qt::TabFocusReason);
  QTest::keyClick(date_, Qt::Key_Delete);  // the whole text is selected on entry
  QTest::keyClick(date_, Qt::Key_Tab);
  EXPECT_TRUE(data_set_.FieldByName("DAT").IsNull());
}

}  // namespace
}  // namespace controls
