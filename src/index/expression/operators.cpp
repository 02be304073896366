#include "index/expression/operators.h"

#include "dbf/ascii_text.h"

namespace idx {
namespace {

struct Spelling {
  const char* text;
  OperatorCode code;
};

constexpr Spelling kSymbols[] = {
    {"^", OperatorCode::kPower},
    {"**", OperatorCode::kPower},
    {"*", OperatorCode::kMultiply},
    {"/", OperatorCode::kDivide},
    {"+", OperatorCode::kAdd},
    {"-", OperatorCode::kSubtract},
    {"=", OperatorCode::kEqual},
    {"#", OperatorCode::kNotEqual},
    {"<>", OperatorCode::kNotEqual},
    {"!=", OperatorCode::kNotEqual},
    {">", OperatorCode::kGreater},
    {"<", OperatorCode::kLess},
    {">=", OperatorCode::kGreaterOrEqual},
    {"=>", OperatorCode::kGreaterOrEqual},
    {"<=", OperatorCode::kLessOrEqual},
    {"=<", OperatorCode::kLessOrEqual},
    {"$", OperatorCode::kContainedIn},
    {"==", OperatorCode::kExactlyEqual},
};

constexpr Spelling kWords[] = {
    {"AND", OperatorCode::kAnd},           {"OR", OperatorCode::kOr},
    {"EQ", OperatorCode::kEqual},          {"NE", OperatorCode::kNotEqual},
    {"GE", OperatorCode::kGreaterOrEqual}, {"LE", OperatorCode::kLessOrEqual},
    {"LT", OperatorCode::kLess},           {"GT", OperatorCode::kGreater},
};

}  // namespace

int Precedence(OperatorCode code) {
  switch (code) {
    case OperatorCode::kPower:
      return 2;
    case OperatorCode::kMultiply:
    case OperatorCode::kDivide:
      return 3;
    case OperatorCode::kAdd:
    case OperatorCode::kSubtract:
      return 4;
    case OperatorCode::kNot:
      return 6;
    case OperatorCode::kAnd:
      return 7;
    case OperatorCode::kOr:
      return 8;
    default:
      return 5;
  }
}

const char* OperatorText(OperatorCode code) {
  switch (code) {
    case OperatorCode::kEqual:
      return "=";
    case OperatorCode::kNotEqual:
      return "#";
    case OperatorCode::kGreater:
      return ">";
    case OperatorCode::kLess:
      return "<";
    case OperatorCode::kGreaterOrEqual:
      return ">=";
    case OperatorCode::kLessOrEqual:
      return "<=";
    case OperatorCode::kContainedIn:
      return "$";
    case OperatorCode::kExactlyEqual:
      return "==";
    case OperatorCode::kAdd:
      return "+";
    case OperatorCode::kSubtract:
      return "-";
    case OperatorCode::kMultiply:
      return "*";
    case OperatorCode::kDivide:
      return "/";
    case OperatorCode::kPower:
      return "^";
    case OperatorCode::kAnd:
      return ".AND.";
    case OperatorCode::kOr:
      return ".OR.";
    case OperatorCode::kNot:
      return ".NOT.";
  }
  return "?";
}

const char* OperatorMessageName(OperatorCode code) {
  if (code == OperatorCode::kContainedIn) return "in string";
  if (code == OperatorCode::kExactlyEqual) return "exactly equal";
  return OperatorText(code);
}

std::optional<OperatorCode> SymbolOperator(std::string_view symbol) {
  for (const Spelling& s : kSymbols) {
    if (symbol == s.text) return s.code;
  }
  return std::nullopt;
}

std::optional<OperatorCode> WordOperator(std::string_view word) {
  for (const Spelling& s : kWords) {
    if (dbf::EqualsIgnoringCase(word, s.text)) return s.code;
  }
  return std::nullopt;
}

}  // namespace idx
