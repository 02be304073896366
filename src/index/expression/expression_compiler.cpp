#include "index/expression/expression_compiler.h"

#include <algorithm>
#include <vector>

#include "dbf/errors.h"
#include "index/expression/field_node.h"
#include "index/expression/field_resolver.h"
#include "index/expression/function_node.h"
#include "index/expression/function_registry.h"
#include "index/expression/literal_node.h"
#include "index/expression/operator_node.h"
#include "index/expression/text_case.h"
#include "index/expression/tokenizer.h"

namespace idx {
namespace {

using dbf::ExpressionError;

struct Subtree {
  NodePtr node;
  int depth = 0;
};

// Table functions that may also be written as a bare name (RECNO for RECNO()).
bool IsBareTableFunction(std::string_view name) {
  const std::string upper = UpperAscii(name);
  return upper == "RECNO" || upper == "DELETED" || upper == "BOF" || upper == "EOF";
}

[[noreturn]] void TooDeep() {
  throw ExpressionError("Expression cannot be evaluated");
}

class Compiler {
 public:
  Compiler(std::string_view whole, const FieldResolver* resolver, const CompareSettings& settings)
      : whole_(whole), resolver_(resolver), settings_(settings) {}

  Subtree Compile(std::string_view text, int level) {
    if (level > kMaxExpressionDepth) TooDeep();
    const NameLookup is_known = [this](std::string_view name) { return IsKnownName(name); };
    std::vector<Token> tokens = Tokenize(text, whole_, is_known, resolver_ != nullptr);
    if (tokens.empty()) return {};
    std::vector<Item> items;
    items.reserve(tokens.size());
    for (Token& token : tokens) items.push_back(MakeItem(token, level));
    return Reduce(items);
  }

 private:
  // One entry of the flat list; operators stay "unbound" until they take
  // their operands, then count as operands themselves.
  struct Item {
    Subtree tree;
    OperatorNode* op = nullptr;
    bool bound = false;
    int prev = -1, next = -1;
    bool is_operand() const { return !op || bound; }
  };

  bool IsKnownName(std::string_view name) const {
    if (FindSystemValue(name)) return true;
    if (!resolver_) return false;
    return resolver_->FindField(name) != nullptr || IsBareTableFunction(name);
  }

  Item MakeItem(Token& token, int level) {
    Item item;
    item.tree.depth = 1;
    switch (token.kind) {
      case Token::Kind::kOperator: {
        auto op = std::make_unique<OperatorNode>(token.op, settings_);
        item.op = op.get();
        item.tree.node = std::move(op);
        break;
      }
      case Token::Kind::kGroup: {
        Subtree inner = Compile(token.text, level + 1);
        if (!inner.node) throw ExpressionError("Expression cannot be evaluated");  // "()"
        item.tree.depth = inner.depth + 1;
        item.tree.node = std::make_unique<GroupNode>(std::move(inner.node));
        break;
      }
      case Token::Kind::kFunctionCall:
        item.tree = MakeCall(token, level);
        break;
      case Token::Kind::kName:
        item.tree.node = MakeName(token.text);
        break;
      case Token::Kind::kText:
        item.tree.node = LiteralNode::Text(std::move(token.text));
        break;
      case Token::Kind::kDate:
        item.tree.node = LiteralNode::Date(token.number, std::move(token.text));
        break;
      case Token::Kind::kNumber:
        item.tree.node = LiteralNode::Number(token.number, token.decimals, std::move(token.text));
        break;
      case Token::Kind::kLogical:
        item.tree.node = LiteralNode::Logical(token.logical);
        break;
    }
    if (item.tree.depth > kMaxExpressionDepth) TooDeep();
    return item;
  }

  Subtree MakeCall(const Token& token, int level) {
    const Function* function = FunctionRegistry::Instance().Find(token.text);
    if (!function && resolver_) function = FieldResolver::FindTableFunction(token.text);
    if (!function) {
      throw ExpressionError(dbf::FormatMessage("There is no function for %s", token.text));
    }
    std::vector<NodePtr> arguments;
    int depth = 0;
    for (const std::string& text : token.arguments) {
      Subtree argument = Compile(text, level + 1);
      if (!argument.node) continue;
      depth = std::max(depth, argument.depth);
      arguments.push_back(std::move(argument.node));
    }
    return {std::make_unique<FunctionNode>(*function, std::move(arguments)), depth + 1};
  }

  NodePtr MakeName(const std::string& name) {
    if (const auto value = FindSystemValue(name)) {
      return LiteralNode::SystemValue(*value, UpperAscii(name));
    }
    if (const dbf::FieldDescriptor* field = resolver_->FindField(name)) {
      return std::make_unique<FieldNode>(*field, resolver_->IsReadable(*field));
    }
    return std::make_unique<FunctionNode>(*FieldResolver::FindTableFunction(name),
                                          std::vector<NodePtr>{});
  }

  static Subtree Reduce(std::vector<Item>& items) {
    const int count = static_cast<int>(items.size());
    for (int i = 0; i < count; ++i) {
      items[i].prev = i - 1;
      items[i].next = i + 1 < count ? i + 1 : -1;
    }
    int head = 0;
    for (int precedence = kTightestPrecedence; precedence <= kLoosestPrecedence; ++precedence) {
      for (int i = head; i != -1; i = items[i].next) {
        Item& item = items[i];
        if (item.is_operand() || item.op->precedence() != precedence) continue;
        const int right = item.next != -1 && items[item.next].is_operand() ? item.next : -1;
        const int left = item.op->code() != OperatorCode::kNot && item.prev != -1 &&
                                 items[item.prev].is_operand()
                             ? item.prev
                             : -1;
        int depth = 0;
        NodePtr left_node, right_node;
        if (left != -1) {
          depth = items[left].tree.depth;
          left_node = std::move(items[left].tree.node);
          item.prev = items[left].prev;
          if (item.prev != -1)
            items[item.prev].next = i;
          else
            head = i;
        }
        if (right != -1) {
          depth = std::max(depth, items[right].tree.depth);
          right_node = std::move(items[right].tree.node);
          item.next = items[right].next;
          if (item.next != -1) items[item.next].prev = i;
        }
        item.op->Bind(std::move(left_node), std::move(right_node));
        item.bound = true;
        item.tree.depth = depth + 1;
        if (item.tree.depth > kMaxExpressionDepth) TooDeep();
      }
    }
    if (items[head].next != -1) throw ExpressionError("Expression cannot be evaluated");
    return std::move(items[head].tree);
  }

  std::string_view whole_;
  const FieldResolver* resolver_;
  CompareSettings settings_;
};

}  // namespace

NodePtr CompileTree(std::string_view text, const FieldResolver* resolver,
                    const CompareSettings& settings) {
  TextCase::Get();  // the case tables are built here, never during an evaluation
  return Compiler(text, resolver, settings).Compile(text, 0).node;
}

}  // namespace idx
