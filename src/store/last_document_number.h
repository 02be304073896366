#ifndef SALDEX_STORE_LAST_DOCUMENT_NUMBER_H_
#define SALDEX_STORE_LAST_DOCUMENT_NUMBER_H_

#include <stdexcept>
#include <string>
#include <string_view>

namespace store {

// A text that should have held a decimal number:
// "'abc' is not a valid floating point value".
class FloatConversionError : public std::runtime_error {
 public:
  explicit FloatConversionError(std::string_view text);
};

// The check of the last document sequence number (CIS_FAL of Ciselnik) on
// leaving its field: the text read as a decimal number in the system's
// number format (dbf::Formats()) must be greater than 0. Throws
// FloatConversionError for a text that is no number (the empty text too).
bool IsValidLastDocumentNumber(std::string_view text);

}  // namespace store

#endif  // SALDEX_STORE_LAST_DOCUMENT_NUMBER_H_
