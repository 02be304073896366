#include "index/expression/literal_node.h"

namespace idx {
namespace {

// Double quotes, or the first delimiter pair that does not occur in `text`,
// so that the rebuilt text reads back.
std::string Quoted(const std::string& text) {
  const char* const kPairs[] = {"\"\"", "''", "[]"};
  for (const char* pair : kPairs) {
    if (text.find(pair[1]) == std::string::npos) return pair[0] + text + pair[1];
  }
  return '"' + text + '"';
}

}  // namespace

NodePtr LiteralNode::Text(std::string text) {
  std::unique_ptr<LiteralNode> node(new LiteralNode);
  node->text_ = std::move(text);
  node->value_.SetText(node->text_);
  node->width_ = static_cast<uint32_t>(node->text_.size());
  node->source_ = Quoted(node->text_);
  return node;
}

NodePtr LiteralNode::Number(double value, int decimals, std::string source) {
  std::unique_ptr<LiteralNode> node(new LiteralNode);
  node->value_.SetNumber(value);
  node->decimals_ = decimals;
  node->width_ = static_cast<uint32_t>(source.size());
  node->source_ = std::move(source);
  return node;
}

NodePtr LiteralNode::Date(double julian, std::string source) {
  std::unique_ptr<LiteralNode> node(new LiteralNode);
  node->value_.SetNumber(julian, ValueType::kDate);
  node->width_ = 8;
  node->source_ = "{" + source + "}";
  return node;
}

NodePtr LiteralNode::Logical(bool value) {
  std::unique_ptr<LiteralNode> node(new LiteralNode);
  node->value_.SetLogical(value);
  node->width_ = 1;
  node->source_ = value ? ".T." : ".F.";
  return node;
}

NodePtr LiteralNode::SystemValue(const Value& value, std::string name) {
  std::unique_ptr<LiteralNode> node(new LiteralNode);
  node->value_ = value;
  node->width_ = value.type == ValueType::kBoolean ? 1 : 8;
  node->source_ = std::move(name);
  return node;
}

GroupNode::GroupNode(NodePtr inner) : inner_(std::move(inner)) {
  width_ = inner_ ? inner_->width() : 0;
}

const Value& GroupNode::Evaluate(const EvalContext& context) {
  if (!inner_) {
    value_ = Value{};
    return value_;
  }
  return inner_->Evaluate(context);
}

void GroupNode::AppendText(std::string& out) const {
  out += '(';
  if (inner_) inner_->AppendText(out);
  out += ')';
}

void GroupNode::AppendFieldNames(std::string& out) const {
  if (inner_) inner_->AppendFieldNames(out);
}

}  // namespace idx
