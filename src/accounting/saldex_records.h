#ifndef SALDEX_ACCOUNTING_SALDEX_RECORDS_H_
#define SALDEX_ACCOUNTING_SALDEX_RECORDS_H_

#include <cstdint>

#include "dbf/data_set.h"

namespace accounting {

// Fills the new receivable of `pohledavky` (in insert state) from the
// invoice's current record and its customer's, field by field in the order
// Saldex 2 expects them set: CISLO `number`, TYPDOKLADU 2, CISDOKLADU and
// VARIABILNI the invoice number, the three dates (an empty date arrives as
// the zero date 30.12.1899), ZPUS_UCTOV "620001", POZNAMKA, ICO, DIC, the
// amounts, ZAKAZKA from HLA_OBC (empty stays empty) and MENA "Kč". Texts are
// cut to the field widths. Raises the cursor's conversion errors, e.g.
// "'%s' is not a valid integer value for field '%s'".
void FillReceivable(dbf::DbfDataSet& pohledavky, int64_t number, const dbf::DbfDataSet& invoice,
                    const dbf::DbfDataSet& customer);

// Fills the new address of `adresar` (in insert state) from the customer's
// current record: NAZEV, ICO, DIC, JMENO, ULICE, MESTO, PSC, PRIJMENI,
// E_MAIL and KOD_CENY 9.
void FillAddress(dbf::DbfDataSet& adresar, const dbf::DbfDataSet& customer);

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_SALDEX_RECORDS_H_
