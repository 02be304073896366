#ifndef SALDEX_INDEX_EXPRESSION_TEXT_CASE_H_
#define SALDEX_INDEX_EXPRESSION_TEXT_CASE_H_

#include <cstddef>
#include <cstdint>

namespace idx {

// Case mapping of the expression language. Letters are mapped as the ANSI
// code page (1250) defines them, accented letters included. With `translate`
// the bytes are OEM (852) text: each is translated to ANSI, mapped and
// translated back, so the length never changes.
class TextCase {
 public:
  static const TextCase& Get();

  uint8_t Upper(uint8_t c, bool translate) const { return (translate ? oem_upper_ : upper_)[c]; }
  uint8_t Lower(uint8_t c, bool translate) const { return (translate ? oem_lower_ : lower_)[c]; }
  bool IsLetter(uint8_t c, bool translate) const {
    return Upper(c, translate) != c || Lower(c, translate) != c;
  }
  // Maps `length` bytes from `source` to `destination` (may be the same).
  void ToUpper(const char* source, char* destination, size_t length, bool translate) const;
  void ToLower(const char* source, char* destination, size_t length, bool translate) const;

 private:
  TextCase();
  uint8_t upper_[256], lower_[256], oem_upper_[256], oem_lower_[256];
};

// The plain letter A..Z that an upper-case ANSI (1250) letter is written with, accents
// dropped (Á is A, Č is C, ß is S); 0 for a byte that is no letter.
uint8_t PlainLetter(uint8_t ansi_upper);

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_TEXT_CASE_H_
