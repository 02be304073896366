#include "index/expression/key_value.h"

#include <cassert>
#include <cstring>

namespace idx {
namespace {

template <typename T>
std::string BytesOf(T value) {
  std::string bytes(sizeof(T), '\0');
  std::memcpy(bytes.data(), &value, sizeof(T));
  return bytes;
}

template <typename T>
T ValueOf(const std::string& bytes) {
  T value{};
  assert(bytes.size() == sizeof(T));
  std::memcpy(&value, bytes.data(), sizeof(T));
  return value;
}

}  // namespace

uint8_t PadByte(KeyType type) {
  return type == KeyType::kCharacter ? ' ' : 0;
}

KeyValue KeyValue::Character(std::string_view text) {
  return KeyValue(KeyKind::kCharacter, std::string(text));
}

KeyValue KeyValue::Float(double value) {
  return KeyValue(KeyKind::kFloat, BytesOf(value));
}

KeyValue KeyValue::JulianDay(int32_t day) {
  return KeyValue(KeyKind::kInteger, BytesOf(day));
}

KeyValue KeyValue::Logical(bool value) {
  return KeyValue(KeyKind::kLogical, std::string(1, value ? '\1' : '\0'));
}

KeyValue KeyValue::Raw(std::string_view bytes) {
  return KeyValue(KeyKind::kRaw, std::string(bytes));
}

double KeyValue::AsFloat() const {
  return ValueOf<double>(bytes_);
}
int32_t KeyValue::AsInteger() const {
  return ValueOf<int32_t>(bytes_);
}
bool KeyValue::AsLogical() const {
  return !bytes_.empty() && bytes_[0] != 0;
}

}  // namespace idx
