#include "index/expression/function.h"

#include "dbf/errors.h"
#include "index/expression/expression_node.h"
#include "index/expression/field_resolver.h"

namespace idx {
namespace {

const Value kMissing{ValueType::kEmpty, 0, false, {}};

}  // namespace

const Value& FunctionCall::arg(int position) const {
  return has(position) ? arguments_[position - 1] : kMissing;
}

const Value& FunctionCall::Need(int position, ValueType expected) const {
  const Value& value = arg(position);
  if (expected != ValueType::kAny && !TypesMatch(value.type, expected)) {
    throw dbf::ExpressionError(dbf::FormatMessage("%s needed for Argument %d of %s",
                                                  ValueTypeName(expected), std::to_string(position),
                                                  name_));
  }
  return value;
}

const Value* FunctionCall::Optional(int position, ValueType expected) const {
  if (!has(position)) return nullptr;
  return &Need(position, expected);
}

char* FunctionCall::ReturnText(size_t length) {
  if (length > kMaxTextLength) throw dbf::ExpressionError("Expression cannot be evaluated");
  buffer_.resize(length);
  result_.SetText(buffer_);
  return buffer_.data();
}

bool FunctionCall::translate() const {
  return resolver_ ? resolver_->translate() : false;
}

}  // namespace idx
