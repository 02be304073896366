#include "store/last_document_number.h"

#include "dbf/format_settings.h"

namespace store {

FloatConversionError::FloatConversionError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' is not a valid floating point value") {}

bool IsValidLastDocumentNumber(std::string_view text) {
  const std::optional<double> number = dbf::ParseLocaleNumber(text);
  if (!number) throw FloatConversionError(text);
  return *number > 0;
}

}  // namespace store
