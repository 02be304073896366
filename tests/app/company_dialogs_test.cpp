#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include "app/dialogs/company_header_dialog.h"
#include "app/dialogs/dialog_commands.h"
#include "app/dialogs/system_settings_dialog.h"
#include "app/dialogs_fixture.h"
#include "dbf/format_settings.h"
#include "dbf/process_test_support.h"
#include "store/record_locked_elsewhere.h"

namespace app {
namespace {

using testing_support::Activate;
using testing_support::ModalScript;
using testing_support::Press;
using testing_support::Type;

class CompanyHeaderTest : public testing_support::DialogTest {
 protected:
  std::string Company(const char* field) {
    dbf::DbfDataSet& vlastnik = Module().Vlastnik();
    vlastnik.Open();
    vlastnik.First();
    std::string value = vlastnik.FieldByName(field).AsString();
    vlastnik.Close();
    return value;
  }
};

TEST_F(CompanyHeaderTest, OpensWithItsRowsAndTheFocusOnTheFirst) {
  const std::string name = Company("VLA_FIR");
  ModalScript script;
  script.Then<CompanyHeaderDialog>([&](CompanyHeaderDialog* form) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Hlavička firmy"));
    EXPECT_EQ(form->size(),
              QSize(CompanyHeaderDialog::kClientWidth, CompanyHeaderDialog::kClientHeight));
    EXPECT_EQ(testing_support::FocusedControl(), form->Row(1));
    EXPECT_EQ(form->Row(1)->text(), controls::FromAnsi(name));
    EXPECT_EQ(form->Row(1)->selectedText(), controls::FromAnsi(name)) << "typing must replace it";
    EXPECT_EQ(form->Row(10)->maxLength(), 60);
    EXPECT_EQ(form->Row(5)->maxLength(), 6);
    EXPECT_EQ(Module().Vlastnik().state(), dbf::DataSetState::kEdit);
    Press(Qt::Key_Escape);
  });
  RunCompanyHeader(nullptr, Module());
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_FALSE(Module().Vlastnik().active());
}

TEST_F(CompanyHeaderTest, TypingInRowTwoShowsInRowSixAtOnce) {
  ModalScript script;
  script.Then<CompanyHeaderDialog>([&](CompanyHeaderDialog* form) {
    Press(Qt::Key_Return);
    EXPECT_EQ(testing_support::FocusedControl(), form->Row(2));
    Type(QStringLiteral("Pobočka Brno"));
    EXPECT_EQ(form->Row(6)->text(), QStringLiteral("Pobočka Brno"));
    for (int row = 2; row < 6; ++row) Press(Qt::Key_Return);
    EXPECT_EQ(testing_support::FocusedControl(), form->Row(6));
    Press(Qt::Key_End);
    Type(QStringLiteral("-sever"));
    EXPECT_EQ(form->Row(2)->text(), QStringLiteral("Pobočka Brno-sever"));
    QTest::mouseClick(form->SaveButton(), Qt::LeftButton);
  });
  RunCompanyHeader(nullptr, Module());
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(controls::FromAnsi(Company("VLA_NAC")), QStringLiteral("Pobočka Brno-sever"));
}

TEST_F(CompanyHeaderTest, EnterInTheLastRowMovesToStornoAndAnotherEnterCancels) {
  const std::string before = Company("VLA_ZAP");
  ModalScript script;
  script.Then<CompanyHeaderDialog>([&](CompanyHeaderDialog* form) {
    for (int row = 1; row < 10; ++row) Press(Qt::Key_Return);
    EXPECT_EQ(testing_support::FocusedControl(), form->Row(10));
    Type("OR Brno C 123");
    Press(Qt::Key_Return);
    EXPECT_EQ(testing_support::FocusedControl(), form->CancelButton());
    Press(Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
  });
  RunCompanyHeader(nullptr, Module());
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(Company("VLA_ZAP"), before);
}

TEST_F(CompanyHeaderTest, ARecordLockedElsewhereShowsTheEngineErrorAndNoDialog) {
  const std::string data_dir = layout_.data_dir;
  const std::string dir = dir_.path();
  testing_support::RecordLockedElsewhere holder(dir, data_dir, "Vlastnik", [](store::TData& other) {
    other.Vlastnik().Open();
    other.Vlastnik().First();
    return true;
  });
  ASSERT_TRUE(holder.locked());
  ModalScript script;
  script.ThenMessage();
  RunCompanyHeader(nullptr, Module());
  holder.Release();
  EXPECT_EQ(script.unexpected, 0);
  ASSERT_EQ(script.messages.size(), 1u);
  EXPECT_FALSE(script.messages[0].empty());
  EXPECT_FALSE(Module().Vlastnik().active());
}

class SystemSettingsTest : public testing_support::DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    saved_formats_ = dbf::Formats();
    Module().settings.ProgramDir = dir_.path();
    Module().settings.HlavniTiskarna = 1;
    Module().settings.ParagonovaTiskarna = 1;
    settings_text_ = dir_.ReadFile("Korvana.ini");
    ASSERT_FALSE(settings_text_.empty());
  }
  void TearDown() override { dbf::Formats() = saved_formats_; }
  std::string CisFal() {
    dbf::DbfDataSet& ciselnik = Module().Ciselnik();
    ciselnik.Open();
    std::string value = ciselnik.FieldByName("CIS_FAL").AsString();
    ciselnik.Close();
    return value;
  }
  // Goes to the numbering tab's field and types `text` over its value.
  static void TypeCisFal(SystemSettingsDialog* dialog, const QString& text) {
    dialog->PageControl1()->setCurrentIndex(1);
    dialog->CisFalEdit()->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(testing_support::FocusedControl(), dialog->CisFalEdit());
    dialog->CisFalEdit()->selectAll();
    Type(text);
  }

  dbf::FormatSettings saved_formats_;
  std::string settings_text_;
  // Names in code page 1250, as the printer list gives them.
  store::FixedPrinterList one_printer_{{controls::ToAnsi(QStringLiteral("Laser v kanceláři"))}};
  store::FixedPrinterList three_printers_{
      {"PDF", "Laser", controls::ToAnsi(QStringLiteral("Jehličková"))}};
};

TEST_F(SystemSettingsTest, ListsThePrintersInOrderAndSelectsTheMainOne) {
  Module().settings.HlavniTiskarna = 2;
  ModalScript script;
  script.Then<SystemSettingsDialog>([&](SystemSettingsDialog* dialog) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Nastavení systémových parametrů"));
    EXPECT_EQ(dialog->size(),
              QSize(SystemSettingsDialog::kClientWidth, SystemSettingsDialog::kClientHeight));
    EXPECT_EQ(dialog->PageControl1()->tabText(0), QStringLiteral("Tiskárny"));
    EXPECT_EQ(dialog->PageControl1()->tabText(1), QStringLiteral("Číslování dokladů"));
    EXPECT_EQ(dialog->PageControl1()->currentIndex(), 0);
    ASSERT_EQ(dialog->PrinterCombo()->count(), 3);
    EXPECT_EQ(dialog->PrinterCombo()->itemText(2), QStringLiteral("Jehličková"));
    EXPECT_EQ(dialog->PrinterCombo()->currentIndex(), 2);
    EXPECT_EQ(Module().Vlastnik().state(), dbf::DataSetState::kEdit);
    EXPECT_EQ(Module().Ciselnik().state(), dbf::DataSetState::kEdit);
    EXPECT_EQ(dialog->CancelButton()->text(), QStringLiteral("Storno"));
    Press(Qt::Key_Escape);
  });
  RunSystemSettings(nullptr, Module(), three_printers_);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(dir_.ReadFile("Korvana.ini"), settings_text_);
  EXPECT_FALSE(Module().Vlastnik().active());
  EXPECT_FALSE(Module().Ciselnik().active());
}

TEST_F(SystemSettingsTest, OnePrinterAndIndexOneSelectsNothingAndSavingWritesMinusOne) {
  ModalScript script;
  script.Then<SystemSettingsDialog>([&](SystemSettingsDialog* dialog) {
    EXPECT_EQ(dialog->PrinterCombo()->currentIndex(), -1);
    QTest::mouseClick(dialog->SaveButton(), Qt::LeftButton);
  });
  RunSystemSettings(nullptr, Module(), one_printer_);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(Module().settings.HlavniTiskarna, -1);
  const std::string written = dir_.ReadFile("Korvana.ini");
  EXPECT_NE(written.find("HlavniTiskarna=-1"), std::string::npos) << written;
  EXPECT_NE(written.find("ParagonovaTiskarna=1"), std::string::npos) << written;
}

TEST_F(SystemSettingsTest, CancellingLeavesTheSettingsFileAndTheCounterUntouched) {
  const std::string cis_fal = CisFal();
  ModalScript script;
  script.Then<SystemSettingsDialog>([&](SystemSettingsDialog* dialog) {
    dialog->PrinterCombo()->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Down);
    EXPECT_EQ(dialog->PrinterCombo()->currentIndex(), 2);
    TypeCisFal(dialog, "77");
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
  });
  RunSystemSettings(nullptr, Module(), three_printers_);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(dir_.ReadFile("Korvana.ini"), settings_text_);
  EXPECT_EQ(Module().settings.HlavniTiskarna, 1);
  EXPECT_EQ(CisFal(), cis_fal);
}

TEST_F(SystemSettingsTest, TheLastDocumentNumberMustBeANumberAboveZero) {
  dbf::Formats().decimal_separator = ',';
  ModalScript script;
  script.Then<SystemSettingsDialog>([&](SystemSettingsDialog* dialog) {
    for (const char* refused : {"0", "-5"}) {
      TypeCisFal(dialog, refused);
      Press(Qt::Key_Tab);
      EXPECT_EQ(testing_support::FocusedControl(), dialog->CisFalEdit()) << refused;
    }
    TypeCisFal(dialog, "abc");
    script.ThenMessage();
    Press(Qt::Key_Tab);
    EXPECT_EQ(testing_support::FocusedControl(), dialog->CisFalEdit());
    TypeCisFal(dialog, "2,5");
    Press(Qt::Key_Tab);
    EXPECT_NE(testing_support::FocusedControl(), dialog->CisFalEdit());
    TypeCisFal(dialog, "1");
    Press(Qt::Key_Return);
    EXPECT_NE(testing_support::FocusedControl(), dialog->CisFalEdit());
    dialog->SaveButton()->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Return);
  });
  RunSystemSettings(nullptr, Module(), one_printer_);
  EXPECT_EQ(script.unexpected, 0);
  ASSERT_EQ(script.messages.size(), 1u);
  EXPECT_EQ(script.messages[0], "'abc' is not a valid floating point value");
  EXPECT_EQ(CisFal(), "1");
}

}  // namespace
}  // namespace app
