#include "index/expression/function_node.h"

#include <algorithm>

namespace idx {
namespace {

// Room reserved beyond the arguments' widths for a text result (STR's
// default width, a date text).
constexpr uint32_t kSpareTextRoom = 16;

}  // namespace

FunctionNode::FunctionNode(const Function& function, std::vector<NodePtr> arguments)
    : function_(function), arguments_(std::move(arguments)), values_(arguments_.size()) {
  uint32_t width = 0;
  for (const NodePtr& argument : arguments_) width += argument->width();
  width_ = width;
  buffer_.reserve(width + kSpareTextRoom);
}

const Value& FunctionNode::Evaluate(const EvalContext& context) {
  for (size_t i = 0; i < arguments_.size(); ++i) values_[i] = arguments_[i]->Evaluate(context);
  FunctionCall call(function_.Name(), values_, value_, buffer_, context.resolver, context.record);
  function_.Evaluate(call);
  return value_;
}

void FunctionNode::AppendText(std::string& out) const {
  out += function_.Name();
  out += '(';
  for (size_t i = 0; i < arguments_.size(); ++i) {
    if (i) out += ',';
    arguments_[i]->AppendText(out);
  }
  out += ')';
}

void FunctionNode::AppendFieldNames(std::string& out) const {
  for (const NodePtr& argument : arguments_) argument->AppendFieldNames(out);
}

int FunctionNode::Depth() const {
  int depth = 0;
  for (const NodePtr& argument : arguments_) depth = std::max(depth, argument->Depth());
  return depth + 1;
}

}  // namespace idx
