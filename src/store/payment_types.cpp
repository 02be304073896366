#include "store/payment_types.h"

#include <exception>

#include "dbf/ascii_text.h"

namespace store {
namespace {

constexpr size_t kPaymentTypeLength = 3;

std::optional<std::string> ShowList(dbf::DbfDataSet& types, const PaymentTypePicker& pick) {
  types.First();
  if (!pick() || types.IsEmpty()) return std::nullopt;
  return types.FieldByName("BPT_KOD").AsString();
}

}  // namespace

OpenPaymentTypes::OpenPaymentTypes(dbf::DbfDataSet& types) : table_(types) {
  if (!table_.active()) table_.Open();
}

OpenPaymentTypes::~OpenPaymentTypes() {
  try {
    table_.Close();
  } catch (const std::exception&) {
    // Nothing is written through this table; the cursor releases the file.
  }
}

bool IsKnownPaymentType(dbf::DbfDataSet& types, const std::string& text) {
  const std::string code(dbf::Trim(text));
  if (code.size() != kPaymentTypeLength) return false;
  return types.Locate("BPT_KOD", {dbf::SearchValue(code)});
}

bool ValidatePaymentType(dbf::DbfDataSet& types, std::string& text, const PaymentTypePicker& pick) {
  OpenPaymentTypes open(types);
  if (IsKnownPaymentType(types, text)) return true;
  const std::optional<std::string> picked = ShowList(types, pick);
  text = picked.value_or(std::string());
  return picked.has_value();
}

std::optional<std::string> PickPaymentType(dbf::DbfDataSet& types, const PaymentTypePicker& pick) {
  OpenPaymentTypes open(types);
  return ShowList(types, pick);
}

}  // namespace store
