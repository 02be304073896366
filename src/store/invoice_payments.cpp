#include "store/invoice_payments.h"

#include <cmath>
#include <exception>

#include "dbf/clock.h"

namespace store {
namespace {

constexpr size_t kStatementNoLength = 10;
constexpr size_t kPaymentTypeLength = 3;

// The zero date stands for "no date": it is written as a blank date.
void SetDate(dbf::Field& field, dbf::DateTime value) {
  if (value == 0) {
    field.Clear();
  } else {
    field.SetAsDateTime(value);
  }
}

dbf::DateTime Today() {
  return std::floor(dbf::Now().ToDateTime());
}

}  // namespace

PaymentDefaults PaymentDefaults::AtStart() {
  return PaymentDefaults{std::string(kStatementNoLength, ' '), std::string(kPaymentTypeLength, ' '),
                         Today()};
}

bool IsPaidInFull(double paid, double total) {
  return std::llround(paid * 100) >= std::llround(total * 100);
}

std::string InvoicePayments::IndexFile(const Settings& settings) {
  return settings.CestaData + "/Vyp" + settings.StoreCode + ".cdx";
}

InvoicePayments::InvoicePayments(TData& data, PaymentDefaults& defaults,
                                 const std::string& invoice_no)
    : data_(data), defaults_(defaults) {
  dbf::DbfDataSet& table = vypisy();
  table.Open();
  open_ = true;
  try {
    table.OpenIndexFile(IndexFile(data_.settings));
    table.SelectTag("Do1");
    table.SetRange(invoice_no, invoice_no);
    table.First();
  } catch (...) {
    open_ = false;
    table.Close();
    throw;
  }
}

InvoicePayments::~InvoicePayments() {
  try {
    Close();
  } catch (const std::exception&) {
    // The cursor's own destructor releases what is left.
  }
}

void InvoicePayments::Close() {
  if (!open_) return;
  open_ = false;
  vypisy().Close();
}

bool InvoicePayments::HasPayments() {
  dbf::DbfDataSet& table = vypisy();
  return table.active() && !table.IsEmpty() && table.RecNo() != 0;
}

void InvoicePayments::BeginNew() {
  dbf::DbfDataSet& faktury = data_.Faktury();
  const std::string invoice_no = faktury.FieldByName("HLA_DO1").AsString();
  const double unpaid =
      faktury.FieldByName("HLA_CUH").AsFloat() - faktury.FieldByName("HLA_BPL").AsFloat();
  dbf::DbfDataSet& table = vypisy();
  table.Append();
  table.FieldByName("VYP_DO1").SetAsString(invoice_no);
  SetDate(table.FieldByName("VYP_DAT"), Today());
  table.FieldByName("VYP_DO2").SetAsString(defaults_.statement_no);
  table.FieldByName("VYP_TYP").SetAsString(defaults_.payment_type);
  SetDate(table.FieldByName("VYP_DVS"), defaults_.payment_date);
  table.FieldByName("VYP_HOD").SetAsFloat(unpaid);
}

bool InvoicePayments::ConfirmNew() {
  dbf::DbfDataSet& table = vypisy();
  defaults_.statement_no = table.FieldByName("VYP_DO2").AsString().substr(0, kStatementNoLength);
  defaults_.payment_date = table.FieldByName("VYP_DVS").AsDateTime();
  defaults_.payment_type = table.FieldByName("VYP_TYP").AsString().substr(0, kPaymentTypeLength);
  table.Post();
  return UpdateInvoice();
}

bool InvoicePayments::BeginCorrection() {
  if (!HasPayments()) return false;
  vypisy().Edit();
  return true;
}

bool InvoicePayments::ConfirmCorrection() {
  vypisy().Post();
  return UpdateInvoice();
}

void InvoicePayments::CancelChange() {
  dbf::DbfDataSet& table = vypisy();
  if (table.state() == dbf::DataSetState::kEdit || table.state() == dbf::DataSetState::kInsert) {
    table.Cancel();
  }
}

PaymentTotals InvoicePayments::SumPayments() {
  dbf::DbfDataSet& table = vypisy();
  PaymentTotals totals;
  table.First();
  while (!table.Eof()) {
    totals.paid += table.FieldByName("VYP_HOD").AsFloat();
    totals.latest_payment =
        std::max(totals.latest_payment, table.FieldByName("VYP_DVS").AsDateTime());
    table.Next();
  }
  return totals;
}

bool InvoicePayments::UpdateInvoice() {
  const PaymentTotals totals = SumPayments();
  dbf::DbfDataSet& faktury = data_.Faktury();
  if (!data_.LockWithRetry(faktury)) return false;
  try {
    faktury.Edit();
    const double total = faktury.FieldByName("HLA_CUH").AsFloat();
    faktury.FieldByName("HLA_PLA").SetAsBoolean(IsPaidInFull(totals.paid, total));
    faktury.FieldByName("HLA_BPL").SetAsFloat(totals.paid);
    SetDate(faktury.FieldByName("HLA_BDP"), totals.latest_payment);
    faktury.Post();
  } catch (...) {
    if (faktury.state() == dbf::DataSetState::kEdit) faktury.Cancel();
    faktury.UnlockRecord();
    throw;
  }
  faktury.UnlockRecord();
  return true;
}

}  // namespace store
