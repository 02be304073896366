#ifndef SALDEX_INDEX_KEY_COLLATION_TABLE_H_
#define SALDEX_INDEX_KEY_COLLATION_TABLE_H_

#include <array>
#include <cstdint>
#include <string_view>

namespace idx {

// The fixed weight table through which the bytes of character keys (code page 852) are
// compared: Czech and Slovak letter order A a Á á Ä ä B b C c Č č ... Z z Ž ž, bytes 0x00 to
// 0x40 unchanged, the remaining symbols after the letters. The table is a permutation of
// 0..255. N and D keys are compared as raw unsigned bytes instead.
class KeyCollationTable {
 public:
  static const std::array<uint8_t, 256>& Weights();
  static uint8_t Weight(uint8_t byte) { return Weights()[byte]; }

  // Compares the weights of `a` and `b` position by position over the shorter length:
  // negative, zero or positive by the first difference, zero when one begins with the other.
  static int CompareCommonLength(std::string_view a, std::string_view b);

  // Total order of character keys: by weights, and a key that is the beginning of a longer
  // one first.
  static int Compare(std::string_view a, std::string_view b);
};

// Unsigned byte compare of N and D keys, with the same two forms as above.
int CompareBytesCommonLength(std::string_view a, std::string_view b);
int CompareBytes(std::string_view a, std::string_view b);

}  // namespace idx

#endif  // SALDEX_INDEX_KEY_COLLATION_TABLE_H_
