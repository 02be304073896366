// ALLTRIM ASC AT ATC CHR LEFT LEN LOWER LTRIM PADC PADL PADR PROPER RIGHT
// RTRIM SOUNDEX SPACE STR STRTRAN STRZERO SUBSTR TRIM UPPER VAL.
#include <charconv>
#include <cmath>
#include <cstring>

#include "dbf/charset_tables.h"
#include "dbf/errors.h"
#include "dbf/field_codec.h"
#include "index/expression/date_text.h"
#include "index/expression/expression_node.h"
#include "index/expression/field_resolver.h"
#include "index/expression/function_registry.h"
#include "index/expression/text_case.h"
#include "index/expression/text_compare.h"
#include "index/expression/tokenizer.h"

namespace idx {
namespace {

using dbf::ExpressionError;
using dbf::FormatMessage;

[[noreturn]] void InvalidValue(const char* kind) {
  throw ExpressionError(FormatMessage("A %s value is required but invalid", kind));
}

// A count or width argument: 0 for anything not above 0; beyond the longest
// text raises "Expression cannot be evaluated".
size_t Count(double n) {
  if (!(n >= 1)) return 0;
  if (n > static_cast<double>(kMaxTextLength))
    throw ExpressionError("Expression cannot be evaluated");
  return static_cast<size_t>(n);
}

std::string_view TrimLeadingBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

void Alltrim(FunctionCall& call) {
  call.ReturnView(TrimLeadingBlanks(TrimTrailingBlanks(call.Text(1).text)));
}
void Ltrim(FunctionCall& call) {
  call.ReturnView(TrimLeadingBlanks(call.Text(1).text));
}
void Rtrim(FunctionCall& call) {
  call.ReturnView(TrimTrailingBlanks(call.Text(1).text));
}

void Asc(FunctionCall& call) {
  const std::string_view text = call.Text(1).text;
  call.ReturnNumber(text.empty() ? 0 : static_cast<uint8_t>(text[0]));
}

void FindText(FunctionCall& call, bool ignore_case) {
  const std::string_view needle = call.Text(1).text, haystack = call.Text(2).text;
  double n = 1;
  if (const Value* occurrence = call.Optional(3, ValueType::kNumber)) n = occurrence->number;
  if (!(n >= 1 && n <= static_cast<double>(haystack.size() + 1))) {
    call.ReturnNumber(0);
    return;
  }
  const size_t pos =
      FindOccurrence(haystack, needle, static_cast<long long>(n), ignore_case, call.translate());
  call.ReturnNumber(pos == std::string_view::npos ? 0 : static_cast<double>(pos + 1));
}
void At(FunctionCall& call) {
  FindText(call, false);
}
void Atc(FunctionCall& call) {
  FindText(call, true);
}

void Chr(FunctionCall& call) {
  const double code = std::trunc(call.Number(1));
  if (!(code >= 0 && code <= 255)) InvalidValue("Byte");
  call.ReturnText(1)[0] = static_cast<char>(static_cast<uint8_t>(code));
}

void Left(FunctionCall& call) {
  const std::string_view text = call.Text(1).text;
  const size_t n = Count(call.Number(2));
  if (n <= text.size()) return call.ReturnView(text.substr(0, n));
  char* out = call.ReturnText(n);
  std::memcpy(out, text.data(), text.size());
  std::memset(out + text.size(), ' ', n - text.size());
}

void Right(FunctionCall& call) {
  const std::string_view text = call.Text(1).text;
  const double n = call.Number(2);
  if (!(n >= 1)) return call.ReturnView({});
  if (n >= static_cast<double>(text.size())) return call.ReturnView(text);
  call.ReturnView(text.substr(text.size() - static_cast<size_t>(n)));
}

void Len(FunctionCall& call) {
  call.ReturnNumber(static_cast<double>(call.Text(1).text.size()));
}

void Upper(FunctionCall& call) {
  const std::string_view text = call.Text(1).text;
  TextCase::Get().ToUpper(text.data(), call.ReturnText(text.size()), text.size(), call.translate());
}

void Lower(FunctionCall& call) {
  const std::string_view text = call.Text(1).text;
  TextCase::Get().ToLower(text.data(), call.ReturnText(text.size()), text.size(), call.translate());
}

// A word starts at the beginning and after any character that is not a
// letter, a digit or an apostrophe; its first letter is upper case, the rest lower.
void Proper(FunctionCall& call) {
  const std::string_view text = call.Text(1).text;
  const bool translate = call.translate();
  const TextCase& cases = TextCase::Get();
  char* out = call.ReturnText(text.size());
  bool word_start = true;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<uint8_t>(text[i]);
    const bool letter = cases.IsLetter(c, translate);
    out[i] = static_cast<char>(
        letter ? (word_start ? cases.Upper(c, translate) : cases.Lower(c, translate)) : c);
    word_start = !letter && !(c >= '0' && c <= '9') && c != '\'';
  }
}

// Text of any value for the PAD functions: numbers in their shortest
// decimal form, dates in the short date format, logicals as T or F.
std::string_view AsText(const Value& v, char* scratch, size_t size, std::string& date_text) {
  if (IsTextLike(v.type)) return v.text;
  if (v.type == ValueType::kBoolean) return v.logical ? "T" : "F";
  if (v.type == ValueType::kDate) {
    date_text = JulianToShortDate(v.number);
    return date_text;
  }
  if (IsNumericFamily(v.type)) {
    const auto result = std::to_chars(scratch, scratch + size, v.number);
    return std::string_view(scratch, result.ptr - scratch);
  }
  return {};
}

enum class Alignment { kLeft, kCentre, kRight };

void Pad(FunctionCall& call, Alignment alignment) {
  char scratch[64];
  std::string date_text;
  const std::string_view text =
      AsText(call.Need(1, ValueType::kAny), scratch, sizeof scratch, date_text);
  const size_t n = Count(call.Number(2));
  char fill = ' ';
  if (const Value* pad = call.Optional(3, ValueType::kText)) {
    if (pad->text.size() > 1) InvalidValue("Char");
    if (pad->text.size() == 1) fill = pad->text[0];
  }
  char* out = call.ReturnText(n);
  const size_t kept = text.size() < n ? text.size() : n;
  const size_t spare = n - kept;
  const size_t before = alignment == Alignment::kLeft    ? 0
                        : alignment == Alignment::kRight ? spare
                                                         : spare / 2;
  std::memset(out, fill, n);
  if (kept) std::memcpy(out + before, text.data(), kept);
}
void Padc(FunctionCall& call) {
  Pad(call, Alignment::kCentre);
}
void Padl(FunctionCall& call) {
  Pad(call, Alignment::kRight);
}
void Padr(FunctionCall& call) {
  Pad(call, Alignment::kLeft);
}

void Space(FunctionCall& call) {
  const size_t n = Count(call.Number(1));
  std::memset(call.ReturnText(n), ' ', n);
}

// STR(value [, width [, decimals]]): right-aligned fixed-point text; a result
// wider than `width` becomes width stars.
void FormatStr(FunctionCall& call, bool zero_fill) {
  const double value = call.Number(1);
  int default_width = call.resolver() ? call.resolver()->default_str_width() : 10;
  size_t width = static_cast<size_t>(default_width > 0 ? default_width : 0);
  if (const Value* w = call.Optional(2, ValueType::kNumber)) width = Count(w->number);
  uint32_t decimals = 0;
  if (const Value* d = call.Optional(3, ValueType::kNumber)) {
    decimals = d->number >= 1 ? static_cast<uint32_t>(std::fmin(d->number, 18)) : 0;
  }
  char* out = call.ReturnText(width);
  const std::string text = std::isfinite(value) && std::fabs(value) < 1e300
                               ? dbf::codec::FormatFixed(value, decimals)
                               : std::string(width + 1, '*');
  if (text.size() > width) {
    std::memset(out, '*', width);
    return;
  }
  // STRZERO turns the leading blanks into zeros, in front of a sign too: -5 in width 5 is
  // "000-5", as keys written by other programs hold it.
  const size_t lead = width - text.size();
  std::memcpy(out + lead, text.data(), text.size());
  std::memset(out, zero_fill ? '0' : ' ', lead);
}
void Str(FunctionCall& call) {
  FormatStr(call, false);
}
void Strzero(FunctionCall& call) {
  FormatStr(call, true);
}

// STRTRAN(text, search [, replacement [, first occurrence [, count]]]):
// replaces `count` occurrences (default all) of `search`, starting with
// occurrence number `first` (default 1). Further arguments are ignored.
void Strtran(FunctionCall& call) {
  const std::string_view text = call.Text(1).text, search = call.Text(2).text;
  std::string_view replacement;
  if (const Value* r = call.Optional(3, ValueType::kText)) replacement = r->text;
  double first = 1, count = HUGE_VAL;
  if (const Value* f = call.Optional(4, ValueType::kNumber)) first = f->number;
  if (const Value* c = call.Optional(5, ValueType::kNumber)) count = c->number;
  if (search.empty() || !(count >= 1)) return call.ReturnView(text);
  // First pass: the length of the result.
  size_t length = 0, occurrence = 0, replaced = 0;
  auto replaces = [&](size_t occ, size_t done) {
    return static_cast<double>(occ) >= first && static_cast<double>(done) < count;
  };
  for (size_t pos = 0; pos < text.size();) {
    if (text.compare(pos, search.size(), search) == 0) {
      ++occurrence;
      if (replaces(occurrence, replaced)) {
        ++replaced;
        length += replacement.size();
        pos += search.size();
        continue;
      }
    }
    ++length;
    ++pos;
  }
  char* out = call.ReturnText(length);
  occurrence = replaced = 0;
  for (size_t pos = 0; pos < text.size();) {
    if (text.compare(pos, search.size(), search) == 0) {
      ++occurrence;
      if (replaces(occurrence, replaced)) {
        ++replaced;
        if (!replacement.empty()) std::memcpy(out, replacement.data(), replacement.size());
        out += replacement.size();
        pos += search.size();
        continue;
      }
    }
    *out++ = text[pos++];
  }
}

void Substr(FunctionCall& call) {
  const std::string_view text = call.Text(1).text;
  const double start = std::trunc(call.Number(2));
  if (!(start >= 1 && start <= static_cast<double>(text.size()))) return call.ReturnView({});
  const size_t from = static_cast<size_t>(start) - 1;
  size_t length = text.size() - from;
  if (const Value* n = call.Optional(3, ValueType::kNumber)) {
    if (!(n->number >= 1)) return call.ReturnView({});
    if (n->number < static_cast<double>(length)) length = static_cast<size_t>(n->number);
  }
  call.ReturnView(text.substr(from, length));
}

// Classic Soundex: the first letter, then the digit classes of the following
// consonants (B F P V 1, C G J K Q S X Z 2, D T 3, L 4, M N 5, R 6), equal
// neighbours once, H and W transparent, vowels separating; padded with 0 to 4
// characters. Accented letters count as their base letter; other characters
// are skipped. A text without letters gives "0000".
char SoundexDigit(char letter) {
  static const char kDigits[] = "01230120022455012623010202";  // A..Z
  return kDigits[letter - 'A'];
}

void Soundex(FunctionCall& call) {
  const std::string_view text = call.Text(1).text;
  const bool translate = call.translate();
  const TextCase& cases = TextCase::Get();
  const dbf::CharsetTables& cp = dbf::CharsetTables::Get();
  char* out = call.ReturnText(4);
  std::memset(out, '0', 4);
  size_t length = 0;
  char previous = 0;
  for (char c : text) {
    uint8_t ansi = static_cast<uint8_t>(c);
    if (translate) ansi = cp.ToAnsi(ansi);
    const char letter = static_cast<char>(PlainLetter(cases.Upper(ansi, false)));
    if (!letter) continue;
    const char digit = SoundexDigit(letter);
    if (length == 0) {
      out[length++] = letter;
    } else if (digit != '0' && digit != previous) {
      out[length++] = digit;
      if (length == 4) break;
    }
    if (letter != 'H' && letter != 'W') previous = digit;
  }
}

// The text read as a decimal number (blanks around it, sign, digits, one '.'); 0 when the
// whole text is no number.
void Val(FunctionCall& call) {
  call.ReturnNumber(ReadDecimal(TrimBlanks(call.Text(1).text)));
}

}  // namespace

void RegisterTextFunctions(FunctionRegistry& r) {
  r.Register("ALLTRIM", Alltrim);
  r.Register("ASC", Asc);
  r.Register("AT", At);
  r.Register("ATC", Atc);
  r.Register("CHR", Chr);
  r.Register("LEFT", Left);
  r.Register("LEN", Len);
  r.Register("LOWER", Lower);
  r.Register("LTRIM", Ltrim);
  r.Register("PADC", Padc);
  r.Register("PADL", Padl);
  r.Register("PADR", Padr);
  r.Register("PROPER", Proper);
  r.Register("RIGHT", Right);
  r.Register("RTRIM", Rtrim);
  r.Register("SOUNDEX", Soundex);
  r.Register("SPACE", Space);
  r.Register("STR", Str);
  r.Register("STRTRAN", Strtran);
  r.Register("STRZERO", Strzero);
  r.Register("SUBSTR", Substr);
  r.Register("TRIM", Rtrim);
  r.Register("UPPER", Upper);
  r.Register("VAL", Val);
}

}  // namespace idx
