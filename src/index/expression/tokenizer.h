#ifndef SALDEX_INDEX_EXPRESSION_TOKENIZER_H_
#define SALDEX_INDEX_EXPRESSION_TOKENIZER_H_

#include <functional>
#include <string_view>
#include <vector>

#include "index/expression/token.h"

namespace idx {

// Whether a name (upper case allowed in any case; "ALIAS.FIELD" form for
// alias notation) is a system value or a field the compiler can resolve.
using NameLookup = std::function<bool(std::string_view name)>;

// Reads an expression text into tokens with a two-state scanner (operand /
// operator). A NOT that is not the first token wraps the rest of the text,
// NOT included, in one group token. Raises ExpressionError; `whole_text` is
// the expression named by the syntax-error message; `have_fields` chooses
// "Field/variable %s is unknown" (false) over "There is no function for %s".
std::vector<Token> Tokenize(std::string_view text, std::string_view whole_text,
                            const NameLookup& is_known, bool have_fields);

// Splits argument text at commas outside quotes, brackets, braces and
// parentheses; blank arguments are dropped. Each argument is trimmed.
std::vector<std::string> SplitArguments(std::string_view text);

// Blanks of the expression language: space, tab, CR, LF.
bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view text);
// Decimal text: optional sign, digits, at most one '.'; anything else reads 0.
double ReadDecimal(std::string_view text);

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_TOKENIZER_H_
