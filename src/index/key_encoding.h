#ifndef SALDEX_INDEX_KEY_ENCODING_H_
#define SALDEX_INDEX_KEY_ENCODING_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "index/expression/key_value.h"

namespace idx {

// Key bytes of N and D tags (key length 8): the 64-bit IEEE float written most significant
// byte first; then the sign bit is set when it was clear, and all 64 bits are inverted when
// it was set, so that unsigned byte order is numeric order. D keys hold the Julian day number
// (1980-01-01 = 2444240) as such a float. -0.0 has its sign bit set and is stored as
// 7F FF FF FF FF FF FF FF, as other programs write it, just below 0.0 (80 00 ... 00).
// With `trim` the trailing zero bytes are removed, as keys are held in memory.
std::string EncodeNumberKey(double value, bool trim);
// Inverse of EncodeNumberKey; missing trailing bytes count as zero bytes.
// REQUIRES: key.size() <= 8.
double DecodeNumberKey(std::string_view key);

// Removes the trailing pad bytes of `type` (blanks in C tags, zero bytes in N and D tags).
std::string_view TrimKey(std::string_view key, KeyType type);
// Pads `key` with the pad byte of `type` to `key_length`. REQUIRES: key.size() <= key_length.
std::string PadKey(std::string_view key, KeyType type, uint16_t key_length);

// The bytes a tag of `type` and `key_length` stores and compares for `value`:
// - C: text and raw bytes as they are, a logical "T" or "F", a float its shortest decimal
//   text, a Julian day its date in the short date format with a four-digit year; cut to
//   `key_length`.
// - N and D: a float as it is, a Julian day or logical (1 or 0) as a float; raw bytes
//   as they are, cut to 8.
// Text for N and D tags must be read as a number or date by the caller first (the key
// expressions' number and date parsers); passing kCharacter there throws std::invalid_argument.
// With `trim` the trailing pad bytes are removed.
std::string EncodeKey(KeyType type, uint16_t key_length, const KeyValue& value, bool trim);

// The shortest decimal text of `value` with up to 15 significant digits ("12.5", "800",
// "1E-5").
std::string ShortestDecimalText(double value);

}  // namespace idx

#endif  // SALDEX_INDEX_KEY_ENCODING_H_
