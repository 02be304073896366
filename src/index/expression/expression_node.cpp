#include "index/expression/expression_node.h"

#include "dbf/errors.h"

namespace idx {

char* ExpressionNode::PrepareText(std::string& buffer, size_t length) {
  if (length > kMaxTextLength) throw dbf::ExpressionError("Expression cannot be evaluated");
  buffer.resize(length);
  return buffer.data();
}

}  // namespace idx
