#include <gtest/gtest.h>

#include "dbf/charset_tables.h"
#include "expression_fixture.h"

namespace idx::testing {
namespace {

using ExpressionOperators = ExpressionTest;

TEST_F(ExpressionOperators, PlusConcatenatesEveryByte) {
  SetRecord({{"SKL_KAV", "12"}, {"SKL_IND", "A"}});
  EXPECT_EQ(Text("SKL_KAV + SKL_IND"), "12    A  ");
  EXPECT_EQ(Text("'' + SKL_IND"), "A  ");
}

TEST_F(ExpressionOperators, MinusMovesTheLeftBlanksToTheEnd) {
  SetRecord({{"SKL_KAV", "12"}, {"SKL_IND", "A"}});
  EXPECT_EQ(Text("SKL_KAV - SKL_IND"), "12A      ");
  EXPECT_EQ(Text("'ab  ' - ' c'"), "ab c  ");
  EXPECT_EQ(Text("'    ' - 'x'"), "x    ");
}

TEST_F(ExpressionOperators, TextComparisonsIgnoreTrailingBlanks) {
  SetRecord({{"SKL_KAV", "12"}});
  EXPECT_TRUE(Logical("SKL_KAV = '12'"));
  EXPECT_TRUE(Logical("SKL_KAV = '12   '"));
  EXPECT_FALSE(Logical("SKL_KAV = ' 12'"));
  EXPECT_FALSE(Logical("SKL_KAV = '1'"));  // no prefix match
  EXPECT_TRUE(Logical("SKL_KAV # '1'"));
  EXPECT_TRUE(Logical("'abc' < 'abd'"));
  EXPECT_TRUE(Logical("'ab' < 'abc'"));
  EXPECT_TRUE(Logical("'b' > 'abc'"));
  EXPECT_TRUE(Logical("'abc' >= 'abc  '"));
  EXPECT_TRUE(Logical("'abc' <= 'abc'"));
  EXPECT_FALSE(Logical("'a' = 'A'"));  // case-sensitive by default
}

// Text order is the locale's (Czech) comparison, not the bytes: letters before case, Č after C,
// CH after H, Ř after R, accents after the plain letter, lower case first; OEM text with the
// translate flag, ANSI text without it.
TEST_F(ExpressionOperators, TextOrderIsTheLocaleComparisonNotTheBytes) {
  EXPECT_TRUE(Logical("'a' < 'B'"));
  EXPECT_TRUE(Logical("'abc' < 'Abc'"));
  EXPECT_TRUE(Logical("'Abc' < 'abd'"));
  EXPECT_TRUE(Logical("'a-b' > 'ab'"));  // the hyphen counts only when all else is equal
  EXPECT_FALSE(Logical("'a-c' < 'ab-'"));
  EXPECT_TRUE(Logical("BETWEEN('b', 'A', 'C')"));
  EXPECT_EQ(Text("MAX('a', 'B', 'A')"), "B");
  EXPECT_EQ(Text("MIN('b', 'A', 'a')"), "a");
  EXPECT_TRUE(Logical("INLIST('ab ', 'x', 'ab')"));
  EXPECT_FALSE(Logical("INLIST('ab', 'AB')"));
  // The flag is set: the literals hold OEM text, as the table's fields do.
  EXPECT_TRUE(Logical(dbf::Utf8ToCp852("'čáp' < 'zebra'")));
  EXPECT_TRUE(Logical(dbf::Utf8ToCp852("'cukr' < 'čáp'")));
  resolver_.set_translate(false);
  EXPECT_TRUE(Logical(dbf::Utf8ToCp1250("'hrad' < 'chata' .AND. 'chata' < 'ilona'")));
  EXPECT_TRUE(Logical(dbf::Utf8ToCp1250("'rybář' < 'řád' .AND. 'řád' < 'sůl'")));
  EXPECT_TRUE(Logical(dbf::Utf8ToCp1250("'Adam' < 'Ádám' .AND. 'Ádám' < 'Adamec'")));
  EXPECT_TRUE(Logical(dbf::Utf8ToCp1250("'žák' > 'zub'")));
}

TEST_F(ExpressionOperators, EqualMatchesAPatternWhenTheRightSideStartsOrEndsWithAStar) {
  EXPECT_TRUE(Logical("'Novak' = 'Nov*'"));
  EXPECT_TRUE(Logical("'Novak' = '*vak'"));
  EXPECT_TRUE(Logical("'Novak' = '*o?a*'"));
  EXPECT_FALSE(Logical("'Novak' = '*x*'"));
  EXPECT_TRUE(Logical("'Novak   ' = 'No*   '"));
  EXPECT_FALSE(Logical("'Novak' = 'N*k'"));    // a star only inside: plain comparison
  EXPECT_FALSE(Logical("'Novak' = 'N?vak'"));  // without a star "?" is an ordinary character
  EXPECT_TRUE(Logical("'N?vak' = 'N?vak'"));
  EXPECT_TRUE(Logical("'Novak' # 'X*'"));
  EXPECT_TRUE(Logical("'' = '*'"));
}

TEST_F(ExpressionOperators, CompareSettingsSwitchCaseAndWildcards) {
  CompareSettings ci;
  ci.case_insensitive = true;
  resolver_.set_translate(false);  // the literals hold ANSI text
  KeyExpression e =
      KeyExpression::Compile(dbf::Utf8ToCp1250("'nováček' = 'NOVÁČEK'"), &resolver_, ci);
  EXPECT_TRUE(e.Evaluate().logical);
  KeyExpression p =
      KeyExpression::Compile(dbf::Utf8ToCp1250("'Nováček' = 'nová*'"), &resolver_, ci);
  EXPECT_TRUE(p.Evaluate().logical);
  resolver_.set_translate(true);  // the same letters as OEM text
  KeyExpression o =
      KeyExpression::Compile(dbf::Utf8ToCp852("'nováček' = 'NOVÁČEK'"), &resolver_, ci);
  EXPECT_TRUE(o.Evaluate().logical);
  CompareSettings plain;
  plain.wildcards = false;
  KeyExpression w = KeyExpression::Compile("'Novak' = 'Nov*'", &resolver_, plain);
  EXPECT_FALSE(w.Evaluate().logical);
  CompareSettings percent;
  percent.many = '%';
  percent.one = '_';
  KeyExpression q = KeyExpression::Compile("'Novak' = 'N_v%'", &resolver_, percent);
  EXPECT_TRUE(q.Evaluate().logical);
}

TEST_F(ExpressionOperators, ContainedIn) {
  EXPECT_TRUE(Logical("'ov' $ 'Novak'"));
  EXPECT_FALSE(Logical("'OV' $ 'Novak'"));
  EXPECT_TRUE(Logical("'' $ 'Novak'"));
  EXPECT_FALSE(Logical("'ov ' $ 'Novak'"));  // blanks count
}

// Our rule for "==": exact equality, every byte counted (texts), equal value
// (numbers), equal truth (logicals).
TEST_F(ExpressionOperators, ExactlyEqualComparesEveryByte) {
  EXPECT_TRUE(Logical("'ab' == 'ab'"));
  EXPECT_FALSE(Logical("'ab' == 'ab '"));
  EXPECT_FALSE(Logical("'ab' == 'a*'"));
  EXPECT_TRUE(Logical("2 == 2.0"));
  EXPECT_TRUE(Logical(".T. == .T."));
}

TEST_F(ExpressionOperators, NumericFamilyArithmeticAndComparison) {
  SetRecord({{"BLO_KUS", "10.5"}, {"BLO_VYD", "3.25"}, {"HLA_DAT", "20240301"}});
  EXPECT_EQ(Number("BLO_KUS - BLO_VYD"), 7.25);
  EXPECT_EQ(Number("BLO_KUS * 2"), 21);
  EXPECT_EQ(Number("BLO_KUS / 2"), 5.25);
  EXPECT_TRUE(Logical("(BLO_KUS-BLO_VYD)>0"));
  EXPECT_FALSE(Logical("(BLO_VYD-BLO_KUS)>0"));
  EXPECT_TRUE(Logical("BLO_KUS >= 10.5"));
  EXPECT_TRUE(Logical("BLO_KUS <= 10.5"));
  EXPECT_TRUE(Logical("BLO_KUS # BLO_VYD"));
  // date - date gives days; date + number a day number; the type is the right operand's.
  EXPECT_EQ(Number("HLA_DAT - {20240201}"), 29);
  EXPECT_EQ(Eval("HLA_DAT - {20240201}").type, ValueType::kDate);
  EXPECT_EQ(Number("HLA_DAT + 1"), Number("{20240302}"));
  EXPECT_EQ(Eval("HLA_DAT + 1").type, ValueType::kNumber);
  EXPECT_TRUE(Logical("HLA_DAT > {20240229}"));
  EXPECT_TRUE(Logical("HLA_DAT = 2460371"));
}

TEST_F(ExpressionOperators, PowerDropsTheExponentsFraction) {
  EXPECT_EQ(Number("2 ^ 3"), 8);
  EXPECT_EQ(Number("2 ** 3"), 8);
  EXPECT_EQ(Number("2 ^ 3.9"), 8);
  EXPECT_EQ(Number("2 ^ 1"), 2);
  // Our rules below 1: exponent 0 gives 1, a negative exponent the reciprocal.
  EXPECT_EQ(Number("5 ^ 0"), 1);
  EXPECT_EQ(Number("5 ^ 0.5"), 1);
  EXPECT_EQ(Number("2 ^ -2"), 0.25);
  EXPECT_EQ(Number("2 ^ 100"), 1267650600228229401496703205376.0);
  EXPECT_EQ(ErrorOf("0 ^ -1"), "Argument for ^ must be non-zero");
}

TEST_F(ExpressionOperators, DivisionByZeroIsAnError) {
  EXPECT_EQ(ErrorOf("1 / 0"), "Argument for / must be non-zero");
  EXPECT_EQ(ErrorOf("BLO_KUS / BLO_VYD"), "Argument for / must be non-zero");  // both blank
}

TEST_F(ExpressionOperators, BooleanOperators) {
  SetRecord({{"HLA_PLA", "F"}});
  EXPECT_TRUE(Logical("NOT HLA_PLA"));
  SetRecord({{"HLA_PLA", "T"}});
  EXPECT_FALSE(Logical("NOT HLA_PLA"));
  EXPECT_TRUE(Logical("HLA_PLA = .T."));
  EXPECT_TRUE(Logical("HLA_PLA # .F."));
  EXPECT_TRUE(Logical("HLA_PLA .AND. .T."));
  EXPECT_TRUE(Logical(".F. .OR. HLA_PLA"));
  EXPECT_FALSE(Logical("HLA_PLA AND .F."));
}

TEST_F(ExpressionOperators, RightOperandIsEvaluatedFirst) {
  // Both sides fail; the right side's failure is the one reported.
  EXPECT_EQ(ErrorOf("ACOS(5) + UPPER(1)"), "Text needed for Argument 1 of UPPER");
  EXPECT_EQ(ErrorOf("UPPER(1) + ACOS(5)"), "Argument for ACOS must be -1 to +1");
}

TEST_F(ExpressionOperators, TextResultsBeyondTheLimitFail) {
  EXPECT_EQ(ErrorOf("SPACE(2000000)"), "Expression cannot be evaluated");
  std::string doubling = "SPACE(600000)";
  EXPECT_EQ(ErrorOf(doubling + " + " + doubling), "Expression cannot be evaluated");
}

}  // namespace
}  // namespace idx::testing
