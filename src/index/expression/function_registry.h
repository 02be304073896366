#ifndef SALDEX_INDEX_EXPRESSION_FUNCTION_REGISTRY_H_
#define SALDEX_INDEX_EXPRESSION_FUNCTION_REGISTRY_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "index/expression/function.h"
#include "index/expression/value.h"

namespace idx {

// The process-wide table of functions, keyed by upper-case name. Built once,
// on first use, and never changed afterwards; lookups happen only while
// expressions compile.
class FunctionRegistry {
 public:
  static const FunctionRegistry& Instance();

  // Raises std::logic_error for a name that is already registered.
  void Register(std::string name, FunctionBody body);
  // Case-insensitive; nullptr when absent.
  const Function* Find(std::string_view name) const;
  // Sorted by name.
  const std::vector<Function>& functions() const { return functions_; }

 private:
  std::vector<Function> functions_;
};

// The system values TRUE, FALSE (logical) and PI; case-insensitive.
std::optional<Value> FindSystemValue(std::string_view name);

// Helpers for the registration files, one per family of functions.
void RegisterNumericFunctions(FunctionRegistry& registry);
void RegisterTextFunctions(FunctionRegistry& registry);
void RegisterDateFunctions(FunctionRegistry& registry);
void RegisterGeneralFunctions(FunctionRegistry& registry);

// Upper-case copy of an ASCII name.
std::string UpperAscii(std::string_view name);

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_FUNCTION_REGISTRY_H_
