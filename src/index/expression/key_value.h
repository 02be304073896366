#ifndef SALDEX_INDEX_EXPRESSION_KEY_VALUE_H_
#define SALDEX_INDEX_EXPRESSION_KEY_VALUE_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace idx {

// Type of the keys of a tag: not stored in the file, found by evaluating the key expression.
enum class KeyType : char { kCharacter = 'C', kNumber = 'N', kDate = 'D' };

// Byte that pads keys to the key length and that leaves leave out as trailing bytes:
// a blank in C tags, a zero byte in N and D tags.
uint8_t PadByte(KeyType type);

enum class KeyKind : uint8_t {
  kCharacter = 1,  // text bytes (code page 852 when taken from a table)
  kFloat = 2,      // 64-bit float
  kInteger = 3,    // 32-bit integer: a Julian day number
  kLogical = 4,    // one byte, 0 or 1
  kRaw = 5,        // key bytes as stored in a page
};

// The in-memory form of a key: a kind and a byte buffer. Float and integer values are held
// in native byte order; the stored key bytes come from EncodeKey (key_encoding.h).
class KeyValue {
 public:
  KeyValue() = default;

  static KeyValue Character(std::string_view text);
  static KeyValue Float(double value);
  static KeyValue JulianDay(int32_t day);
  static KeyValue Logical(bool value);
  static KeyValue Raw(std::string_view bytes);

  KeyKind kind() const { return kind_; }
  const std::string& bytes() const { return bytes_; }
  size_t length() const { return bytes_.size(); }

  // REQUIRES: kind() is kFloat, kInteger or kLogical respectively.
  double AsFloat() const;
  int32_t AsInteger() const;
  bool AsLogical() const;

  friend bool operator==(const KeyValue&, const KeyValue&) = default;

 private:
  KeyValue(KeyKind kind, std::string bytes) : kind_(kind), bytes_(std::move(bytes)) {}

  KeyKind kind_ = KeyKind::kRaw;
  std::string bytes_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_KEY_VALUE_H_
