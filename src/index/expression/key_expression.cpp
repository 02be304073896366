#include "index/expression/key_expression.h"

#include <cmath>

#include "index/expression/expression_compiler.h"
#include "index/expression/field_resolver.h"

namespace idx {

KeyExpression KeyExpression::Compile(std::string_view text, const FieldResolver* resolver,
                                     const CompareSettings& settings) {
  KeyExpression expression;
  expression.root_ = CompileTree(text, resolver, settings);
  expression.source_ = std::string(text);
  expression.resolver_ = resolver;
  expression.settings_ = settings;
  return expression;
}

const Value& KeyExpression::Evaluate() {
  return Evaluate(resolver_ ? resolver_->record() : nullptr);
}

const Value& KeyExpression::Evaluate(const uint8_t* record) {
  if (!root_) {
    result_type_ = ValueType::kUnknown;
    return unknown_;
  }
  result_type_ = ValueType::kUnknown;
  const Value& value = root_->Evaluate(EvalContext{resolver_, record});
  result_type_ = value.type;
  return value;
}

void KeyExpression::EvaluateToKey(KeyValue& key) {
  StoreKey(Evaluate(), key);
}

void KeyExpression::EvaluateToKey(KeyValue& key, const uint8_t* record) {
  StoreKey(Evaluate(record), key);
}

void KeyExpression::StoreKey(const Value& value, KeyValue& key) {
  switch (value.type) {
    case ValueType::kText:
      key = KeyValue::Character(value.text);
      break;
    case ValueType::kNumber:
    case ValueType::kDateTime:
      key = KeyValue::Float(value.number);
      break;
    case ValueType::kDate: {
      // The empty date and anything beyond 32 bits is stored as day 0.
      const double day = std::trunc(value.number);
      key =
          KeyValue::JulianDay(day >= INT32_MIN && day <= INT32_MAX ? static_cast<int32_t>(day) : 0);
      break;
    }
    case ValueType::kBoolean:
      key = KeyValue::Logical(value.logical);
      break;
    default:
      result_type_ = ValueType::kUnknown;
      break;
  }
}

std::string KeyExpression::FieldNames() const {
  std::string names;
  if (root_) root_->AppendFieldNames(names);
  return names;
}

std::string KeyExpression::Text() const {
  std::string text;
  if (root_) root_->AppendText(text);
  return text;
}

}  // namespace idx
