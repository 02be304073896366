#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "app/dialogs/dialog_commands.h"
#include "app/dialogs/payment_dialog.h"
#include "app/dialogs/payment_type_list.h"
#include "app/dialogs/payments_window.h"
#include "app/dialogs_fixture.h"
#include "controls/field_text.h"
#include "dbf/clock.h"
#include "dbf/process_test_support.h"
#include "store/record_locked_elsewhere.h"

namespace app {
namespace {

using testing_support::Activate;
using testing_support::ModalScript;
using testing_support::Press;
using testing_support::Type;

class PaymentsWindowTest : public testing_support::DialogTest {
 protected:
  void SetUp() override {
    dbf::SetClockForTesting(dbf::LocalTime{2026, 12, 8, 9, 0});
    DialogTest::SetUp();
    defaults_ = store::PaymentDefaults::AtStart();
    AddInvoice("2026000001", 1000);
  }
  void TearDown() override {
    window_.reset();
    payments_.reset();
    dbf::SetClockForTesting(std::nullopt);
  }
  void OpenWindow(const std::string& invoice = "2026000001") {
    GoTo(invoice);
    payments_ = std::make_unique<store::InvoicePayments>(Module(), defaults_, invoice);
    window_ = std::make_unique<PaymentsWindow>(Module(), *payments_);
    Activate(window_.get());
  }
  dbf::DbfDataSet& Vypisy() { return Module().Vypisy(); }
  double Paid() { return Faktury().FieldByName("HLA_BPL").AsFloat(); }
  bool PaidFlag() { return Faktury().FieldByName("HLA_PLA").AsBoolean(); }
  int PaymentCount() {
    int count = 0;
    for (Vypisy().First(); !Vypisy().Eof(); Vypisy().Next()) ++count;
    return count;
  }
  // Fills the open payment dialog from the keyboard: `type` (already known
  // when `list_pick` is empty), the statement number when not empty, the
  // amount, then Enter to "Storno", Tab to "Zapiš" and Enter there.
  static void EnterPayment(PaymentDialog* form, const QString& type, const QString& statement,
                           const QString& amount) {
    EXPECT_EQ(testing_support::FocusedControl(), form->PaymentTypeEdit());
    if (!type.isNull()) Type(type);
    Press(Qt::Key_Return);
    EXPECT_EQ(testing_support::FocusedControl(), form->StatementEdit());
    if (!statement.isNull()) Type(statement);
    Press(Qt::Key_Return);
    EXPECT_EQ(testing_support::FocusedControl(), form->DateEdit());
    Press(Qt::Key_Return);
    EXPECT_EQ(testing_support::FocusedControl(), form->AmountEdit());
    Type(amount);
    Press(Qt::Key_Return);
    EXPECT_EQ(testing_support::FocusedControl(), form->CancelButton());
    Press(Qt::Key_Tab);
    EXPECT_EQ(testing_support::FocusedControl(), form->SaveButton());
    Press(Qt::Key_Return);
  }

  store::PaymentDefaults defaults_;
  std::unique_ptr<store::InvoicePayments> payments_;
  std::unique_ptr<PaymentsWindow> window_;
};

TEST_F(PaymentsWindowTest, OpensWithItsLayoutAndTheGridFocused) {
  OpenWindow();
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Přehled úhrad"));
  EXPECT_EQ(window_->size(), QSize(PaymentsWindow::kClientWidth, PaymentsWindow::kClientHeight));
  EXPECT_EQ(testing_support::FocusedControl(), window_->DBGrid1());
  EXPECT_EQ(window_->NewButton()->text(), QStringLiteral("F2 Nový"));
  EXPECT_EQ(window_->CorrectButton()->text(), QStringLiteral("F4 Oprava"));
  QAbstractItemModel* model = window_->DBGrid1()->model();
  ASSERT_EQ(model->columnCount(), 7);
  EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Bav.Vyp."));
  EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Hodnota"));
}

// 1000 paid as 400 and 600: the type list picks the first type, the second
// payment is proposed with the rest and the remembered defaults, and a known
// three-letter type does not open the list.
TEST_F(PaymentsWindowTest, TwoPaymentsFromTheKeyboardPayTheInvoice) {
  OpenWindow();
  ModalScript script;
  script.Then<PaymentDialog>([&](PaymentDialog* form) {
    EXPECT_EQ(Vypisy().FieldByName("VYP_HOD").AsFloat(), 1000);
    EXPECT_FALSE(form->AmountEdit()->text().isEmpty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Uhrada dokladu"));
    EXPECT_TRUE(form->PaymentTypeEdit()->text().trimmed().isEmpty());
    Type("BA");
    // Leaving the two-letter type opens the list.
    script.Then<PaymentTypeList>([&](PaymentTypeList* list) {
      EXPECT_EQ(list->windowTitle(), QStringLiteral("Přehled typu plateb"));
      EXPECT_EQ(testing_support::FocusedControl(), list->DBGrid1());
      EXPECT_EQ(list->pos(), form->pos() + QPoint(40, 45));
      Press(Qt::Key_Down);
      Press(Qt::Key_Return);  // HOT, the second type
    });
    EnterPayment(form, QString(), QStringLiteral("V-117"), QStringLiteral("400"));
    EXPECT_EQ(form->PaymentTypeEdit()->text(), QStringLiteral("HOT"));
  });
  Press(Qt::Key_F2);
  EXPECT_EQ(Paid(), 400);
  EXPECT_FALSE(PaidFlag());
  EXPECT_EQ(defaults_.payment_type, "HOT");
  EXPECT_EQ(defaults_.statement_no, "V-117");
  EXPECT_EQ(testing_support::FocusedControl(), window_->DBGrid1());

  script.Then<PaymentDialog>([&](PaymentDialog* form) {
    EXPECT_EQ(Vypisy().FieldByName("VYP_HOD").AsFloat(), 600);
    EXPECT_EQ(form->PaymentTypeEdit()->text(), QStringLiteral("HOT"));
    EXPECT_EQ(form->StatementEdit()->text(), QStringLiteral("V-117"));
    EnterPayment(form, QString(), QString(), QStringLiteral("600"));
  });
  Press(Qt::Key_F2);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(Paid(), 1000);
  EXPECT_TRUE(PaidFlag());
  EXPECT_EQ(PaymentCount(), 2);
}

TEST_F(PaymentsWindowTest, ACancelledNewPaymentWritesNothing) {
  OpenWindow();
  const uint32_t records = Vypisy().file().record_count();
  ModalScript script;
  // The blank type opens the list; the cancelled list keeps the focus on the
  // type; Esc then cancels the payment dialog.
  script.Then<PaymentDialog>([&](PaymentDialog* form) {
    Type("V");
    Press(Qt::Key_Tab);
    EXPECT_EQ(testing_support::FocusedControl(), form->PaymentTypeEdit());
    Press(Qt::Key_Escape);
  });
  script.Then<PaymentTypeList>([&](PaymentTypeList*) { Press(Qt::Key_Escape); });
  Press(Qt::Key_F2);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(Vypisy().file().record_count(), records);
  EXPECT_EQ(PaymentCount(), 0);
  EXPECT_EQ(Paid(), 0);
  EXPECT_EQ(defaults_.statement_no, std::string(10, ' '));
}

TEST_F(PaymentsWindowTest, ARefusedTypeKeepsTheFocusUntilEscCancels) {
  OpenWindow();
  ModalScript script;
  script.Then<PaymentDialog>([&](PaymentDialog* form) {
    Type("XY");
    script.Then<PaymentTypeList>([&](PaymentTypeList*) { Press(Qt::Key_Escape); });
    Press(Qt::Key_Return);
    EXPECT_EQ(testing_support::FocusedControl(), form->PaymentTypeEdit());
    EXPECT_TRUE(form->PaymentTypeEdit()->text().isEmpty());
    EXPECT_TRUE(form->isVisible());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
  });
  Press(Qt::Key_F2);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(PaymentCount(), 0);
  EXPECT_FALSE(Module().TypPlatby().active());
}

TEST_F(PaymentsWindowTest, TheSideButtonAndADoubleClickPickAType) {
  OpenWindow();
  ModalScript script;
  script.Then<PaymentDialog>([&](PaymentDialog* form) {
    script.Then<PaymentTypeList>([&](PaymentTypeList* list) {
      DbGrid* grid = list->DBGrid1();
      Press(Qt::Key_Down);
      Press(Qt::Key_Down);            // KAR
      QApplication::processEvents();  // the grid's window of rows follows the cursor
      const QRect cell =
          grid->visualRect(grid->model()->index(grid->cursor_model()->active_row(), 0));
      EXPECT_TRUE(cell.isValid());
      // A double click: the first click, then the second press.
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
      QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    });
    QTest::mouseClick(form->PaymentTypeEdit()->sideButton(), Qt::LeftButton);
    EXPECT_EQ(form->PaymentTypeEdit()->text(), QStringLiteral("KAR"));
    EXPECT_EQ(Vypisy().FieldByName("VYP_TYP").AsString(), "KAR");
    EnterPayment(form, QString(), QString(), QStringLiteral("100"));
  });
  Press(Qt::Key_F2);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(defaults_.payment_type, "KAR");
  EXPECT_EQ(Paid(), 100);
}

TEST_F(PaymentsWindowTest, ACorrectionToALowerAmountMakesThePaidInvoiceUnpaid) {
  OpenWindow();
  ModalScript script;
  script.Then<PaymentDialog>(
      [&](PaymentDialog* form) { EnterPayment(form, "BAN", "V-1", QStringLiteral("1000")); });
  Press(Qt::Key_F2);
  ASSERT_TRUE(PaidFlag());
  script.Then<PaymentDialog>([&](PaymentDialog* form) {
    EXPECT_EQ(form->PaymentTypeEdit()->text(), QStringLiteral("BAN"));
    EnterPayment(form, QString(), QString(), QStringLiteral("900"));
  });
  Press(Qt::Key_F4);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(Paid(), 900);
  EXPECT_FALSE(PaidFlag());
  EXPECT_EQ(PaymentCount(), 1);
  EXPECT_EQ(defaults_.statement_no, "V-1");
}

// The grid shows each saved payment at once and always highlights the
// payment the cursor stands on, so F4 corrects the highlighted payment.
TEST_F(PaymentsWindowTest, TheGridShowsSavedPaymentsAndHighlightsTheCursorsPayment) {
  OpenWindow();
  DbGrid* grid = window_->DBGrid1();
  CursorTableModel* model = grid->cursor_model();
  const auto highlighted = [&] { return model->RecNoOfRow(grid->currentIndex().row()); };
  const auto amount_of = [&](uint32_t recno) {
    for (int row = 0; row < model->rowCount(); ++row) {
      if (model->RecNoOfRow(row) == recno) return model->data(model->index(row, 3)).toString();
    }
    return QString();
  };
  ModalScript script;
  script.Then<PaymentDialog>(
      [&](PaymentDialog* form) { EnterPayment(form, "BAN", "V-1", QStringLiteral("400")); });
  Press(Qt::Key_F2);
  QApplication::processEvents();
  EXPECT_EQ(model->rowCount(), 1);
  EXPECT_EQ(highlighted(), Vypisy().RecNo());
  EXPECT_TRUE(amount_of(Vypisy().RecNo()).startsWith(QStringLiteral("400")))
      << amount_of(1).toStdString();

  script.Then<PaymentDialog>([&](PaymentDialog* form) {
    EnterPayment(form, QString(), QString(), QStringLiteral("250"));
  });
  Press(Qt::Key_F2);
  QApplication::processEvents();
  ASSERT_EQ(model->rowCount(), 2);
  EXPECT_EQ(highlighted(), Vypisy().RecNo());
  const uint32_t second = Vypisy().RecNo();
  EXPECT_TRUE(amount_of(second).startsWith(QStringLiteral("250")));

  Press(Qt::Key_Up);
  const uint32_t first = Vypisy().RecNo();
  EXPECT_NE(first, second);
  EXPECT_EQ(highlighted(), first);

  script.Then<PaymentDialog>([&](PaymentDialog* form) {
    EXPECT_EQ(Vypisy().RecNo(), first);
    EnterPayment(form, QString(), QString(), QStringLiteral("300"));
  });
  Press(Qt::Key_F4);
  QApplication::processEvents();
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(model->rowCount(), 2);
  EXPECT_TRUE(amount_of(first).startsWith(QStringLiteral("300")));
  EXPECT_TRUE(amount_of(second).startsWith(QStringLiteral("250")));
  EXPECT_EQ(highlighted(), Vypisy().RecNo());
  EXPECT_EQ(Paid(), 550);
}

// "Vystaven dne" takes a typed date; its separators stay in the date and
// the amount gets only the amount.
TEST_F(PaymentsWindowTest, ATypedPaymentDateIsSavedAndTheAmountKeepsItsDigits) {
  OpenWindow();
  ModalScript script;
  script.Then<PaymentDialog>([&](PaymentDialog* form) {
    Type("BAN");
    Press(Qt::Key_Return);
    Type("V-9");
    Press(Qt::Key_Return);
    ASSERT_EQ(testing_support::FocusedControl(), form->DateEdit());
    Type("15.03.2025");
    EXPECT_EQ(testing_support::FocusedControl(), form->DateEdit());
    Press(Qt::Key_Return);
    ASSERT_EQ(testing_support::FocusedControl(), form->AmountEdit());
    Type("250");
    Press(Qt::Key_Return);
    Press(Qt::Key_Tab);
    ASSERT_EQ(testing_support::FocusedControl(), form->SaveButton());
    Press(Qt::Key_Return);
  });
  Press(Qt::Key_F2);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(Vypisy().FieldByName("VYP_DVS").AsDateTime(), dbf::DaysFromCivil({2025, 3, 15}));
  EXPECT_EQ(Vypisy().FieldByName("VYP_HOD").AsFloat(), 250);
  EXPECT_EQ(defaults_.payment_date, dbf::DaysFromCivil({2025, 3, 15}));
  EXPECT_EQ(Paid(), 250);
}

// The amount shows in the field's display format "#,##0.00" while it does
// not have the focus.
TEST_F(PaymentsWindowTest, TheAmountShowsInItsDisplayFormatWithoutTheFocus) {
  OpenWindow();
  ModalScript script;
  script.Then<PaymentDialog>([&](PaymentDialog* form) {
    const dbf::Field& amount = Vypisy().FieldByName("VYP_HOD");
    EXPECT_EQ(form->AmountEdit()->text(),
              controls::FieldDisplayText(amount, QStringLiteral("#,##0.00")));
    EXPECT_NE(form->AmountEdit()->text(), QStringLiteral("1000"));
    Press(Qt::Key_Escape);
  });
  Press(Qt::Key_F2);
  EXPECT_EQ(script.unexpected, 0);
}

TEST_F(PaymentsWindowTest, F4WithoutPaymentsDoesNothing) {
  OpenWindow();
  const uint32_t records = Vypisy().file().record_count();
  ModalScript script;
  Press(Qt::Key_F4);
  QApplication::processEvents();
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(Vypisy().file().record_count(), records);
  EXPECT_EQ(Vypisy().state(), dbf::DataSetState::kBrowse);
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(PaymentsWindowTest, EscClosesTheWindow) {
  OpenWindow();
  Press(Qt::Key_Escape);
  EXPECT_FALSE(window_->isVisible());
}

// Another process holds the invoice record: the payment is saved, the
// invoice keeps its values after the lock message, and the next payment
// corrects the totals.
TEST_F(PaymentsWindowTest, ALockedInvoiceIsUpdatedByTheNextPayment) {
  const std::string dir = dir_.path();
  const std::string data_dir = layout_.data_dir;
  testing_support::RecordLockedElsewhere holder(dir, data_dir, "Faktury",
                                                testing_support::OnInvoice("2026000001"));
  ASSERT_TRUE(holder.locked());
  OpenWindow();
  ModalScript script;
  script.Then<PaymentDialog>(
      [&](PaymentDialog* form) { EnterPayment(form, "BAN", QString(), QStringLiteral("400")); });
  Press(Qt::Key_F2);
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Nelze zamknout zaznam v tabulce Fak0001");
  EXPECT_EQ(Paid(), 0);
  EXPECT_EQ(PaymentCount(), 1);

  holder.Release();
  script.Then<PaymentDialog>([&](PaymentDialog* form) {
    EnterPayment(form, QString(), QString(), QStringLiteral("600"));
  });
  Press(Qt::Key_F2);
  EXPECT_EQ(Paid(), 1000);
  EXPECT_TRUE(PaidFlag());
  EXPECT_EQ(op_.messages.size(), 1u);
}

TEST_F(PaymentsWindowTest, ThePaymentsCommandPlacesItsWindowsAndClosesTheStatements) {
  QWidget main_window;
  main_window.move(100, 80);
  GoTo("2026000001");
  ModalScript script;
  QPoint window_pos, form_pos;
  script.Then<PaymentsWindow>([&](PaymentsWindow* window) {
    window_pos = window->pos();
    EXPECT_TRUE(Vypisy().active());
    EXPECT_EQ(Vypisy().index_name(), "Do1");
    script.Then<PaymentDialog>([&](PaymentDialog* form) {
      form_pos = form->pos();
      Press(Qt::Key_Escape);
    });
    Press(Qt::Key_F2);
    Press(Qt::Key_Escape);
  });
  RunInvoicePayments(&main_window, Module(), defaults_, "2026000001");
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(window_pos, QPoint(350, 110));
  EXPECT_EQ(form_pos, window_pos + QPoint(-70, 50));
  EXPECT_FALSE(Vypisy().active());
}

}  // namespace
}  // namespace app
