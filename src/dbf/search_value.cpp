#include "dbf/search_value.h"

#include "dbf/field_text.h"

namespace dbf {

std::string SearchValue::Text() const {
  struct Visitor {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(int64_t v) const { return std::to_string(v); }
    std::string operator()(bool v) const { return v ? "T" : "F"; }
    std::string operator()(char v) const { return std::string(1, v); }
    std::string operator()(double v) const { return FormatFloatText(v); }
    std::string operator()(const std::string& v) const { return v; }
  };
  return std::visit(Visitor{}, value_);
}

}  // namespace dbf
