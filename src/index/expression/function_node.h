#ifndef SALDEX_INDEX_EXPRESSION_FUNCTION_NODE_H_
#define SALDEX_INDEX_EXPRESSION_FUNCTION_NODE_H_

#include <vector>

#include "index/expression/expression_node.h"
#include "index/expression/function.h"

namespace idx {

// A function call: the arguments are evaluated left to right into slots
// allocated at compile time, then the function fills the result.
class FunctionNode : public ExpressionNode {
 public:
  FunctionNode(const Function& function, std::vector<NodePtr> arguments);

  const Value& Evaluate(const EvalContext& context) override;
  void AppendText(std::string& out) const override;
  void AppendFieldNames(std::string& out) const override;
  int Depth() const override;

 private:
  const Function& function_;
  std::vector<NodePtr> arguments_;
  std::vector<Value> values_;
  std::string buffer_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_FUNCTION_NODE_H_
