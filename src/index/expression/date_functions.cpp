// CTOD DATE DOW DTOC DTOS.
#include <cmath>
#include <cstring>

#include "dbf/clock.h"
#include "index/expression/date_text.h"
#include "index/expression/function_registry.h"
#include "index/expression/text_compare.h"

namespace idx {
namespace {

void ReturnString(FunctionCall& call, const std::string& text) {
  std::memcpy(call.ReturnText(text.size()), text.data(), text.size());
}

// Empty text gives the empty date 1e100; other text goes through the date parser.
void Ctod(FunctionCall& call) {
  const std::string_view text = TrimTrailingBlanks(call.Text(1).text);
  call.ReturnNumber(text.empty() ? kEmptyDate : ParseDateTextOrThrow(text), ValueType::kDate);
}

void Date(FunctionCall& call) {
  call.ReturnNumber(JulianFromCivil(dbf::Now().date()), ValueType::kDate);
}

// 1 Sunday .. 7 Saturday; 0 for an empty date.
void Dow(FunctionCall& call) {
  const double julian = call.Need(1, ValueType::kDate).number;
  if (!CivilFromJulian(julian)) return call.ReturnNumber(0);
  call.ReturnNumber(std::fmod(std::floor(julian) + 1, 7) + 1);
}

void Dtoc(FunctionCall& call) {
  const double julian = call.Need(1, ValueType::kDate).number;
  const Value* style = call.Optional(2, ValueType::kNumber);
  ReturnString(call,
               style && style->number == 1 ? JulianToYyyymmdd(julian) : JulianToShortDate(julian));
}

void Dtos(FunctionCall& call) {
  ReturnString(call, JulianToYyyymmdd(call.Need(1, ValueType::kDate).number));
}

}  // namespace

void RegisterDateFunctions(FunctionRegistry& r) {
  r.Register("CTOD", Ctod);
  r.Register("DATE", Date);
  r.Register("DOW", Dow);
  r.Register("DTOC", Dtoc);
  r.Register("DTOS", Dtos);
}

}  // namespace idx
