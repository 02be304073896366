#include "index/expression/tokenizer.h"

#include <cctype>
#include <charconv>
#include <string>

#include "dbf/errors.h"
#include "index/expression/date_text.h"

namespace idx {
namespace {

using dbf::ExpressionError;
using dbf::FormatMessage;

bool IsLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsNameStart(char c) {
  return IsLetter(c) || c == '_';
}
bool IsNameChar(char c) {
  return IsNameStart(c) || IsDigit(c);
}

bool StartsWithIgnoringCase(std::string_view text, size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[pos + i])) != word[i]) return false;
  }
  return true;
}

// Closing delimiter of a text literal opened by `open`, or 0.
char LiteralCloser(char open) {
  switch (open) {
    case '"':
      return '"';
    case '\'':
      return '\'';
    case '[':
      return ']';
    default:
      return 0;
  }
}

// Position of the ")" matching the "(" at `open`, skipping text literals;
// npos when there is none.
size_t MatchingParenthesis(std::string_view text, size_t open) {
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    const char c = text[i];
    if (const char closer = LiteralCloser(c)) {
      const size_t end = text.find(closer, i + 1);
      if (end == std::string_view::npos) return std::string_view::npos;
      i = end;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth == 0) {
      return i;
    }
  }
  return std::string_view::npos;
}

class Scanner {
 public:
  Scanner(std::string_view text, std::string_view whole, const NameLookup& is_known,
          bool have_fields)
      : text_(text), whole_(whole), is_known_(is_known), have_fields_(have_fields) {}

  std::vector<Token> Run() {
    bool operand_state = true;
    while (SkipBlanks()) {
      if (operand_state) {
        if (ReadNot()) continue;  // stays in operand state
        ReadOperand();
      } else {
        ReadOperator();
      }
      operand_state = !operand_state;
    }
    return std::move(tokens_);
  }

 private:
  bool SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    return pos_ < text_.size();
  }

  [[noreturn]] void SyntaxError() const {
    throw ExpressionError(FormatMessage("Syntax Error in expression \"%s\"", std::string(whole_)));
  }

  // NOT, ".NOT." or "!". First in the text it is an operator; later it makes
  // the rest of the text, NOT included, one group.
  bool ReadNot() {
    size_t length = 0;
    if (text_[pos_] == '!') {
      length = 1;
    } else if (StartsWithIgnoringCase(text_, pos_, ".NOT.")) {
      length = 5;
    } else if (StartsWithIgnoringCase(text_, pos_, "NOT") &&
               (pos_ + 3 == text_.size() || !IsNameChar(text_[pos_ + 3]))) {
      length = 3;
    } else {
      return false;
    }
    Token token;
    if (tokens_.empty()) {
      token.kind = Token::Kind::kOperator;
      token.op = OperatorCode::kNot;
      pos_ += length;
      tokens_.push_back(std::move(token));
      return true;
    }
    token.kind = Token::Kind::kGroup;
    token.text = std::string(text_.substr(pos_));
    pos_ = text_.size();
    tokens_.push_back(std::move(token));
    return false;  // the group is the operand; the caller moves to operator state
  }

  void ReadOperand() {
    if (pos_ == text_.size()) return;  // NOT-later consumed the rest as a group
    const char c = text_[pos_];
    if (c == '(') return ReadGroup();
    if (c == '.') return ReadLogical();
    if (IsNameStart(c)) return ReadName();
    if (LiteralCloser(c)) return ReadText();
    if (c == '{') return ReadDate();
    if (c == '+' || c == '-' || IsDigit(c)) return ReadNumber();
    SyntaxError();
  }

  void ReadGroup() {
    const size_t close = MatchingParenthesis(text_, pos_);
    if (close == std::string_view::npos) throw ExpressionError("Missing closing parentheses");
    Token token;
    token.kind = Token::Kind::kGroup;
    token.text = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close + 1;
    tokens_.push_back(std::move(token));
  }

  void ReadLogical() {
    const size_t close = text_.find('.', pos_ + 1);
    if (close == std::string_view::npos) throw ExpressionError("Missing closing period");
    const std::string_view inside = text_.substr(pos_ + 1, close - pos_ - 1);
    if (inside.size() != 1 || (std::toupper(static_cast<unsigned char>(inside[0])) != 'T' &&
                               std::toupper(static_cast<unsigned char>(inside[0])) != 'F')) {
      throw ExpressionError("Expecting \".T.\" or \".F.\"");
    }
    Token token;
    token.kind = Token::Kind::kLogical;
    token.logical = std::toupper(static_cast<unsigned char>(inside[0])) == 'T';
    pos_ = close + 1;
    tokens_.push_back(std::move(token));
  }

  std::string_view ReadIdentifier() {
    const size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  void ReadName() {
    std::string name(ReadIdentifier());
    if (pos_ < text_.size() && text_[pos_] == '(') {
      const size_t close = MatchingParenthesis(text_, pos_);
      if (close == std::string_view::npos) throw ExpressionError("Missing closing parentheses");
      Token token;
      token.kind = Token::Kind::kFunctionCall;
      token.text = std::move(name);
      token.arguments = SplitArguments(text_.substr(pos_ + 1, close - pos_ - 1));
      pos_ = close + 1;
      tokens_.push_back(std::move(token));
      return;
    }
    while (!is_known_(name)) {
      size_t next = pos_;
      if (text_.compare(pos_, 2, "->") == 0) {
        next = pos_ + 2;
      } else if (pos_ < text_.size() && text_[pos_] == '.') {
        next = pos_ + 1;
      } else {
        break;
      }
      if (next >= text_.size() || !IsNameStart(text_[next])) break;
      pos_ = next;
      name += '.';
      name += ReadIdentifier();
    }
    if (!is_known_(name)) {
      throw ExpressionError(FormatMessage(
          have_fields_ ? "There is no function for %s" : "Field/variable %s is unknown", name));
    }
    Token token;
    token.kind = Token::Kind::kName;
    token.text = std::move(name);
    tokens_.push_back(std::move(token));
  }

  void ReadText() {
    const char open = text_[pos_];
    const size_t close = text_.find(LiteralCloser(open), pos_ + 1);
    if (close == std::string_view::npos) {
      throw ExpressionError(
          FormatMessage("Missing closing \"%s\" on literal", std::string(1, open)));
    }
    Token token;
    token.kind = Token::Kind::kText;
    token.delimiter = open;
    token.text = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close + 1;
    tokens_.push_back(std::move(token));
  }

  void ReadDate() {
    const size_t close = text_.find('}', pos_ + 1);
    if (close == std::string_view::npos) throw ExpressionError("Missing closing \"{\" on literal");
    Token token;
    token.kind = Token::Kind::kDate;
    token.text = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
    token.number = ParseDateTextOrThrow(TrimBlanks(token.text));
    pos_ = close + 1;
    tokens_.push_back(std::move(token));
  }

  void ReadNumber() {
    const size_t start = pos_++;
    while (pos_ < text_.size() && (IsDigit(text_[pos_]) || text_[pos_] == '.')) ++pos_;
    Token token;
    token.kind = Token::Kind::kNumber;
    token.text = std::string(text_.substr(start, pos_ - start));
    token.number = ReadDecimal(token.text);
    const size_t point = token.text.find('.');
    token.decimals =
        point == std::string::npos ? 0 : static_cast<int>(token.text.size() - point - 1);
    tokens_.push_back(std::move(token));
  }

  void ReadOperator() {
    static constexpr std::string_view kSymbolStart = "!#$*+-/<=>^";
    static constexpr std::string_view kSymbolMore = "*<=>";
    const char c = text_[pos_];
    std::optional<OperatorCode> code;
    if (kSymbolStart.find(c) != std::string_view::npos) {
      const size_t start = pos_++;
      while (pos_ < text_.size() && kSymbolMore.find(text_[pos_]) != std::string_view::npos) ++pos_;
      code = SymbolOperator(text_.substr(start, pos_ - start));
    } else if (c == '.') {
      ++pos_;
      const size_t start = pos_;
      while (pos_ < text_.size() && IsLetter(text_[pos_])) ++pos_;
      const std::string_view word = text_.substr(start, pos_ - start);
      if (pos_ < text_.size() && text_[pos_] == '.') {
        ++pos_;
        code = WordOperator(word);
      }
    } else if (IsLetter(c)) {
      const size_t start = pos_;
      while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
      code = WordOperator(text_.substr(start, pos_ - start));
    }
    if (!code) SyntaxError();
    Token token;
    token.kind = Token::Kind::kOperator;
    token.op = *code;
    tokens_.push_back(std::move(token));
  }

  std::string_view text_;
  std::string_view whole_;
  const NameLookup& is_known_;
  bool have_fields_;
  size_t pos_ = 0;
  std::vector<Token> tokens_;
};

}  // namespace

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

double ReadDecimal(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::string_view body = text.substr(i);
  int points = 0, digits = 0;
  for (char c : body) {
    if (c == '.') {
      ++points;
    } else if (IsDigit(c)) {
      ++digits;
    } else {
      return 0;
    }
  }
  if (digits == 0 || points > 1) return 0;
  double value = 0;
  const auto result = std::from_chars(body.data(), body.data() + body.size(), value);
  if (result.ec != std::errc() || result.ptr != body.data() + body.size()) return 0;
  return negative ? -value : value;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<Token> Tokenize(std::string_view text, std::string_view whole_text,
                            const NameLookup& is_known, bool have_fields) {
  return Scanner(TrimBlanks(text), whole_text, is_known, have_fields).Run();
}

std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> arguments;
  int depth = 0;
  size_t start = 0;
  auto flush = [&](size_t end) {
    const std::string_view argument = TrimBlanks(text.substr(start, end - start));
    if (!argument.empty()) arguments.emplace_back(argument);
    start = end + 1;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (const char closer = LiteralCloser(c)) {
      const size_t end = text.find(closer, i + 1);
      if (end == std::string_view::npos) break;
      i = end;
    } else if (c == '(' || c == '{') {
      ++depth;
    } else if ((c == ')' || c == '}') && depth > 0) {
      --depth;
    } else if (c == ',' && depth == 0) {
      flush(i);
    }
  }
  flush(text.size());
  return arguments;
}

}  // namespace idx
