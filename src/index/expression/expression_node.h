#ifndef SALDEX_INDEX_EXPRESSION_EXPRESSION_NODE_H_
#define SALDEX_INDEX_EXPRESSION_EXPRESSION_NODE_H_

#include <cstdint>
#include <memory>
#include <string>

#include "index/expression/value.h"

namespace idx {

class FieldResolver;

// What one evaluation reads: the table's resolver (may be null) and the
// record image (R bytes, deletion flag first) the field nodes decode.
struct EvalContext {
  const FieldResolver* resolver = nullptr;
  const uint8_t* record = nullptr;
};

// Longest text an operator or function may produce; longer results raise
// "Expression cannot be evaluated".
constexpr size_t kMaxTextLength = size_t{1} << 20;

// A node of the compiled tree. Each node owns its value slot (and, where it
// builds text, a buffer sized at compile time), so evaluating allocates
// nothing once the buffers have reached their working size.
class ExpressionNode {
 public:
  virtual ~ExpressionNode() = default;
  ExpressionNode(const ExpressionNode&) = delete;
  ExpressionNode& operator=(const ExpressionNode&) = delete;

  // The returned value stays valid until this node is evaluated again.
  virtual const Value& Evaluate(const EvalContext& context) = 0;
  // Appends the node rebuilt as expression text.
  virtual void AppendText(std::string& out) const = 0;
  // Appends "NAME;" for every table field read, in order of appearance.
  virtual void AppendFieldNames(std::string& /*out*/) const {}
  // Height of the subtree (a leaf is 1).
  virtual int Depth() const { return 1; }

  // Field width, literal text length, or the expected length of a text result.
  uint32_t width() const { return width_; }
  ValueType last_type() const { return value_.type; }

 protected:
  ExpressionNode() = default;
  // Makes `buffer` hold `length` bytes and returns its data. Raises
  // "Expression cannot be evaluated" beyond kMaxTextLength.
  static char* PrepareText(std::string& buffer, size_t length);

  Value value_;
  uint32_t width_ = 0;
};

using NodePtr = std::unique_ptr<ExpressionNode>;

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_EXPRESSION_NODE_H_
