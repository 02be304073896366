#ifndef SALDEX_INDEX_EXPRESSION_FUNCTION_H_
#define SALDEX_INDEX_EXPRESSION_FUNCTION_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "index/expression/value.h"

namespace idx {

class FieldResolver;

// One call of a function: the evaluated arguments, the result slot and a text
// buffer owned by the calling node (its capacity is kept between calls).
class FunctionCall {
 public:
  FunctionCall(const std::string& name, std::span<const Value> arguments, Value& result,
               std::string& buffer, const FieldResolver* resolver, const uint8_t* record)
      : name_(name),
        arguments_(arguments),
        result_(result),
        buffer_(buffer),
        resolver_(resolver),
        record_(record) {}

  const std::string& name() const { return name_; }
  int count() const { return static_cast<int>(arguments_.size()); }
  bool has(int position) const { return position >= 1 && position <= count(); }
  // Argument `position` (1-based); a missing one has type Empty.
  const Value& arg(int position) const;
  // As arg, checked against `expected`: a type that is not equal, not in the
  // numeric family with it, while expected is not Any, raises
  // "%s needed for Argument %d of %s".
  const Value& Need(int position, ValueType expected) const;
  // An optional argument: nullptr when absent, else checked as Need.
  const Value* Optional(int position, ValueType expected) const;
  const Value& Text(int position) const { return Need(position, ValueType::kText); }
  double Number(int position) const { return Need(position, ValueType::kNumber).number; }

  Value& result() { return result_; }
  void ReturnNumber(double n, ValueType type = ValueType::kNumber) { result_.SetNumber(n, type); }
  void ReturnLogical(bool b) { result_.SetLogical(b); }
  // A view that stays valid until the next evaluation (an argument's text or a part of it).
  void ReturnView(std::string_view text, ValueType type = ValueType::kText) {
    result_.SetText(text, type);
  }
  // Makes the buffer `length` bytes long (raises "Expression cannot be
  // evaluated" beyond kMaxTextLength) and returns it as the text result.
  char* ReturnText(size_t length);

  const FieldResolver* resolver() const { return resolver_; }
  // The record image being evaluated (may be null without a resolver).
  const uint8_t* record() const { return record_; }
  bool translate() const;

 private:
  const std::string& name_;
  std::span<const Value> arguments_;
  Value& result_;
  std::string& buffer_;
  const FieldResolver* resolver_;
  const uint8_t* record_;
};

using FunctionBody = void (*)(FunctionCall& call);

// A named function of the expression language.
class Function {
 public:
  Function(std::string name, FunctionBody body) : name_(std::move(name)), body_(body) {}
  const std::string& Name() const { return name_; }
  void Evaluate(FunctionCall& call) const { body_(call); }

 private:
  std::string name_;
  FunctionBody body_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_FUNCTION_H_
