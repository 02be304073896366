#include "index/expression/operator_node.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dbf/errors.h"
#include "index/expression/field_resolver.h"
#include "index/expression/text_compare.h"

namespace idx {
namespace {

using dbf::ExpressionError;
using dbf::FormatMessage;

// Exponents up to this are multiplied out; larger ones use pow.
constexpr double kLargestMultipliedExponent = 64;

double Power(double base, double exponent) {
  const double n = std::trunc(exponent);
  if (!std::isfinite(n) || n > kLargestMultipliedExponent || n < -kLargestMultipliedExponent) {
    return std::pow(base, n);
  }
  double result = 1;
  for (int i = 0; i < std::abs(static_cast<int>(n)); ++i) result *= base;
  if (n >= 0) return result;
  if (result == 0) {
    throw ExpressionError(FormatMessage("Argument for %s must be %s", "^", "non-zero"));
  }
  return 1 / result;
}

}  // namespace

void OperatorNode::Bind(NodePtr left, NodePtr right) {
  left_ = std::move(left);
  right_ = std::move(right);
  if (code_ == OperatorCode::kAdd || code_ == OperatorCode::kSubtract) {
    width_ = (left_ ? left_->width() : 0) + (right_ ? right_->width() : 0);
    buffer_.reserve(width_);
  }
}

void OperatorNode::Invalid(const char* kind) const {
  throw ExpressionError(FormatMessage("A %s value is required but invalid", kind));
}

const Value& OperatorNode::Evaluate(const EvalContext& context) {
  if (!right_) {
    throw ExpressionError(
        FormatMessage("Target value missing for %s operation", OperatorMessageName(code_)));
  }
  const Value& right = right_->Evaluate(context);
  if (code_ == OperatorCode::kNot) {
    if (right.type != ValueType::kBoolean) Invalid("assigned");
    value_.SetLogical(!right.logical);
    return value_;
  }
  if (!left_) {
    throw ExpressionError(
        FormatMessage("Target value missing for %s operation", OperatorMessageName(code_)));
  }
  const Value& left = left_->Evaluate(context);
  if (!TypesMatch(left.type, right.type)) {
    throw ExpressionError("The two sides of an operation do not match");
  }
  if (IsTextLike(right.type)) {
    EvaluateText(left, right, context.resolver ? context.resolver->translate() : false);
  } else if (IsNumericFamily(right.type)) {
    EvaluateNumeric(left, right);
  } else if (right.type == ValueType::kBoolean) {
    EvaluateBoolean(left, right);
  } else {
    Invalid("assigned");
  }
  return value_;
}

void OperatorNode::EvaluateText(const Value& left, const Value& right, bool translate) {
  const std::string_view l = left.text, r = right.text;
  switch (code_) {
    case OperatorCode::kAdd: {
      char* out = PrepareText(buffer_, l.size() + r.size());
      if (!l.empty()) std::memcpy(out, l.data(), l.size());
      if (!r.empty()) std::memcpy(out + l.size(), r.data(), r.size());
      value_.SetText(buffer_, right.type);
      return;
    }
    case OperatorCode::kSubtract: {
      const std::string_view trimmed = TrimTrailingBlanks(l);
      char* out = PrepareText(buffer_, l.size() + r.size());
      if (!trimmed.empty()) std::memcpy(out, trimmed.data(), trimmed.size());
      if (!r.empty()) std::memcpy(out + trimmed.size(), r.data(), r.size());
      std::memset(out + trimmed.size() + r.size(), ' ', l.size() - trimmed.size());
      value_.SetText(buffer_, right.type);
      return;
    }
    case OperatorCode::kContainedIn:
      value_.SetLogical(r.find(l) != std::string_view::npos);
      return;
    case OperatorCode::kExactlyEqual:
      value_.SetLogical(l == r);
      return;
    case OperatorCode::kEqual:
    case OperatorCode::kNotEqual: {
      const std::string_view pattern = TrimTrailingBlanks(r);
      bool equal;
      if (settings_.wildcards && !pattern.empty() &&
          (pattern.front() == settings_.many || pattern.back() == settings_.many)) {
        equal = MatchesPattern(TrimTrailingBlanks(l), pattern, settings_, translate);
      } else {
        equal = CompareText(l, r, settings_.case_insensitive, translate) == 0;
      }
      value_.SetLogical(code_ == OperatorCode::kEqual ? equal : !equal);
      return;
    }
    case OperatorCode::kGreater:
    case OperatorCode::kLess:
    case OperatorCode::kGreaterOrEqual:
    case OperatorCode::kLessOrEqual: {
      const int d = CompareText(l, r, settings_.case_insensitive, translate);
      value_.SetLogical(code_ == OperatorCode::kGreater          ? d > 0
                        : code_ == OperatorCode::kLess           ? d < 0
                        : code_ == OperatorCode::kGreaterOrEqual ? d >= 0
                                                                 : d <= 0);
      return;
    }
    default:
      Invalid("assigned");
  }
}

void OperatorNode::EvaluateNumeric(const Value& left, const Value& right) {
  const double l = left.number, r = right.number;
  switch (code_) {
    case OperatorCode::kAdd:
      value_.SetNumber(l + r, right.type);
      return;
    case OperatorCode::kSubtract:
      value_.SetNumber(l - r, right.type);
      return;
    case OperatorCode::kMultiply:
      value_.SetNumber(l * r, right.type);
      return;
    case OperatorCode::kDivide:
      if (r == 0)
        throw ExpressionError(FormatMessage("Argument for %s must be %s", "/", "non-zero"));
      value_.SetNumber(l / r, right.type);
      return;
    case OperatorCode::kPower:
      value_.SetNumber(Power(l, r), right.type);
      return;
    case OperatorCode::kExactlyEqual:
      value_.SetLogical(l == r);
      return;
    case OperatorCode::kEqual:
      value_.SetLogical(l - r == 0);
      return;
    case OperatorCode::kNotEqual:
      value_.SetLogical(l - r != 0);
      return;
    case OperatorCode::kGreater:
      value_.SetLogical(l - r > 0);
      return;
    case OperatorCode::kLess:
      value_.SetLogical(l - r < 0);
      return;
    case OperatorCode::kGreaterOrEqual:
      value_.SetLogical(l - r >= 0);
      return;
    case OperatorCode::kLessOrEqual:
      value_.SetLogical(l - r <= 0);
      return;
    default:
      Invalid("assigned");
  }
}

void OperatorNode::EvaluateBoolean(const Value& left, const Value& right) {
  const bool l = left.logical, r = right.logical;
  switch (code_) {
    case OperatorCode::kEqual:
    case OperatorCode::kExactlyEqual:
      value_.SetLogical(l == r);
      return;
    case OperatorCode::kNotEqual:
      value_.SetLogical(l != r);
      return;
    case OperatorCode::kAnd:
      value_.SetLogical(l && r);
      return;
    case OperatorCode::kOr:
      value_.SetLogical(l || r);
      return;
    case OperatorCode::kAdd:
    case OperatorCode::kSubtract:
    case OperatorCode::kMultiply:
    case OperatorCode::kDivide:
    case OperatorCode::kPower:
      Invalid("number");
    default:
      Invalid("assigned");
  }
}

void OperatorNode::AppendText(std::string& out) const {
  if (code_ == OperatorCode::kNot) {
    out += ".NOT. ";
    if (right_) right_->AppendText(out);
    return;
  }
  if (left_) left_->AppendText(out);
  out += ' ';
  out += OperatorText(code_);
  if (right_) {
    out += ' ';
    right_->AppendText(out);
  }
}

void OperatorNode::AppendFieldNames(std::string& out) const {
  if (left_) left_->AppendFieldNames(out);
  if (right_) right_->AppendFieldNames(out);
}

int OperatorNode::Depth() const {
  return 1 + std::max(left_ ? left_->Depth() : 0, right_ ? right_->Depth() : 0);
}

}  // namespace idx
