#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "app/dialogs/invoice_search_dialog.h"
#include "app/dialogs_fixture.h"
#include "dbf/ansi_case.h"

namespace app {
namespace {

using testing_support::Activate;
using testing_support::Press;
using testing_support::Type;

class InvoiceSearchDialogTest : public testing_support::DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    AddInvoice("2024000123", 1000, "Novák Jaroslav");
    AddInvoice("2024000145", 500, "Šťastný Ondřej");
    GoTo("2024000123");
    dialog_ = std::make_unique<InvoiceSearchDialog>(Faktury());
    Activate(dialog_.get());
  }
  void TearDown() override { dialog_.reset(); }

  std::unique_ptr<InvoiceSearchDialog> dialog_;
};

TEST_F(InvoiceSearchDialogTest, OpensWithItsLayoutAndTheFirstChoiceFocused) {
  EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Hledej položku databáze"));
  EXPECT_EQ(dialog_->size(),
            QSize(InvoiceSearchDialog::kClientWidth, InvoiceSearchDialog::kClientHeight));
  EXPECT_EQ(dialog_->RadioButton(2)->text(),
            QStringLiteral("Hledej dle čísla objednávky odběratele "));
  EXPECT_TRUE(dialog_->RadioButton(0)->isChecked());
  EXPECT_EQ(testing_support::FocusedControl(), dialog_->RadioButton(0));
  EXPECT_FALSE(dialog_->SearchButton()->isEnabled());
  EXPECT_EQ(dialog_->SearchButton()->text(), QStringLiteral("&Hledej"));
  EXPECT_TRUE(dialog_->Edit1()->text().isEmpty());
  EXPECT_FALSE(dialog_->Edit1()->enterIsTab());
}

TEST_F(InvoiceSearchDialogTest, AShortNumberIsCompletedShownAndFound) {
  Press(Qt::Key_Return);  // from the radio button to the edit
  EXPECT_EQ(testing_support::FocusedControl(), dialog_->Edit1());
  Type("4");
  EXPECT_TRUE(dialog_->SearchButton()->isEnabled());
  Type("5");
  Press(Qt::Key_Return);
  EXPECT_EQ(dialog_->Edit1()->text(), QStringLiteral("2024000145"));
  EXPECT_EQ(Invoice("HLA_DO1"), "2024000145");
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(InvoiceSearchDialogTest, ALeadingBlankStaysInTheCompletedNumber) {
  Press(Qt::Key_Return);
  Type(" 45");
  QTest::mouseClick(dialog_->SearchButton(), Qt::LeftButton);
  EXPECT_EQ(dialog_->Edit1()->text(), QStringLiteral("20240001 45"));
  EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(InvoiceSearchDialogTest, ANameIsSoughtInUpperCaseAndItsTagStaysSelected) {
  Press(Qt::Key_Down);  // the second choice
  EXPECT_TRUE(dialog_->RadioButton(1)->isChecked());
  Press(Qt::Key_Return);
  Type(QStringLiteral("novák"));
  Press(Qt::Key_Return);
  EXPECT_EQ(controls::FromAnsi(dbf::AnsiUpperCase(Invoice("HLA_NAC"))).left(5),
            QStringLiteral("NOVÁK"));
  EXPECT_EQ(Faktury().index_name(), "NAC");
}

TEST_F(InvoiceSearchDialogTest, EscClosesWithoutSearching) {
  Press(Qt::Key_Return);
  Type("45");
  Press(Qt::Key_Escape);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->result(), QDialog::Rejected);
  EXPECT_EQ(Invoice("HLA_DO1"), "2024000123");
  EXPECT_EQ(Faktury().index_name(), "DO1");
}

TEST_F(InvoiceSearchDialogTest, StornoAbortsWithoutSearching) {
  Press(Qt::Key_Down);
  Press(Qt::Key_Down);
  Press(Qt::Key_Return);
  Type("OBJ");
  QTest::mouseClick(dialog_->CancelButton(), Qt::LeftButton);
  EXPECT_EQ(dialog_->result(), InvoiceSearchDialog::kAbort);
  EXPECT_EQ(Faktury().index_name(), "DO1");
  EXPECT_EQ(Invoice("HLA_DO1"), "2024000123");
}

TEST_F(InvoiceSearchDialogTest, EachShowStartsAfresh) {
  Press(Qt::Key_Down);
  Press(Qt::Key_Return);
  Type("abc");
  Press(Qt::Key_Escape);
  Activate(dialog_.get());
  EXPECT_TRUE(dialog_->RadioButton(0)->isChecked());
  EXPECT_TRUE(dialog_->Edit1()->text().isEmpty());
  EXPECT_FALSE(dialog_->SearchButton()->isEnabled());
  EXPECT_EQ(testing_support::FocusedControl(), dialog_->RadioButton(0));
}

TEST_F(InvoiceSearchDialogTest, ATableErrorGoesToTheErrorDisplayAndTheDialogCloses) {
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
