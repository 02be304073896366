#ifndef SALDEX_APP_INVOICE_INK_H_
#define SALDEX_APP_INVOICE_INK_H_

#include <optional>

#include "dbf/data_set.h"
#include "dbf/dates.h"

namespace app {

// The text colour of an invoice row in the main list (DBGrid1DrawColumnCell):
// unpaid invoices with a positive total are red once today is later than
// their due date, navy until then; every other row keeps the normal colour.
// An empty due date reads as the earliest date, so such an invoice is
// overdue. The selected row is never recoloured; that is the grid's test.
enum class InvoiceInk { kNormal, kOverdue, kNotYetDue };

InvoiceInk InvoiceInkOf(bool paid, double total, std::optional<dbf::CivilDate> due,
                        const dbf::CivilDate& today);

// The same for the current record of an invoice table (HLA_PLA, HLA_CUH,
// HLA_DSP) and today's date of the process clock.
InvoiceInk InvoiceInkOfCurrent(const dbf::DbfDataSet& invoices);

}  // namespace app

#endif  // SALDEX_APP_INVOICE_INK_H_
