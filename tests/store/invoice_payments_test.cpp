#include "store/invoice_payments.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dbf/clock.h"
#include "dbf/errors.h"
#include "dbf/process_test_support.h"
#include "store/demo_store.h"
#include "store/record_locked_elsewhere.h"

namespace store {
namespace {

using testing_support::DemoStoreTest;

dbf::DateTime Day(int year, int month, int day) {
  return static_cast<dbf::DateTime>(dbf::DaysFromCivil({year, month, day}));
}

class InvoicePaymentsTest : public DemoStoreTest {
 protected:
  void SetUp() override {
    dbf::SetClockForTesting(dbf::LocalTime{2026, 12, 8, 10, 30});
    MakeStore();
    ASSERT_TRUE(Module().OpenFak("DO1"));
    defaults_ = PaymentDefaults::AtStart();
  }
  void TearDown() override { dbf::SetClockForTesting(std::nullopt); }

  dbf::DbfDataSet& Faktury() { return Module().Faktury(); }
  dbf::Field& Invoice(const char* name) { return Faktury().FieldByName(name); }

  // A new invoice without payments; the invoice table stands on it.
  void AddInvoice(const std::string& number, double total) {
    Faktury().Append();
    Invoice("HLA_DO1").SetAsString(number);
    Invoice("HLA_CUH").SetAsFloat(total);
    Invoice("HLA_BPL").SetAsFloat(0);
    Invoice("HLA_PLA").SetAsBoolean(false);
    Faktury().Post();
    ASSERT_TRUE(Faktury().Find(number, true, false));
  }

  // One payment through the payments window's steps: proposed, `amount`
  // entered, confirmed. Returns the amount that was proposed.
  double Pay(const std::string& invoice, double amount, dbf::DateTime date = 0,
             const std::string& type = "BAN") {
    InvoicePayments payments(Module(), defaults_, invoice);
    payments.BeginNew();
    dbf::DbfDataSet& vypisy = payments.vypisy();
    const double proposed = vypisy.FieldByName("VYP_HOD").AsFloat();
    vypisy.FieldByName("VYP_HOD").SetAsFloat(amount);
    vypisy.FieldByName("VYP_TYP").SetAsString(type);
    if (date != 0) vypisy.FieldByName("VYP_DVS").SetAsDateTime(date);
    last_update_ = payments.ConfirmNew();
    payments.Close();
    return proposed;
  }
  int PaymentCount(const std::string& invoice) {
    InvoicePayments payments(Module(), defaults_, invoice);
    int count = 0;
    for (payments.vypisy().First(); !payments.vypisy().Eof(); payments.vypisy().Next()) ++count;
    return count;
  }

  PaymentDefaults defaults_;
  bool last_update_ = false;
};

TEST_F(InvoicePaymentsTest, TwoPaymentsPayTheInvoiceInFull) {
  AddInvoice("2026000001", 1000);
  EXPECT_EQ(Pay("2026000001", 400, Day(2026, 12, 1)), 1000);
  EXPECT_TRUE(last_update_);
  EXPECT_EQ(Invoice("HLA_BPL").AsFloat(), 400);
  EXPECT_FALSE(Invoice("HLA_PLA").AsBoolean());
  EXPECT_EQ(Pay("2026000001", 600, Day(2026, 12, 5)), 600);
  EXPECT_EQ(Invoice("HLA_BPL").AsFloat(), 1000);
  EXPECT_TRUE(Invoice("HLA_PLA").AsBoolean());
  EXPECT_EQ(Invoice("HLA_BDP").AsDateTime(), Day(2026, 12, 5));
  EXPECT_EQ(PaymentCount("2026000001"), 2);
  EXPECT_FALSE(Module().Vypisy().active());
}

TEST_F(InvoicePaymentsTest, AnOverpaymentMarksTheInvoicePaid) {
  AddInvoice("2026000002", 1000);
  Pay("2026000002", 1200);
  EXPECT_EQ(Invoice("HLA_BPL").AsFloat(), 1200);
  EXPECT_TRUE(Invoice("HLA_PLA").AsBoolean());
}

TEST_F(InvoicePaymentsTest, AnInvoiceOfTotalZeroIsPaidByAPaymentOfZero) {
  AddInvoice("2026000003", 0);
  EXPECT_EQ(Pay("2026000003", 0), 0);
  EXPECT_TRUE(Invoice("HLA_PLA").AsBoolean());
}

TEST_F(InvoicePaymentsTest, AmountsEqualOnPaperCompareEqual) {
  AddInvoice("2026000004", 1234.56);
  EXPECT_NEAR(Pay("2026000004", 1000), 1234.56, 1e-9);
  EXPECT_NEAR(Pay("2026000004", 234.56), 234.56, 1e-9);
  EXPECT_TRUE(Invoice("HLA_PLA").AsBoolean());
  AddInvoice("2026000005", 0.3);
  Pay("2026000005", 0.1);
  Pay("2026000005", 0.2);
  EXPECT_TRUE(Invoice("HLA_PLA").AsBoolean());
  EXPECT_FALSE(IsPaidInFull(1234.55, 1234.56));
}

TEST_F(InvoicePaymentsTest, TheLatestPaymentDateIsTheGreatestNotTheLastEntered) {
  AddInvoice("2026000006", 1000);
  Pay("2026000006", 100, Day(2026, 11, 20));
  Pay("2026000006", 100, Day(2026, 10, 2));
  EXPECT_EQ(Invoice("HLA_BDP").AsDateTime(), Day(2026, 11, 20));
}

TEST_F(InvoicePaymentsTest, ACorrectionToALowerAmountMakesAPaidInvoiceUnpaid) {
  AddInvoice("2026000007", 1000);
  Pay("2026000007", 1000);
  ASSERT_TRUE(Invoice("HLA_PLA").AsBoolean());
  const PaymentDefaults before = defaults_;
  {
    InvoicePayments payments(Module(), defaults_, "2026000007");
    ASSERT_TRUE(payments.BeginCorrection());
    payments.vypisy().FieldByName("VYP_HOD").SetAsFloat(900);
    payments.vypisy().FieldByName("VYP_DO2").SetAsString("OPRAVA");
    EXPECT_TRUE(payments.ConfirmCorrection());
  }
  EXPECT_EQ(Invoice("HLA_BPL").AsFloat(), 900);
  EXPECT_FALSE(Invoice("HLA_PLA").AsBoolean());
  EXPECT_EQ(defaults_.statement_no, before.statement_no);
  EXPECT_EQ(PaymentCount("2026000007"), 1);
}

TEST_F(InvoicePaymentsTest, TheFirstProposalHasBlanksAndTodayTheSecondTheRememberedDefaults) {
  AddInvoice("2026000008", 500);
  {
    InvoicePayments payments(Module(), defaults_, "2026000008");
    payments.BeginNew();
    dbf::DbfDataSet& vypisy = payments.vypisy();
    EXPECT_EQ(vypisy.FieldByName("VYP_DO1").AsString(), "2026000008");
    EXPECT_EQ(vypisy.FieldByName("VYP_DO2").AsString(), "");
    EXPECT_EQ(vypisy.FieldByName("VYP_TYP").AsString(), "");
    EXPECT_EQ(vypisy.FieldByName("VYP_DVS").AsDateTime(), Day(2026, 12, 8));
    EXPECT_EQ(vypisy.FieldByName("VYP_DAT").AsDateTime(), Day(2026, 12, 8));
    vypisy.FieldByName("VYP_DO2").SetAsString("V-2026-117");
    vypisy.FieldByName("VYP_TYP").SetAsString("HOT");
    vypisy.FieldByName("VYP_DVS").SetAsDateTime(Day(2026, 12, 3));
    vypisy.FieldByName("VYP_HOD").SetAsFloat(200);
    EXPECT_TRUE(payments.ConfirmNew());
  }
  EXPECT_EQ(defaults_.statement_no, "V-2026-117");
  EXPECT_EQ(defaults_.payment_type, "HOT");
  EXPECT_EQ(defaults_.payment_date, Day(2026, 12, 3));
  AddInvoice("2026000009", 700);
  InvoicePayments payments(Module(), defaults_, "2026000009");
  payments.BeginNew();
  dbf::DbfDataSet& vypisy = payments.vypisy();
  EXPECT_EQ(vypisy.FieldByName("VYP_DO2").AsString(), "V-2026-117");
  EXPECT_EQ(vypisy.FieldByName("VYP_TYP").AsString(), "HOT");
  EXPECT_EQ(vypisy.FieldByName("VYP_DVS").AsDateTime(), Day(2026, 12, 3));
  EXPECT_EQ(vypisy.FieldByName("VYP_HOD").AsFloat(), 700);
  payments.CancelChange();
}

TEST_F(InvoicePaymentsTest, ACancelledNewPaymentLeavesNoRecordAndNoChange) {
  AddInvoice("2026000010", 1000);
  const uint32_t payments_before = [&] {
    InvoicePayments payments(Module(), defaults_, "");
    return payments.vypisy().file().record_count();
  }();
  {
    InvoicePayments payments(Module(), defaults_, "2026000010");
    payments.BeginNew();
    payments.vypisy().FieldByName("VYP_DO2").SetAsString("ZRUSENO");
    payments.CancelChange();
    EXPECT_FALSE(payments.HasPayments());
  }
  EXPECT_EQ(PaymentCount("2026000010"), 0);
  InvoicePayments payments(Module(), defaults_, "");
  EXPECT_EQ(payments.vypisy().file().record_count(), payments_before);
  EXPECT_EQ(defaults_.statement_no, std::string(10, ' '));
  EXPECT_EQ(Invoice("HLA_BPL").AsFloat(), 0);
}

TEST_F(InvoicePaymentsTest, ACorrectionWithoutPaymentsStartsNothing) {
  AddInvoice("2026000011", 1000);
  InvoicePayments payments(Module(), defaults_, "2026000011");
  EXPECT_FALSE(payments.HasPayments());
  EXPECT_FALSE(payments.BeginCorrection());
  EXPECT_EQ(payments.vypisy().state(), dbf::DataSetState::kBrowse);
}

TEST_F(InvoicePaymentsTest, TheRangeShowsOnlyTheInvoicesPayments) {
  // Demo payments carry invoice numbers such as 2400001; 24000011 must not
  // show among the payments of 2400001.
  AddInvoice("24000011", 10);
  Pay("24000011", 10);
  AddInvoice("2400001", 0);
  Faktury().SelectTag("DO1");
  ASSERT_TRUE(Faktury().Find("2400001", true, false));
  InvoicePayments payments(Module(), defaults_, "2400001");
  for (payments.vypisy().First(); !payments.vypisy().Eof(); payments.vypisy().Next()) {
    EXPECT_EQ(payments.vypisy().FieldByName("VYP_DO1").AsString(), "2400001");
  }
}

TEST_F(InvoicePaymentsTest, AMissingStatementsIndexFileLeavesTheTableClosed) {
  std::filesystem::remove(DataFile("Vyp0001.cdx"));
  EXPECT_THROW(InvoicePayments(Module(), defaults_, "2400001"), dbf::EngineError);
  EXPECT_FALSE(Module().Vypisy().active());
}

// Another program holding the invoice record: the payment is saved, the
// invoice keeps its values after the lock message, and the next payment
// sums every payment afresh.
TEST_F(InvoicePaymentsTest, ALockedInvoiceKeepsItsValuesUntilTheNextPayment) {
  AddInvoice("2026000012", 1000);
  const std::string dir = dir_.path();
  const std::string data_dir = layout_.data_dir;
  testing_support::RecordLockedElsewhere holder(dir, data_dir, "Faktury",
                                                testing_support::OnInvoice("2026000012"));
  ASSERT_TRUE(holder.locked());

  Pay("2026000012", 400);
  EXPECT_FALSE(last_update_);
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Nelze zamknout zaznam v tabulce Fak0001");
  EXPECT_EQ(Invoice("HLA_BPL").AsFloat(), 0);
  EXPECT_EQ(PaymentCount("2026000012"), 1);

  holder.Release();
  EXPECT_EQ(Pay("2026000012", 600), 1000);  // proposed from the stale header
  EXPECT_TRUE(last_update_);
  EXPECT_EQ(Invoice("HLA_BPL").AsFloat(), 1000);
  EXPECT_TRUE(Invoice("HLA_PLA").AsBoolean());
  // The lock was released again: another process can take it.
  const uint32_t recno = Faktury().RecNo();
  EXPECT_EQ(dbf::testing::RunInChild([&] {
              testing_support::RecordingOperator op;
              TData other(op, dir);
              other.tables().SetLocations(data_dir, "0001");
              other.Faktury().Open();
              other.Faktury().SetRecNo(recno);
              return other.Faktury().LockRecord() ? 0 : 1;
            }),
            0);
}

}  // namespace
}  // namespace store
