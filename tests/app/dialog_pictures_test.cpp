// Renders every dialog to a PNG file for a look by eye. Runs only when the
// environment names a folder: SALDEX_DIALOG_PICTURES=/tmp/pictures.

#include <QApplication>
#include <QPixmap>
#include <cstdlib>

#include <gtest/gtest.h>

#include "app/dialogs/fak_hle.h"
#include "app/dialogs/prehled_typ_plateb.h"
#include "app/dialogs/prehled_uhrad.h"
#include "app/dialogs/system_nastaveni.h"
#include "app/dialogs/uhrada_form.h"
#include "app/dialogs/vlastnik_form.h"
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
  TFakHle search(Faktury());
  Save(&search, "fak_hle");

  store::PaymentDefaults defaults = store::PaymentDefaults::AtStart();
  Faktury().Last();
  store::InvoicePayments payments(Module(), defaults, Invoice("HLA_DO1"));
  TPrehledUhrad window(Module(), payments);
  Save(&window, "prehled_uhrad");
  payments.BeginNew();
  TUhradaForm form(Module());
  Save(&form, "uhrada_form");
  payments.CancelChange();
  Module().TypPlatby().Open();
  TPrehledTypPlateb list(Module().TypPlatby());
  Save(&list, "prehled_typ_plateb");
  Module().TypPlatby().Close();

  Module().Vlastnik().Open();
  Module().Vlastnik().Edit();
  TVlastnikForm company(Module());
  Save(&company, "vlastnik_form");
  Module().Ciselnik().Open();
  Module().Ciselnik().Edit();
  store::FixedPrinterList printers({"PDF", controls::ToAnsi(QStringLiteral("Laser v kanceláři"))});
  TSystemNastaveni settings(Module(), printers);
  settings.SelectPrinter(1);
  Save(&settings, "system_nastaveni_tiskarny");
  settings.PageControl1()->setCurrentIndex(1);
  Save(&settings, "system_nastaveni_cislovani");
  Module().Vlastnik().Cancel();
  Module().Ciselnik().Cancel();
}

}  // namespace
}  // namespace app
