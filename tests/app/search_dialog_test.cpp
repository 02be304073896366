#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "app/dialogs/fak_hle.h"
#include "app/dialogs_fixture.h"
#include "dbf/ansi_case.h"

namespace app {
namespace {

using testing_support::Activate;
using testing_support::Press;
using testing_support::Type;

class SearchDialogTest : public testing_support::DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    AddInvoice("2024000123", 1000, "Novák Jaroslav");
    AddInvoice("2024000145", 500, "Šťastný Ondřej");
    GoTo("2024000123");
    dialog_ = std::make_unique<TFakHle>(Faktury());
    Activate(dialog_.get());
  }
  void TearDown() override { dialog_.reset(); }

  std::unique_ptr<TFakHle> dialog_;
};

TEST_F(SearchDialogTest, OpensWithItsLayoutAndTheFirstChoiceFocused) {
  EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Hledej položku databáze"));
  EXPECT_EQ(dialog_->size(), QSize(TFakHle::kClientWidth, TFakHle::kClientHeight));
  EXPECT_EQ(dialog_->RadioButton(2)->text(),
            QStringLiteral("Hledej dle čísla objednávky odběratele "));
  EXPECT_TRUE(dialog_->RadioButton(0)->isChecked());
  EXPECT_EQ(testing_support::FocusedControl(), dialog_->RadioButton(0));
  EXPECT_FALSE(dialog_->BitBtn1()->isEnabled());
  EXPECT_EQ(dialog_->BitBtn1()->text(), QStringLiteral("&Hledej"));
  EXPECT_TRUE(dialog_->Edit1()->text().isEmpty());
  EXPECT_FALSE(dialog_->Edit1()->enterIsTab());
}

TEST_F(SearchDialogTest, AShortNumberIsCompletedShownAndFound) {
  Press(Qt::Key_Return);  // from the radio button to the edit
  EXPECT_EQ(testing_support::FocusedControl(), dialog_->Edit1());
  Type("4");
  EXPECT_TRUE(dialog_->BitBtn1()->isEnabled());
  Type("5");
  Press(Qt::Key_Return);
  EXPECT_EQ(dialog_->Edit1()->text(), QStringLiteral("2024000145"));
  EXPECT_EQ(Invoice("HLA_DO1"), "2024000145");
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(SearchDialogTest, ALeadingBlankStaysInTheCompletedNumber) {
  Press(Qt::Key_Return);
  Type(" 45");
  QTest::mouseClick(dialog_->BitBtn1(), Qt::LeftButton);
  EXPECT_EQ(dialog_->Edit1()->text(), QStringLiteral("20240001 45"));
  EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(SearchDialogTest, ANameIsSoughtInUpperCaseAndItsTagStaysSelected) {
  Press(Qt::Key_Down);  // the second choice
  EXPECT_TRUE(dialog_->RadioButton(1)->isChecked());
  Press(Qt::Key_Return);
  Type(QStringLiteral("novák"));
  Press(Qt::Key_Return);
  EXPECT_EQ(controls::FromAnsi(dbf::AnsiUpperCase(Invoice("HLA_NAC"))).left(5),
            QStringLiteral("NOVÁK"));
  EXPECT_EQ(Faktury().index_name(), "NAC");
}

TEST_F(SearchDialogTest, EscClosesWithoutSearching) {
  Press(Qt::Key_Return);
  Type("45");
  Press(Qt::Key_Escape);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->result(), QDialog::Rejected);
  EXPECT_EQ(Invoice("HLA_DO1"), "2024000123");
  EXPECT_EQ(Faktury().index_name(), "DO1");
}

TEST_F(SearchDialogTest, StornoAbortsWithoutSearching) {
  Press(Qt::Key_Down);
  Press(Qt::Key_Down);
  Press(Qt::Key_Return);
  Type("OBJ");
  QTest::mouseClick(dialog_->BitBtn2(), Qt::LeftButton);
  EXPECT_EQ(dialog_->result(), TFakHle::kAbort);
  EXPECT_EQ(Faktury().index_name(), "DO1");
  EXPECT_EQ(Invoice("HLA_DO1"), "2024000123");
}

TEST_F(SearchDialogTest, EachShowStartsAfresh) {
  Press(Qt::Key_Down);
  Press(Qt::Key_Return);
  Type("abc");
  Press(Qt::Key_Escape);
  Activate(dialog_.get());
  EXPECT_TRUE(dialog_->RadioButton(0)->isChecked());
  EXPECT_TRUE(dialog_->Edit1()->text().isEmpty());
  EXPECT_FALSE(dialog_->BitBtn1()->isEnabled());
  EXPECT_EQ(testing_support::FocusedControl(), dialog_->RadioButton(0));
}

TEST_F(SearchDialogTest, ATableErrorGoesToTheErrorDisplayAndTheDialogCloses) {
  Faktury().CloseIndexFile(Module().FakturyIndexFile());
  testing_support::ModalScript script;
  script.ThenMessage();
  Press(Qt::Key_Return);
  Type("45");
  Press(Qt::Key_Return);
  ASSERT_EQ(script.messages.size(), 1u);
  EXPECT_EQ(script.messages[0], "Cannot find index tag DO1");
  EXPECT_FALSE(dialog_->isVisible());
}

}  // namespace
}  // namespace app
