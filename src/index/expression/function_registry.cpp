#include "index/expression/function_registry.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace idx {

std::string UpperAscii(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

const FunctionRegistry& FunctionRegistry::Instance() {
  static const FunctionRegistry registry = [] {
    FunctionRegistry r;
    RegisterNumericFunctions(r);
    RegisterTextFunctions(r);
    RegisterDateFunctions(r);
    RegisterGeneralFunctions(r);
    return r;
  }();
  return registry;
}

void FunctionRegistry::Register(std::string name, FunctionBody body) {
  name = UpperAscii(name);
  auto it = std::lower_bound(functions_.begin(), functions_.end(), name,
                             [](const Function& f, const std::string& n) { return f.Name() < n; });
  if (it != functions_.end() && it->Name() == name) {
    throw std::logic_error("function registered twice: " + name);
  }
  functions_.insert(it, Function(std::move(name), body));
}

const Function* FunctionRegistry::Find(std::string_view name) const {
  const std::string upper = UpperAscii(name);
  auto it = std::lower_bound(functions_.begin(), functions_.end(), upper,
                             [](const Function& f, const std::string& n) { return f.Name() < n; });
  return it != functions_.end() && it->Name() == upper ? &*it : nullptr;
}

std::optional<Value> FindSystemValue(std::string_view name) {
  const std::string upper = UpperAscii(name);
  Value v;
  if (upper == "TRUE") {
    v.SetLogical(true);
  } else if (upper == "FALSE") {
    v.SetLogical(false);
  } else if (upper == "PI") {
    v.SetNumber(3.1415926535897932385);
  } else {
    return std::nullopt;
  }
  return v;
}

}  // namespace idx
