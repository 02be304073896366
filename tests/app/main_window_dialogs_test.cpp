// The main window's commands that open the dialogs: F9 payments with the
// invoice row repainted at once, F5 search leaving its order on the grid,
// the settings menu with a given printer list.

#include <QApplication>
#include <QTest>

#include "app/dialogs/company_header_dialog.h"
#include "app/dialogs/invoice_search_dialog.h"
#include "app/dialogs/payment_dialog.h"
#include "app/dialogs/payments_window.h"
#include "app/dialogs/system_settings_dialog.h"
#include "app/dialogs_fixture.h"
#include "app/invoice_ink.h"
#include "main_window_fixture.h"

namespace app_testing {
namespace {

using testing_support::ModalScript;
using testing_support::Press;
using testing_support::Type;

class MainWindowDialogsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    store::TData& data = Data();
    ASSERT_TRUE(data.OpenFak("DO1"));
    dbf::DbfDataSet& invoices = data.Faktury();
    // The last invoice in DO1 order: unpaid, 1000, due yesterday (red).
    invoices.Append();
    invoices.FieldByName("HLA_DO1").SetAsString("2699999999");
    invoices.FieldByName("HLA_CUH").SetAsFloat(1000);
    invoices.FieldByName("HLA_BPL").SetAsFloat(0);
    invoices.FieldByName("HLA_PLA").SetAsBoolean(false);
    invoices.FieldByName("HLA_DSP").SetAsDateTime(
        static_cast<double>(dbf::DaysFromCivil(kNow.date())) - 1);
    invoices.Post();
    data.CloseFak();
    window_ = std::make_unique<app::MainWindow>(*data_, ucto_, op_);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    Settle();
  }
  void TearDown() override {
    window_.reset();
    MainWindowTest::TearDown();
  }
  QVariant Cell(int row, int column, int role) {
    app::CursorTableModel* model = window_->InvoiceModel();
    return model->data(model->index(row, column), role);
  }

  std::unique_ptr<app::MainWindow> window_;
};

constexpr int kPaidColumn = 24;  // HLA_PLA

TEST_F(MainWindowDialogsTest, APaymentRepaintsTheInvoiceRowAtOnce) {
  app::CursorTableModel* model = window_->InvoiceModel();
  const int row = model->active_row();
  ASSERT_EQ(window_->data().Faktury().FieldByName("HLA_DO1").AsString(), "2699999999");
  EXPECT_EQ(Cell(row, kPaidColumn, Qt::DisplayRole).toString(), QStringLiteral("Ne"));
  EXPECT_EQ(app::InvoiceInkOfCurrent(window_->data().Faktury()), app::InvoiceInk::kOverdue);

  ModalScript script;
  QPoint window_pos;
  script.Then<app::PaymentsWindow>([&](app::PaymentsWindow* payments) {
    window_pos = payments->pos();
    script.Then<app::PaymentDialog>([&](app::PaymentDialog*) {
      Type("BAN");
      Press(Qt::Key_Return);
      Type("V-9");
      Press(Qt::Key_Return);
      Press(Qt::Key_Return);
      Press(Qt::Key_Return);  // the proposed 1000 stays
      Press(Qt::Key_Tab);
      Press(Qt::Key_Return);  // "Zapiš"
    });
    Press(Qt::Key_F2);
    Press(Qt::Key_Escape);
  });
  // The key handler of F9 (the key preview itself is the main window's test).
  window_->FormKeyDown(Qt::Key_F9);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(window_pos, window_->pos() + QPoint(250, 30));
  EXPECT_EQ(window_->focusWidget(), window_->DBGrid1());
  EXPECT_EQ(window_->LastStatementNo, "V-9");
  EXPECT_EQ(window_->LastPaymentType, "BAN");
  EXPECT_EQ(Cell(row, kPaidColumn, Qt::DisplayRole).toString(), QStringLiteral("Ano"));
  // Its colour is decided afresh: paid, so the normal one (red before).
  EXPECT_EQ(app::InvoiceInkOfCurrent(window_->data().Faktury()), app::InvoiceInk::kNormal);
}

TEST_F(MainWindowDialogsTest, F5SearchesAndTheGridShowsTheTagsOrder) {
  ModalScript script;
  script.Then<app::InvoiceSearchDialog>([&](app::InvoiceSearchDialog* dialog) {
    Press(Qt::Key_Down);
    Press(Qt::Key_Return);
    Type(QStringLiteral("ž"));
    Press(Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
  });
  window_->FormKeyDown(Qt::Key_F5);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(window_->data().Faktury().index_name(), "NAC");
  EXPECT_EQ(window_->focusWidget(), window_->DBGrid1());
}

TEST_F(MainWindowDialogsTest, TheSettingsMenuUsesTheGivenPrinterList) {
  store::FixedPrinterList printers({"PDF"});
  window_->set_printer_list(&printers);
  ModalScript script;
  script.Then<app::SystemSettingsDialog>([&](app::SystemSettingsDialog* dialog) {
    EXPECT_EQ(dialog->PrinterCombo()->count(), 1);
    EXPECT_EQ(dialog->pos(), window_->pos() + QPoint(100, 30));
    Press(Qt::Key_Escape);
  });
  window_->OpenSystemSettings();
  script.Then<app::CompanyHeaderDialog>([&](app::CompanyHeaderDialog*) { Press(Qt::Key_Escape); });
  window_->OpenCompanyHeader();
  EXPECT_EQ(script.unexpected, 0);
}

}  // namespace
}  // namespace app_testing
