// ABS ACOS ASIN ATAN ATN2 CEILING COS DTOR FLOOR FV INT LOG LOG10 MOD PI PV
// RTOD SIN TAN.
#include <cmath>

#include "dbf/errors.h"
#include "index/expression/function_registry.h"

namespace idx {
namespace {

using dbf::ExpressionError;
using dbf::FormatMessage;

constexpr double kPi = 3.1415926535897932385;

[[noreturn]] void ArgumentMustBe(const char* function, const char* what) {
  throw ExpressionError(FormatMessage("Argument for %s must be %s", function, what));
}

template <double (*F)(double)>
void Unary(FunctionCall& call) {
  call.ReturnNumber(F(call.Number(1)));
}

double Trunc(double x) {
  return std::trunc(x);
}
double Ceil(double x) {
  return std::ceil(x);
}
double Floor(double x) {
  return std::floor(x);
}
double Fabs(double x) {
  return std::fabs(x);
}
double Atan(double x) {
  return std::atan(x);
}
double Cos(double x) {
  return std::cos(x);
}
double Sin(double x) {
  return std::sin(x);
}
double Tan(double x) {
  return std::tan(x);
}

void Acos(FunctionCall& call) {
  const double x = call.Number(1);
  if (!(x >= -1 && x <= 1)) ArgumentMustBe("ACOS", "-1 to +1");
  call.ReturnNumber(std::acos(x));
}

void Asin(FunctionCall& call) {
  const double x = call.Number(1);
  if (!(x >= -1 && x <= 1)) ArgumentMustBe("ASIN", "-1 to +1");
  call.ReturnNumber(std::asin(x));
}

void Atn2(FunctionCall& call) {
  call.ReturnNumber(std::atan2(call.Number(1), call.Number(2)));
}

void Log(FunctionCall& call) {
  const double x = call.Number(1);
  if (!(x > 0)) ArgumentMustBe("LOG", "greater than 0");
  call.ReturnNumber(std::log(x));
}

void Log10(FunctionCall& call) {
  const double x = call.Number(1);
  if (!(x > 0)) ArgumentMustBe("LOG10", "greater than 0");
  call.ReturnNumber(std::log10(x));
}

void Mod(FunctionCall& call) {
  const double a = std::trunc(call.Number(1)), b = std::trunc(call.Number(2));
  if (b == 0) ArgumentMustBe("MOD", "non-zero");
  call.ReturnNumber(std::fmod(a, b));
}

void Dtor(FunctionCall& call) {
  call.ReturnNumber(call.Number(1) * kPi / 180);
}
void Rtod(FunctionCall& call) {
  call.ReturnNumber(call.Number(1) * 180 / kPi);
}
void Pi(FunctionCall& call) {
  call.ReturnNumber(kPi);
}

// Optional 4th and 5th arguments of FV and PV: a starting (FV) or final (PV)
// amount, and payments made at the start of each period when true or non-zero.
struct AnnuityOptions {
  double amount = 0;
  bool in_advance = false;
};

AnnuityOptions ReadAnnuityOptions(const FunctionCall& call) {
  AnnuityOptions options;
  if (const Value* amount = call.Optional(4, ValueType::kNumber)) options.amount = amount->number;
  const Value& timing = call.arg(5);
  if (timing.type == ValueType::kBoolean) options.in_advance = timing.logical;
  if (IsNumericFamily(timing.type)) options.in_advance = timing.number != 0;
  return options;
}

// FV(payment, rate, periods [, present value, in advance]): value after
// `periods` payments at `rate` per period (plus the grown present value).
void Fv(FunctionCall& call) {
  const double payment = call.Number(1), rate = call.Number(2), periods = call.Number(3);
  const AnnuityOptions options = ReadAnnuityOptions(call);
  if (rate == 0) {
    call.ReturnNumber(payment * periods + options.amount);
    return;
  }
  const double growth = std::pow(1 + rate, periods);
  double annuity = payment * (growth - 1) / rate;
  if (options.in_advance) annuity *= 1 + rate;
  call.ReturnNumber(annuity + options.amount * growth);
}

// PV(payment, rate, periods [, future value, in advance]): today's value of
// `periods` payments at `rate` per period (plus the discounted future value).
void Pv(FunctionCall& call) {
  const double payment = call.Number(1), rate = call.Number(2), periods = call.Number(3);
  const AnnuityOptions options = ReadAnnuityOptions(call);
  if (rate == 0) {
    call.ReturnNumber(payment * periods + options.amount);
    return;
  }
  const double discount = std::pow(1 + rate, -periods);
  double annuity = payment * (1 - discount) / rate;
  if (options.in_advance) annuity *= 1 + rate;
  call.ReturnNumber(annuity + options.amount * discount);
}

}  // namespace

void RegisterNumericFunctions(FunctionRegistry& r) {
  r.Register("ABS", Unary<Fabs>);
  r.Register("ACOS", Acos);
  r.Register("ASIN", Asin);
  r.Register("ATAN", Unary<Atan>);
  r.Register("ATN2", Atn2);
  r.Register("CEILING", Unary<Ceil>);
  r.Register("COS", Unary<Cos>);
  r.Register("DTOR", Dtor);
  r.Register("FLOOR", Unary<Floor>);
  r.Register("FV", Fv);
  r.Register("INT", Unary<Trunc>);
  r.Register("LOG", Log);
  r.Register("LOG10", Log10);
  r.Register("MOD", Mod);
  r.Register("PI", Pi);
  r.Register("PV", Pv);
  r.Register("RTOD", Rtod);
  r.Register("SIN", Unary<Sin>);
  r.Register("TAN", Unary<Tan>);
}

}  // namespace idx
