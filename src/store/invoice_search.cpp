#include "store/invoice_search.h"

#include "dbf/ansi_case.h"
#include "dbf/ascii_text.h"

namespace store {

const char* InvoiceSearchTag(InvoiceSearchChoice choice) {
  switch (choice) {
    case InvoiceSearchChoice::kInvoiceNumber:
      return "DO1";
    case InvoiceSearchChoice::kCustomerName:
      return "NAC";
    case InvoiceSearchChoice::kOrderNumber:
      return "DO2";
    case InvoiceSearchChoice::kProformaNumber:
      return "DO3";
  }
  return "DO1";
}

std::string CompleteInvoiceNumber(const std::string& current, const std::string& typed) {
  const size_t current_length = dbf::Trim(current).size();
  const size_t typed_length = dbf::Trim(typed).size();
  if (typed_length >= current_length) return typed;
  return current.substr(0, current_length - typed_length) + typed;
}

std::string InvoiceSearchKey(InvoiceSearchChoice choice, const std::string& text) {
  if (choice == InvoiceSearchChoice::kCustomerName) return dbf::AnsiUpperCase(dbf::Trim(text));
  return std::string(dbf::Trim(text));
}

std::string SearchInvoice(dbf::DbfDataSet& faktury, InvoiceSearchChoice choice,
                          const std::string& typed) {
  faktury.SelectTag(InvoiceSearchTag(choice));
  std::string text = typed;
  if (choice == InvoiceSearchChoice::kInvoiceNumber) {
    text = CompleteInvoiceNumber(faktury.FieldByName("HLA_DO1").AsString(), typed);
  }
  faktury.Find(InvoiceSearchKey(choice, text), false, true);
  return text;
}

}  // namespace store
