#ifndef SALDEX_STORE_INVOICE_SEARCH_H_
#define SALDEX_STORE_INVOICE_SEARCH_H_

#include <string>

#include "dbf/data_set.h"

namespace store {

// What the invoice search looks for; each choice has its own tag of the
// invoice table's index file.
enum class InvoiceSearchChoice {
  kInvoiceNumber,  // tag "DO1" on HLA_DO1
  kCustomerName,   // tag "NAC" on UPPER(HLA_NAC)
  kOrderNumber,    // tag "DO2" on HLA_DO2
  kProformaNumber  // tag "DO3" on HLA_DO3
};

const char* InvoiceSearchTag(InvoiceSearchChoice choice);

// A short invoice number completed from the current one: when `typed`
// without blanks at both ends is shorter than `current` without blanks at
// both ends (C characters against T), the first C - T characters of
// `current` followed by `typed` exactly as typed; otherwise `typed`.
// "2024000123" + "45" gives "2024000145"; " 45" gives "20240001 45".
std::string CompleteInvoiceNumber(const std::string& current, const std::string& typed);

// The key sought for a choice: the text (for the invoice number the
// completed text) without blanks at both ends; for the customer name also
// in upper case, Czech letters included.
std::string InvoiceSearchKey(InvoiceSearchChoice choice, const std::string& text);

// Runs the search on the open invoice table: selects the choice's tag,
// completes an invoice number from the current record's HLA_DO1, and seeks
// the key not exact and near, so the table stands on the first invoice
// whose key is equal to or begins with the key, else on the next greater
// one, else on the last one. The tag stays selected. Returns the text the
// search edit shows afterwards (the completed number, else `typed`).
// Errors of the table (a tag that does not exist) propagate.
std::string SearchInvoice(dbf::DbfDataSet& faktury, InvoiceSearchChoice choice,
                          const std::string& typed);

}  // namespace store

#endif  // SALDEX_STORE_INVOICE_SEARCH_H_
