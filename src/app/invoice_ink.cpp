#include "app/invoice_ink.h"

#include <cmath>

#include "dbf/clock.h"

namespace app {

InvoiceInk InvoiceInkOf(bool paid, double total, std::optional<dbf::CivilDate> due,
                        const dbf::CivilDate& today) {
  if (paid || !(total > 0)) return InvoiceInk::kNormal;
  if (!due) return InvoiceInk::kOverdue;
  return dbf::DaysFromCivil(today) > dbf::DaysFromCivil(*due) ? InvoiceInk::kOverdue
                                                              : InvoiceInk::kNotYetDue;
}

InvoiceInk InvoiceInkOfCurrent(const dbf::DbfDataSet& invoices) {
  const dbf::Field& due_field = invoices.FieldByName("HLA_DSP");
  std::optional<dbf::CivilDate> due;
  if (!due_field.IsNull()) {
    due = dbf::CivilFromDays(static_cast<int64_t>(std::floor(due_field.AsDateTime())));
  }
  return InvoiceInkOf(invoices.FieldByName("HLA_PLA").AsBoolean(),
                      invoices.FieldByName("HLA_CUH").AsFloat(), due, dbf::Now().date());
}

}  // namespace app
