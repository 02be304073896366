#ifndef SALDEX_ACCOUNTING_EXPORT_OUTCOME_H_
#define SALDEX_ACCOUNTING_EXPORT_OUTCOME_H_

#include <functional>
#include <string>

namespace accounting {

// What the export decided for one invoice.
enum class ExportDecision {
  kExported,            // a receivable appended
  kNotSelected,         // number outside ExportPrefix
  kAlreadyPresent,      // KPOHLED.DBF holds its number already
  kCustomerMissing,     // customer code not in the customer table
  kCustomerIncomplete,  // customer without IČO or DIČ
};

struct InvoiceOutcome {
  std::string invoice;        // HLA_DO1, code page 1250
  std::string customer_code;  // HLA_ODB, code page 1250
  ExportDecision decision = ExportDecision::kExported;
  bool address_added = false;  // the customer's address appended to ADRESAR.DBF
};

// Called once per invoice walked, after its decision is carried out.
using OutcomeListener = std::function<void(const InvoiceOutcome&)>;

// The decision in a few Czech words (code page 1250), for listings.
std::string DecisionText(ExportDecision decision);

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_EXPORT_OUTCOME_H_
