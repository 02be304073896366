#ifndef SALDEX_INDEX_EXPRESSION_EXPRESSION_COMPILER_H_
#define SALDEX_INDEX_EXPRESSION_EXPRESSION_COMPILER_H_

#include <string_view>

#include "index/expression/compare_settings.h"
#include "index/expression/expression_node.h"

namespace idx {

class FieldResolver;

// Deepest tree (and deepest nesting of groups and calls) that compiles;
// deeper texts raise "Expression cannot be evaluated".
constexpr int kMaxExpressionDepth = 200;

// Compiles an expression text into a tree: tokens become a flat list, then
// for precedence 2..8 each leftmost unbound operator takes its neighbours as
// children (NOT only the right one), so equal precedence associates to the
// left. Returns nullptr for an empty text. Raises ExpressionError; nothing
// built so far survives a failure. `resolver` may be null.
NodePtr CompileTree(std::string_view text, const FieldResolver* resolver,
                    const CompareSettings& settings);

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_EXPRESSION_COMPILER_H_
