#ifndef SALDEX_ACCOUNTING_EXPORT_TABLES_H_
#define SALDEX_ACCOUNTING_EXPORT_TABLES_H_

#include <string>

#include "accounting/data_ucto.h"
#include "store/data_module.h"

namespace accounting {

// What OpenExportTables achieved.
struct ExportTablesState {
  bool invoices_open = false;  // Faktury open with its index file in tag DO1, on its last invoice
  bool saldex_open = false;    // KPOHLED.DBF and ADRESAR.DBF open, SYSTEMAK.DBF located
  bool rebuilt = false;        // the store index rebuild ran
  bool invoices_cut = false;   // the invoice table ends with a cut record (warned about)
  std::string error;           // text of the last error met (code page 1250), empty if none

  bool complete() const { return invoices_open && saldex_open; }
};

// The one way the program opens what the export works on, for the main
// window's start, the batch export and its dry run alike: the invoice table
// with its index file and tag DO1 (OpenFak) on its last invoice, the three
// Saldex 2 tables pointed at ExportDirectory, KPOHLED.DBF and ADRESAR.DBF
// opened (SYSTEMAK.DBF stays closed until an export opens it).
//
// When any of it fails, including an invoice index file that cannot be
// opened or lacks tag DO1 (OpenFak's false, which leaves the table without
// its order), and `may_rebuild` holds, the invoice table is closed, the store
// index rebuild runs (TData::Index, which refuses a read-only data module
// or data directory with its own message) and, when it went through,
// everything is tried once more. Errors are caught; the state says what is
// open. An invoice table that ends with a cut record is warned about once
// through the data module's operator.
ExportTablesState OpenExportTables(store::TData& data, TDataUcto& ucto, bool may_rebuild);

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_EXPORT_TABLES_H_
