#ifndef SALDEX_DBF_SEARCH_VALUE_H_
#define SALDEX_DBF_SEARCH_VALUE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace dbf {

// One value given to Locate or FindKey: unassigned, integer, 64-bit integer, logical,
// character, floating (also currency) or text (ANSI). Searches store its text form into a
// key record.
class SearchValue {
 public:
  SearchValue() = default;  // unassigned
  SearchValue(int value) : value_(static_cast<int64_t>(value)) {}
  SearchValue(int64_t value) : value_(value) {}
  SearchValue(bool value) : value_(value) {}
  SearchValue(char value) : value_(value) {}
  SearchValue(double value) : value_(value) {}
  SearchValue(std::string value) : value_(std::move(value)) {}
  SearchValue(std::string_view value) : value_(std::string(value)) {}
  SearchValue(const char* value) : value_(std::string(value)) {}

  bool assigned() const { return !std::holds_alternative<std::monostate>(value_); }
  // Integers in decimal, logical "T" or "F", a character as itself, floating in the user's
  // number format, text unchanged; unassigned is empty.
  std::string Text() const;

 private:
  std::variant<std::monostate, int64_t, bool, char, double, std::string> value_;
};

}  // namespace dbf

#endif  // SALDEX_DBF_SEARCH_VALUE_H_
