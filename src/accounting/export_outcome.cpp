#include "accounting/export_outcome.h"

#include "store/ansi_text.h"

namespace accounting {

std::string DecisionText(ExportDecision decision) {
  switch (decision) {
    case ExportDecision::kExported:
      return store::Ansi("bude převedena");
    case ExportDecision::kNotSelected:
      return store::Ansi("mimo výběr (SalExpFil)");
    case ExportDecision::kAlreadyPresent:
      return store::Ansi("již v Saldex 2");
    case ExportDecision::kCustomerMissing:
      return store::Ansi("odběratel nenalezen");
    case ExportDecision::kCustomerIncomplete:
      return store::Ansi("odběratel bez IČO nebo DIČ");
  }
  return {};
}

}  // namespace accounting
