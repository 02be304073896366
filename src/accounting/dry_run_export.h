#ifndef SALDEX_ACCOUNTING_DRY_RUN_EXPORT_H_
#define SALDEX_ACCOUNTING_DRY_RUN_EXPORT_H_

#include <string>

#include "accounting/export_outcome.h"
#include "accounting/invoice_export.h"
#include "store/operator.h"

namespace accounting {

// The export's whole walk without writing to Saldex 2. The three Saldex 2
// tables are copied (read, never locked) into a private temporary directory
// and the export runs on the copies, so every decision is the real export's
// on the same data, including the effect of the receivables and addresses it
// appends on later invoices; the copies are removed afterwards, also after an
// error. The store tables are only read, as the export reads them. The
// messages a real export shows the operator are not shown: each invoice's
// outcome goes to the listener instead.
class DryRunExport {
 public:
  // `saldex_directory`: ExportDirectory (code page 1250, ending with '/').
  DryRunExport(StoreSide store, std::string saldex_directory, store::Operator& op);

  // Raises what the export raises ("Cannot find file %s" naming the real
  // table when one of the three is missing).
  void Run(const OutcomeListener& listener);
  const ExportSummary& summary() const { return summary_; }

 private:
  StoreSide store_;
  std::string saldex_directory_;
  store::Operator& operator_;
  ExportSummary summary_;
};

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_DRY_RUN_EXPORT_H_
