#ifndef SALDEX_INDEX_EXPRESSION_LITERAL_NODE_H_
#define SALDEX_INDEX_EXPRESSION_LITERAL_NODE_H_

#include <string>

#include "index/expression/expression_node.h"

namespace idx {

// A constant: text, number, date or logical literal, or a system value
// (TRUE, FALSE, PI). `source` is how Text() writes it back.
class LiteralNode : public ExpressionNode {
 public:
  static NodePtr Text(std::string text);
  // `source` is the number as written; width is its length.
  static NodePtr Number(double value, int decimals, std::string source);
  // `source` is the text between the braces.
  static NodePtr Date(double julian, std::string source);
  static NodePtr Logical(bool value);
  static NodePtr SystemValue(const Value& value, std::string name);

  const Value& Evaluate(const EvalContext&) override { return value_; }
  void AppendText(std::string& out) const override { out += source_; }
  int decimals() const { return decimals_; }

 private:
  LiteralNode() = default;

  std::string text_;  // the text literal's content; value_.text points here
  std::string source_;
  int decimals_ = 0;
};

// A parenthesised subexpression; an empty one evaluates to type Unknown.
class GroupNode : public ExpressionNode {
 public:
  explicit GroupNode(NodePtr inner);

  const Value& Evaluate(const EvalContext& context) override;
  void AppendText(std::string& out) const override;
  void AppendFieldNames(std::string& out) const override;
  int Depth() const override { return 1 + (inner_ ? inner_->Depth() : 0); }

 private:
  NodePtr inner_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_LITERAL_NODE_H_
