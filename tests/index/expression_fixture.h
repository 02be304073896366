#ifndef SALDEX_TESTS_INDEX_EXPRESSION_FIXTURE_H_
#define SALDEX_TESTS_INDEX_EXPRESSION_FIXTURE_H_

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "dbf/errors.h"
#include "expression_test_table.h"
#include "index/expression/key_expression.h"

namespace idx::testing {

// A store-like table: the fields of the key expressions the system compiles.
inline TestTable StoreTable() {
  TestTable t("SKL0001");
  t.Field("SKL_KAV", 'C', 6)
      .Field("SKL_IND", 'C', 3)
      .Field("SKL_EXT", 'C', 2)
      .Field("SKL_POS", 'C', 3)
      .Field("SKL_NAC", 'C', 20)
      .Field("SKL_STA", 'N', 10, 2)
      .Field("HLA_NAC", 'C', 30)
      .Field("HLA_DAT", 'D', 8)
      .Field("HLA_PLA", 'L', 1)
      .Field("BLO_KUS", 'N', 8, 2)
      .Field("BLO_VYD", 'N', 8, 2)
      .Field("SOR_SKU", 'C', 4)
      .Field("SOR_NAC", 'C', 20)
      .Field("DEN_KAV", 'C', 6)
      .Field("MEMO_NR", 'M', 10)
      .Field("RAWFIELD", 'X', 3);
  return t;
}

class ExpressionTest : public ::testing::Test {
 protected:
  ExpressionTest() : table_(StoreTable()), resolver_(table_.Resolver()) { SetRecord({}); }

  void SetRecord(const std::map<std::string, std::string>& raw, bool deleted = false) {
    record_ = table_.Record(raw, deleted);
    resolver_.set_record(record_.data());
  }

  KeyExpression Compile(const std::string& text) {
    return KeyExpression::Compile(text, &resolver_);
  }

  // Compiles and evaluates; the value's text is copied out.
  struct Result {
    ValueType type = ValueType::kUnknown;
    double number = 0;
    bool logical = false;
    std::string text;
  };
  Result Eval(const std::string& text) {
    KeyExpression e = Compile(text);
    const Value& v = e.Evaluate();
    return Result{v.type, v.number, v.logical, std::string(v.text)};
  }
  std::string Text(const std::string& text) {
    Result r = Eval(text);
    EXPECT_EQ(r.type, ValueType::kText) << text;
    return r.text;
  }
  double Number(const std::string& text) {
    Result r = Eval(text);
    EXPECT_TRUE(IsNumericFamily(r.type)) << text;
    return r.number;
  }
  bool Logical(const std::string& text) {
    Result r = Eval(text);
    EXPECT_EQ(r.type, ValueType::kBoolean) << text;
    return r.logical;
  }
  // The message of the ExpressionError that compiling and evaluating raise.
  std::string ErrorOf(const std::string& text) {
    try {
      KeyExpression e = Compile(text);
      e.Evaluate();
    } catch (const dbf::ExpressionError& error) {
      return error.what();
    }
    return "(no error)";
  }

  TestTable table_;
  FieldResolver resolver_;
  std::vector<uint8_t> record_;
};

}  // namespace idx::testing

#endif  // SALDEX_TESTS_INDEX_EXPRESSION_FIXTURE_H_
