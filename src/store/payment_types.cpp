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

OpenPaymentTypes::OpenPaymentTypes(TData& data) : table_(data.TypPlatby()) {
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

bool ValidatePaymentType(TData& data, std::string& text, const PaymentTypePicker& pick) {
  OpenPaymentTypes types(data);
  if (IsKnownPaymentType(types.table(), text)) return true;
  const std::optional<std::string> picked = ShowList(types.table(), pick);
  text = picked.value_or(std::string());
  return picked.has_value();
}

std::optional<std::string> PickPaymentType(TData& data, const PaymentTypePicker& pick) {
  OpenPaymentTypes types(data);
  return ShowList(types.table(), pick);
}

}  // namespace store
