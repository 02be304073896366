#ifndef SALDEX_INDEX_EXPRESSION_OPERATORS_H_
#define SALDEX_INDEX_EXPRESSION_OPERATORS_H_

#include <optional>
#include <string_view>

namespace idx {

// Operator codes of the expression language. A smaller precedence binds
// tighter; equal precedence associates to the left.
//
//  Code Spellings                   Prec Meaning
//  141  ^ **                        2    power
//  139  *                           3    multiply
//  140  /                           3    divide
//  137  +                           4    add / concatenate
//  138  -                           4    subtract / concatenate moving blanks
//  129  = EQ                        5    equal
//  130  # <> != NE                  5    not equal
//  131  > GT                        5    greater
//  132  < LT                        5    less
//  133  >= => GE                    5    greater or equal
//  134  <= =< LE                    5    less or equal
//  135  $                           5    contained in
//  136  ==                          5    exactly equal
//  146  NOT .NOT. ! (operand place) 6    negation
//  144  AND                         7    and
//  145  OR                          8    or
enum class OperatorCode : int {
  kEqual = 129,
  kNotEqual = 130,
  kGreater = 131,
  kLess = 132,
  kGreaterOrEqual = 133,
  kLessOrEqual = 134,
  kContainedIn = 135,
  kExactlyEqual = 136,
  kAdd = 137,
  kSubtract = 138,
  kMultiply = 139,
  kDivide = 140,
  kPower = 141,
  kAnd = 144,
  kOr = 145,
  kNot = 146,
};

constexpr int kTightestPrecedence = 2;
constexpr int kLoosestPrecedence = 8;

int Precedence(OperatorCode code);
// The operator's text in messages and in rebuilt expression text: "=", "#",
// ..., "^", "$", "==", ".AND.", ".OR.", ".NOT.".
const char* OperatorText(OperatorCode code);
// The name used in "Target value missing for %s operation": as OperatorText
// but "in string" for "$" and "exactly equal" for "==".
const char* OperatorMessageName(OperatorCode code);

// A symbol operator ("<=", "**", "#", ...); nullopt when not in the table.
std::optional<OperatorCode> SymbolOperator(std::string_view symbol);
// A word operator without its periods (AND, OR, EQ, NE, GE, LE, LT, GT), any case.
std::optional<OperatorCode> WordOperator(std::string_view word);

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_OPERATORS_H_
