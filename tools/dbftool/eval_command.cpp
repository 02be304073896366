// dbftool eval FILE EXPR [--recno N]: compiles EXPR against the table and
// prints, for record N or every record, the result type and the value:
//   <recno>[*] <TAB> <type> <TAB> <value>
// Text is shown in quotes with its byte length ("ABC  " (5)); table text is
// OEM (852) and shown as UTF-8. EXPR is read as UTF-8 and compiled as OEM
// text, as the table's translate flag is on. A record whose evaluation fails
// is reported on stderr and the exit status becomes 1.

#include <charconv>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "command.h"
#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/system_path.h"
#include "index/expression/date_text.h"
#include "index/expression/field_resolver.h"
#include "index/expression/key_expression.h"

namespace dbftool {
namespace {

std::string ShowValue(const idx::Value& v) {
  std::ostringstream out;
  switch (v.type) {
    case idx::ValueType::kText:
    case idx::ValueType::kMemo:
      out << '"' << dbf::Cp852ToUtf8(v.text) << "\" (" << v.text.size() << ')';
      break;
    case idx::ValueType::kDate: {
      char iso[16] = "empty";
      if (const auto date = idx::CivilFromJulian(v.number)) {
        std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", date->year, date->month, date->day);
      }
      out.precision(17);
      out << v.number << " (" << iso << ')';
      break;
    }
    case idx::ValueType::kNumber:
    case idx::ValueType::kInteger:
    case idx::ValueType::kDateTime:
      out.precision(17);
      out << v.number;
      break;
    case idx::ValueType::kBoolean:
      out << (v.logical ? ".T." : ".F.");
      break;
    default:
      break;
  }
  return out.str();
}

// Evaluates the current record; false when the evaluation failed.
bool PrintCurrent(const dbf::DbfFile& table, idx::KeyExpression& expression) {
  const std::string recno = std::to_string(table.recno()) + (table.deleted() ? "*" : "");
  try {
    const idx::Value& v = expression.Evaluate();
    std::cout << recno << '\t' << idx::ValueTypeName(v.type) << '\t' << ShowValue(v) << '\n';
    return true;
  } catch (const dbf::EngineError& e) {
    std::cout.flush();
    std::fprintf(stderr, "record %s: %s\n", recno.c_str(), e.what());
    return false;
  }
}

int RunEval(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  std::optional<uint32_t> recno;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--recno" && i + 1 < args.size()) {
      uint32_t n = 0;
      const std::string& text = args[++i];
      const auto r = std::from_chars(text.data(), text.data() + text.size(), n);
      if (r.ec != std::errc() || r.ptr != text.data() + text.size() || n == 0) return Usage("eval");
      recno = n;
    } else if (args[i].starts_with("--")) {
      return Usage("eval");
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2) return Usage("eval");
  dbf::DbfFile table;
  table.Open(dbf::ProgramPath(positional[0]), true, false);
  idx::FieldResolver resolver(table);
  idx::KeyExpression expression =
      idx::KeyExpression::Compile(dbf::Utf8ToCp852(positional[1]), &resolver);
  bool ok = true;
  if (recno) {
    if (!table.GoTo(*recno)) {
      std::fprintf(stderr, "Record number %u is not in table %s\n", *recno,
                   dbf::Cp1250ToUtf8(table.path()).c_str());
      return 1;
    }
    ok = PrintCurrent(table, expression);
  } else {
    for (bool more = table.GoTo(dbf::DbfFile::Move::kFirst); more;
         more = table.GoTo(dbf::DbfFile::Move::kNext)) {
      ok = PrintCurrent(table, expression) && ok;
    }
  }
  return ok ? 0 : 1;
}

const CommandRegistration kEval({"eval", "eval FILE EXPR [--recno N]", RunEval});

}  // namespace
}  // namespace dbftool
