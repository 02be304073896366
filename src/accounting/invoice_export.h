#ifndef SALDEX_ACCOUNTING_INVOICE_EXPORT_H_
#define SALDEX_ACCOUNTING_INVOICE_EXPORT_H_

#include <functional>
#include <string>

#include "accounting/data_ucto.h"
#include "accounting/existence_search.h"
#include "accounting/export_outcome.h"
#include "dbf/data_set.h"
#include "store/operator.h"

namespace accounting {

// What the store data module lends the export.
struct StoreSide {
  dbf::DbfDataSet& faktury;               // open, in its current order
  dbf::DbfDataSet& odberatele;            // the customer table
  std::function<bool()> open_customers;   // OpenOdb with tag "KOD"
  std::function<void()> close_customers;  // CloseOdb
  std::string export_prefix;              // ExportPrefix, code page 1250
};

// How the walk went; complete after Run returned, up to the failing invoice
// when Run raised.
struct ExportSummary {
  int read = 0;                 // invoices walked over
  int not_selected = 0;         // number outside ExportPrefix
  int already_present = 0;      // found in KPOHLED.DBF by CISDOKLADU
  int customer_missing = 0;     // customer code not in the customer table
  int customer_incomplete = 0;  // customer without IČO or DIČ
  int exported = 0;             // receivables appended
  int addresses_added = 0;      // addresses appended to ADRESAR.DBF
  int numbers_given_back = 0;   // counter lowered again after a failed receivable
};

// The export of the store's invoices into Saldex 2 (the main window's F10):
// warns, opens KPOHLED.DBF, the customer table and SYSTEMAK.DBF, walks every
// invoice in the invoice table's current order and appends one receivable per
// invoice that ExportPrefix selects, that KPOHLED.DBF does not hold yet and
// whose customer has IČO and DIČ; the customer's address is appended to
// ADRESAR.DBF when no address has its IČO. Each receivable takes its number
// from the counter POHLEDAVKY, raised and posted just before. Ends by closing
// the counter and customer tables and asking for a reindex in Saldex 2.
//
// One export at a time per Saldex 2 directory: the run holds ExporterLock on
// KPOHLED.DBF from the opening of the receivables to its end; a run that
// finds it held tells the operator and exports nothing.
//
// Errors are not caught: an error ends the walk and propagates; records posted
// before stay, and a receivable, address or counter being filled is dropped.
// When the receivable of an invoice cannot be written after the counter was
// raised for it, the counter is lowered again before the error propagates.
class InvoiceExport {
 public:
  InvoiceExport(StoreSide store, TDataUcto& ucto, store::Operator& op,
                SearchMethod method = SearchMethod::kIndexed);

  // False when another export holds the Saldex 2 directory ("Export již
  // probíhá ..." shown, nothing written); true after the last invoice.
  bool Run();
  const ExportSummary& summary() const { return summary_; }
  // Hears the decision for every invoice walked.
  void set_listener(OutcomeListener listener) { listener_ = std::move(listener); }

 private:
  void ExportCurrentInvoice();
  InvoiceOutcome Decide();
  bool Selected(const std::string& number) const;
  void RequireAppendableTables(bool address_missing);
  void AddAddress();
  int64_t RaiseCounter();
  void AppendReceivable(int64_t number);
  void GiveBackCounter(int64_t number);
  void DropUnposted();
  void Tell(const std::string& text);

  StoreSide store_;
  TDataUcto& ucto_;
  store::Operator& operator_;
  SearchMethod method_;
  std::unique_ptr<ExistenceSearch> receivables_, addresses_;
  ExportSummary summary_;
  OutcomeListener listener_;
};

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_INVOICE_EXPORT_H_
