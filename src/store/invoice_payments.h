#ifndef SALDEX_STORE_INVOICE_PAYMENTS_H_
#define SALDEX_STORE_INVOICE_PAYMENTS_H_

#include <string>

#include "dbf/dates.h"
#include "store/data_module.h"

namespace store {

// The defaults a new payment is proposed with, remembered by the main
// window from one saved new payment to the next.
struct PaymentDefaults {
  std::string statement_no;    // LastStatementNo, at most 10 characters
  std::string payment_type;    // LastPaymentType, at most 3 characters
  dbf::DateTime payment_date;  // LastPaymentDate

  // 10 blanks, 3 blanks and today (the clock of dbf/clock.h).
  static PaymentDefaults AtStart();
};

// The sum of an invoice's payments and the date of its latest payment.
struct PaymentTotals {
  double paid = 0;                   // VYP_HOD summed
  dbf::DateTime latest_payment = 0;  // greatest VYP_DVS; 0 (30.12.1899) when none is dated
};

// Paid when the sum reaches the total. Both are compared in hundredths, so
// that amounts that are equal on paper compare equal (1000 + 234.56 pays
// 1234.56).
bool IsPaidInFull(double paid, double total);

// The payments of one invoice while the payments window is shown: the
// statements table Vypisy open with its index file, tag "Do1" and the range
// of the invoice's payments. Works on the current record of the invoice
// table Faktury, which must stay on that invoice. Errors of the table
// operations propagate; a change that fails is left for the caller to
// cancel (CancelChange).
class InvoicePayments {
 public:
  // Opens Vypisy, its index file CestaData + "/Vyp" + StoreCode + ".cdx",
  // selects tag "Do1", sets the range to `invoice_no` and moves to the first
  // payment. An error closes Vypisy again and propagates.
  InvoicePayments(TData& data, PaymentDefaults& defaults, const std::string& invoice_no);
  // Closes Vypisy when Close() was not called; errors are swallowed.
  ~InvoicePayments();
  InvoicePayments(const InvoicePayments&) = delete;
  InvoicePayments& operator=(const InvoicePayments&) = delete;

  // Closes Vypisy (a change in progress is dropped). Errors propagate.
  void Close();

  dbf::DbfDataSet& vypisy() { return data_.Vypisy(); }
  // The invoice has at least one payment in the range.
  bool HasPayments();

  // "F2 Nový": appends a payment for the invoice: VYP_DO1 the invoice's
  // HLA_DO1, VYP_DAT today, VYP_DO2, VYP_TYP and VYP_DVS the remembered
  // defaults, VYP_HOD what is still unpaid (HLA_CUH - HLA_BPL).
  void BeginNew();
  // Confirmed new payment: remembers VYP_DO2, VYP_DVS and VYP_TYP as the
  // defaults, posts the payment and updates the invoice. Returns the result
  // of UpdateInvoice.
  bool ConfirmNew();

  // "F4 Oprava": puts the current payment into edit; false and nothing
  // started when the invoice has no payment.
  bool BeginCorrection();
  // Confirmed correction: posts the payment and updates the invoice; the
  // defaults stay. Returns the result of UpdateInvoice.
  bool ConfirmCorrection();

  // Cancelled dialog: drops the new record or the edit.
  void CancelChange();

  // Walks the payments of the range from the first; the cursor ends after the last.
  PaymentTotals SumPayments();
  // Brings the invoice up to date from all of its payments: locks its record
  // with TData::LockWithRetry (false after its message: the invoice keeps
  // its values), then HLA_PLA paid in full, HLA_BPL the sum, HLA_BDP the
  // latest payment date (blank when no payment is dated), posts and
  // releases the lock.
  bool UpdateInvoice();

  // Index file of the statements table: CestaData + "/Vyp" + StoreCode + ".cdx".
  static std::string IndexFile(const Settings& settings);

 private:
  TData& data_;
  PaymentDefaults& defaults_;
  bool open_ = false;
};

}  // namespace store

#endif  // SALDEX_STORE_INVOICE_PAYMENTS_H_
