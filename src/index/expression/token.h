#ifndef SALDEX_INDEX_EXPRESSION_TOKEN_H_
#define SALDEX_INDEX_EXPRESSION_TOKEN_H_

#include <string>
#include <vector>

#include "index/expression/operators.h"

namespace idx {

// One token of an expression text, as the two-state scanner reads it.
struct Token {
  enum class Kind {
    kOperator,      // `op`
    kGroup,         // `text`: the text between the parentheses
    kFunctionCall,  // `text`: the name as written; `arguments`: non-empty argument texts
    kName,          // `text`: a known name (field, alias.field, system value)
    kText,          // `text`: content; `delimiter`: the opening character
    kDate,          // `text`: content between the braces; `number`: Julian day
    kNumber,        // `text`: as written; `number`, `decimals`
    kLogical,       // `logical`
  };

  Kind kind = Kind::kName;
  OperatorCode op = OperatorCode::kAdd;
  std::string text;
  std::vector<std::string> arguments;
  double number = 0;
  int decimals = 0;
  bool logical = false;
  char delimiter = '"';
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_TOKEN_H_
