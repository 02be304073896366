#ifndef SALDEX_INDEX_EXPRESSION_OPERATOR_NODE_H_
#define SALDEX_INDEX_EXPRESSION_OPERATOR_NODE_H_

#include "index/expression/compare_settings.h"
#include "index/expression/expression_node.h"
#include "index/expression/operators.h"

namespace idx {

// A binary operator, or NOT (right child only). The right child is evaluated
// first. The operation is chosen by the right operand's type; arithmetic
// gives the right operand's type, comparisons and logic give Boolean.
class OperatorNode : public ExpressionNode {
 public:
  OperatorNode(OperatorCode code, const CompareSettings& settings)
      : code_(code), settings_(settings) {}

  OperatorCode code() const { return code_; }
  int precedence() const { return Precedence(code_); }
  // Either child may stay absent; evaluation then raises "Target value
  // missing for %s operation".
  void Bind(NodePtr left, NodePtr right);

  const Value& Evaluate(const EvalContext& context) override;
  void AppendText(std::string& out) const override;
  void AppendFieldNames(std::string& out) const override;
  int Depth() const override;

 private:
  [[noreturn]] void Invalid(const char* kind) const;
  void EvaluateText(const Value& left, const Value& right, bool translate);
  void EvaluateNumeric(const Value& left, const Value& right);
  void EvaluateBoolean(const Value& left, const Value& right);

  OperatorCode code_;
  CompareSettings settings_;
  NodePtr left_, right_;
  std::string buffer_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_OPERATOR_NODE_H_
