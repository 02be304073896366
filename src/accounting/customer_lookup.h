#ifndef SALDEX_ACCOUNTING_CUSTOMER_LOOKUP_H_
#define SALDEX_ACCOUNTING_CUSTOMER_LOOKUP_H_

#include <string>

#include "dbf/data_set.h"

namespace accounting {

// FindKey of one customer code in the customer table's current tag (KOD):
// true with the cursor on the first customer in key order whose key begins
// with `code`; false with the cursor where it was.
bool FindCustomer(dbf::DbfDataSet& odberatele, const std::string& code);

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_CUSTOMER_LOOKUP_H_
