#ifndef SALDEX_INDEX_EXPRESSION_KEY_EXPRESSION_H_
#define SALDEX_INDEX_EXPRESSION_KEY_EXPRESSION_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "index/expression/compare_settings.h"
#include "index/expression/expression_node.h"
#include "index/expression/key_value.h"
#include "index/expression/value.h"

namespace idx {

class FieldResolver;

// An xBase expression compiled once against one table and evaluated many
// times over record images. Evaluating allocates no tree; text results point
// into buffers the tree owns (valid until the next evaluation).
//
// REQUIRES: the resolver outlives the expression. Not thread-safe: one
// expression evaluates on one thread at a time.
class KeyExpression {
 public:
  KeyExpression() = default;
  KeyExpression(KeyExpression&&) noexcept = default;
  KeyExpression& operator=(KeyExpression&&) noexcept = default;

  // Empty text gives an expression without a tree (evaluates to Unknown).
  // `resolver` may be null: then only literals, functions and system values
  // compile. Raises ExpressionError.
  static KeyExpression Compile(std::string_view text, const FieldResolver* resolver,
                               const CompareSettings& settings = {});

  // Over the resolver's current record image.
  const Value& Evaluate();
  // Over `record` (record_length() bytes of the resolver's table).
  const Value& Evaluate(const uint8_t* record);

  // Evaluates and stores the result: Text as characters, Number and
  // DateTime as a float, Date as a 32-bit Julian integer, Boolean as a
  // logical byte. Any other type leaves `key` untouched and ResultType()
  // becomes Unknown.
  void EvaluateToKey(KeyValue& key);
  void EvaluateToKey(KeyValue& key, const uint8_t* record);

  // "NAME;" for every table field read, in order of appearance.
  std::string FieldNames() const;
  // The expression rebuilt from the tree.
  std::string Text() const;
  ValueType ResultType() const { return result_type_; }

  const std::string& source() const { return source_; }
  bool empty() const { return !root_; }
  const FieldResolver* resolver() const { return resolver_; }
  // The width the tree expects its result to have (field widths, literal lengths).
  uint32_t width() const { return root_ ? root_->width() : 0; }

 private:
  void StoreKey(const Value& value, KeyValue& key);

  std::string source_;
  NodePtr root_;
  const FieldResolver* resolver_ = nullptr;
  CompareSettings settings_;
  ValueType result_type_ = ValueType::kUnknown;
  Value unknown_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_KEY_EXPRESSION_H_
