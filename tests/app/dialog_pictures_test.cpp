// Renders every dialog to a PNG file for a look by eye. Runs only when the
// environment names a folder: SALDEX_DIALOG_PICTURES=/tmp/pictures.

#include <QApplication>
#include <QPixmap>
#include <cstdlib>

#include <gtest/gtest.h>

#include "app/dialogs/company_header_dialog.h"
#include "app/dialogs/invoice_search_dialog.h"
#include "app/dialogs/payment_dialog.h"
#include "app/dialogs/payment_type_list.h"
#include "app/dialogs/payments_window.h"
#include "app/dialogs/system_settings_dialog.h"
#include "app/dialogs_fixture.h"

namespace app {
namespace {

class DialogPicturesTest : public testing_support::DialogTest {
 protected:
  void SetUp() override {
    const char* folder = std::getenv("SALDEX_DIALOG_PICTURES");
    if (!folder) GTEST_SKIP() << "SALDEX_DIALOG_PICTURES not set";
    folder_ = QString::fromLocal8Bit(folder) + "/";
    DialogTest::SetUp();
  }
  void Save(QWidget* dialog, const char* name) {
    testing_support::Activate(dialog);
    EXPECT_TRUE(dialog->grab().save(folder_ + name + ".png"));
    dialog->hide();
  }
  QString folder_;
};

TEST_F(DialogPicturesTest, EveryDialog) {
  InvoiceSearchDialog search(Faktury());
  Save(&search, "invoice_search_dialog");

  store::PaymentDefaults defaults = store::PaymentDefaults::AtStart();
  Faktury().Last();
  store::InvoicePayments payments(Module(), defaults, Invoice("HLA_DO1"));
  PaymentsWindow window(Module(), payments);
  Save(&window, "payments_window");
  payments.BeginNew();
  PaymentDialog form(Module().DataVypisy, Module().TypPlatby());
  Save(&form, "payment_dialog");
  payments.CancelChange();
  Module().TypPlatby().Open();
  PaymentTypeList list(Module().TypPlatby());
  Save(&list, "payment_type_list");
  Module().TypPlatby().Close();

  Module().Vlastnik().Open();
  Module().Vlastnik().Edit();
  CompanyHeaderDialog company(Module());
  Save(&company, "company_header_dialog");
  Module().Ciselnik().Open();
  Module().Ciselnik().Edit();
  store::FixedPrinterList printers({"PDF", controls::ToAnsi(QStringLiteral("Laser v kanceláři"))});
  SystemSettingsDialog settings(Module(), printers);
  settings.SelectPrinter(1);
  Save(&settings, "system_nastaveni_tiskarny");
  settings.PageControl1()->setCurrentIndex(1);
  Save(&settings, "system_nastaveni_cislovani");
  Module().Vlastnik().Cancel();
  Module().Ciselnik().Cancel();
}

}  // namespace
}  // namespace app
