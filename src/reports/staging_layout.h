#ifndef SALDEX_REPORTS_STAGING_LAYOUT_H_
#define SALDEX_REPORTS_STAGING_LAYOUT_H_

#include <utility>
#include <vector>

#include "dbf/data_set.h"
#include "reports/mem_table.h"

namespace reports {

// Declares the 16 fields of the overview's staging table `SesFakMem`, in
// order: Vystaveno (date-time), Faktura (10), Proforma (10), KodOdb (7),
// KodOdbPob (3), Nazev (30), CelkemNC, CelkemPC, Zaklad22, Zaklad05,
// Zaklad00, Dan22, Dan05, HalVyr (floats), Mena (3), Kurz (float).
void DeclareStagingFields(MemTable& table);

// Declares the fields of the invoice view `SesFak` and gives it the store
// tables' dataset settings with index support.
void PrepareInvoiceView(dbf::DbfDataSet& view);

// Copies invoices of the view into the staging table; the fields are looked
// up once. REQUIRES: both have the fields declared above.
class InvoiceStager {
 public:
  InvoiceStager(const dbf::DbfDataSet& view, MemTable& table);
  // Appends and posts one staging row from the view's current invoice. A
  // blank text of the invoice is staged as an empty text; a blank date
  // leaves Vystaveno without a value; Mena and Kurz stay without one.
  void StageCurrent();

 private:
  MemTable& table_;
  std::vector<std::pair<const dbf::Field*, MemField*>> copies_;
};

}  // namespace reports

#endif  // SALDEX_REPORTS_STAGING_LAYOUT_H_
