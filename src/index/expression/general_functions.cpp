// BETWEEN DESCEND EMPTY IIF INLIST MAX MIN.
#include <cstring>

#include "dbf/errors.h"
#include "index/expression/function_registry.h"
#include "index/expression/text_compare.h"

namespace idx {
namespace {

using dbf::ExpressionError;
using dbf::FormatMessage;

// Julian day that DESCEND mirrors dates around.
constexpr double kDescendDateBase = 5231808;

// Orders two values of matching types: texts without trailing blanks by the
// locale's comparison (CompareText), numbers by value, false before true.
int CompareValues(const Value& a, const Value& b, bool translate) {
  if (IsTextLike(a.type)) return CompareText(a.text, b.text, false, translate);
  if (a.type == ValueType::kBoolean) return static_cast<int>(a.logical) - b.logical;
  if (IsNumericFamily(a.type)) return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
  return 0;
}

void Between(FunctionCall& call) {
  const Value& v = call.Need(1, ValueType::kAny);
  const ValueType type = v.type == ValueType::kEmpty ? ValueType::kAny : v.type;
  const Value& low = call.Need(2, type);
  const Value& high = call.Need(3, type);
  const bool t = call.translate();
  call.ReturnLogical(CompareValues(v, low, t) >= 0 && CompareValues(v, high, t) <= 0);
}

void Descend(FunctionCall& call) {
  const Value& v = call.Need(1, ValueType::kAny);
  if (IsTextLike(v.type)) {
    char* out = call.ReturnText(v.text.size());
    for (size_t i = 0; i < v.text.size(); ++i) {
      out[i] = static_cast<char>(256 - static_cast<uint8_t>(v.text[i]));
    }
    call.result().type = v.type;
  } else if (v.type == ValueType::kDate) {
    call.ReturnNumber(v.number == kEmptyDate ? v.number : kDescendDateBase - v.number, v.type);
  } else if (IsNumericFamily(v.type)) {
    call.ReturnNumber(v.number == 0 ? 0 : -v.number, v.type);
  } else if (v.type == ValueType::kBoolean) {
    call.ReturnLogical(!v.logical);
  } else {
    call.result() = v;
  }
}

void Empty(FunctionCall& call) {
  const Value& v = call.Need(1, ValueType::kAny);
  bool empty = true;
  if (IsTextLike(v.type)) {
    empty = TrimTrailingBlanks(v.text).empty();
  } else if (v.type == ValueType::kDate) {
    empty = v.number == 0 || v.number == kEmptyDate;
  } else if (IsNumericFamily(v.type)) {
    empty = v.number == 0;
  } else if (v.type == ValueType::kBoolean) {
    empty = !v.logical;
  }
  call.ReturnLogical(empty);
}

void Iif(FunctionCall& call) {
  const bool condition = call.Need(1, ValueType::kBoolean).logical;
  call.result() = call.arg(condition ? 2 : 3);
}

void Inlist(FunctionCall& call) {
  const Value& v = call.Need(1, ValueType::kAny);
  bool found = false;
  for (int i = 2; i <= call.count() && !found; ++i) {
    const Value& candidate = call.arg(i);
    found =
        TypesMatch(v.type, candidate.type) && CompareValues(v, candidate, call.translate()) == 0;
  }
  call.ReturnLogical(found);
}

void Extreme(FunctionCall& call, const char* label, int wanted_sign) {
  if (call.count() == 0) throw ExpressionError(FormatMessage("A value is required for %s", label));
  const Value* best = &call.arg(1);
  for (int i = 2; i <= call.count(); ++i) {
    const Value& candidate = call.arg(i);
    if (!TypesMatch(best->type, candidate.type)) {
      throw ExpressionError(FormatMessage("All arguments for %s must be of the same type", label));
    }
    if (CompareValues(candidate, *best, call.translate()) * wanted_sign > 0) best = &candidate;
  }
  call.result() = *best;
}
void Max(FunctionCall& call) {
  Extreme(call, "Max()", 1);
}
void Min(FunctionCall& call) {
  Extreme(call, "Min()", -1);
}

}  // namespace

void RegisterGeneralFunctions(FunctionRegistry& r) {
  r.Register("BETWEEN", Between);
  r.Register("DESCEND", Descend);
  r.Register("EMPTY", Empty);
  r.Register("IIF", Iif);
  r.Register("INLIST", Inlist);
  r.Register("MAX", Max);
  r.Register("MIN", Min);
}

}  // namespace idx
