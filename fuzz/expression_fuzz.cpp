// Compiles arbitrary expression texts against a small table and evaluates
// them over a few record images. Every failure must be an ExpressionError or
// a DbfError; the text rebuilt from a tree must compile to the same text.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dbf/errors.h"
#include "index/expression/field_resolver.h"
#include "index/expression/key_expression.h"
#include "index/expression/key_value.h"

namespace {

struct Table {
  std::vector<dbf::FieldDescriptor> fields;
  uint32_t length = 1;
  std::vector<std::vector<uint8_t>> records;

  void Add(const char* name, char type, uint32_t width, uint32_t decimals = 0) {
    dbf::FieldDescriptor f;
    f.name = name;
    f.type = type;
    f.width = width;
    f.decimals = decimals;
    f.offset = length;
    f.number = static_cast<int>(fields.size()) + 1;
    length += width;
    fields.push_back(f);
  }

  // Field contents in field order, each cut or padded to the field's width.
  void Record(std::vector<std::string> values, bool deleted = false) {
    std::vector<uint8_t> r(length, ' ');
    r[0] = deleted ? '*' : ' ';
    for (size_t i = 0; i < values.size() && i < fields.size(); ++i) {
      std::memcpy(&r[fields[i].offset], values[i].data(),
                  values[i].size() < fields[i].width ? values[i].size() : fields[i].width);
    }
    records.push_back(std::move(r));
  }
};

const Table& SmallTable() {
  static const Table table = [] {
    Table t;
    t.Add("NAME", 'C', 12);
    t.Add("CODE", 'C', 4);
    t.Add("QTY", 'N', 8, 2);
    t.Add("PRICE", 'F', 10, 3);
    t.Add("DAY", 'D', 8);
    t.Add("PAID", 'L', 1);
    t.Add("NOTE", 'M', 10);
    t.Add("ODD", 'X', 3);
    t.Record({"Dvor\x87k", "A1", "   12.50", "     -0.25", "20240229", "T", "        12", "xyz"});
    t.Record({"", "", "", "", "", "", "", ""}, true);
    t.Record({"\xA6\xAC\xFD\xE7\xA5\xB5\xD6\xE0\xE9\xED\xEF\xFF", "9999", "99999.99", "9999999999",
              "99991231", "?", "", "\x01\x02\x03"});
    t.Record({"x", "y", "  1,5   ", "abc", "2024-1-1", "N", "", ""});
    t.Record({"a", "b", "1e5", "-.5", "31.12.99", "j", "", ""});
    return t;
  }();
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const Table& table = SmallTable();
  idx::FieldResolver resolver(table.fields, "SMALL", "Small", table.length);
  resolver.set_translate(size % 2 == 0);
  const std::string text(reinterpret_cast<const char*>(data), size);
  idx::KeyExpression expression;
  try {
    expression = idx::KeyExpression::Compile(text, &resolver);
  } catch (const dbf::ExpressionError&) {
    return 0;
  }
  idx::KeyValue key;
  for (const auto& record : table.records) {
    try {
      const idx::Value& v = expression.Evaluate(record.data());
      if (idx::IsTextLike(v.type) && v.text.size() > idx::kMaxTextLength) std::abort();
      expression.EvaluateToKey(key, record.data());
    } catch (const dbf::ExpressionError&) {
    } catch (const dbf::DbfError&) {
    }
  }
  (void)expression.FieldNames();
  const std::string rebuilt = expression.Text();
  try {
    if (idx::KeyExpression::Compile(rebuilt, &resolver).Text() != rebuilt) std::abort();
  } catch (const dbf::ExpressionError&) {
    std::abort();  // a rebuilt text must compile
  }
  return 0;
}
