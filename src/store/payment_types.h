#ifndef SALDEX_STORE_PAYMENT_TYPES_H_
#define SALDEX_STORE_PAYMENT_TYPES_H_

#include <functional>
#include <optional>
#include <string>

#include "dbf/data_set.h"

namespace store {

// Shows the payment type list over TypPlatby (open, on its first record) as
// a pick list; true when a type was picked, the table then standing on it.
using PaymentTypePicker = std::function<bool()>;

// The payment types table TypPlatby (`types`) open for one check or pick,
// closed again on destruction.
class OpenPaymentTypes {
 public:
  explicit OpenPaymentTypes(dbf::DbfDataSet& types);
  ~OpenPaymentTypes();
  OpenPaymentTypes(const OpenPaymentTypes&) = delete;
  OpenPaymentTypes& operator=(const OpenPaymentTypes&) = delete;

  dbf::DbfDataSet& table() { return table_; }

 private:
  dbf::DbfDataSet& table_;
};

// `text` without blanks at both ends is exactly 3 characters long and a
// BPT_KOD of the open payment types table (exact, case-sensitive).
bool IsKnownPaymentType(dbf::DbfDataSet& types, const std::string& text);

// The check of the payment type field on leaving it. A known type is
// accepted unchanged; otherwise the list is shown: a picked type replaces
// the text and is accepted, a cancelled list (or a pick from an empty
// table) empties the text and refuses it. TypPlatby (`types`) is open only
// during the call.
bool ValidatePaymentType(dbf::DbfDataSet& types, std::string& text, const PaymentTypePicker& pick);

// The side button: shows the list; the picked type, or nullopt.
std::optional<std::string> PickPaymentType(dbf::DbfDataSet& types, const PaymentTypePicker& pick);

}  // namespace store

#endif  // SALDEX_STORE_PAYMENT_TYPES_H_
