#include <gtest/gtest.h>

#include "expression_fixture.h"
#include "index/expression/tokenizer.h"

namespace idx::testing {
namespace {

using ExpressionCompile = ExpressionTest;

TEST_F(ExpressionCompile, EmptyTextHasNoTreeAndEvaluatesToUnknown) {
  KeyExpression e = Compile("   ");
  EXPECT_TRUE(e.empty());
  EXPECT_EQ(e.Evaluate().type, ValueType::kUnknown);
  EXPECT_EQ(e.ResultType(), ValueType::kUnknown);
  EXPECT_EQ(e.Text(), "");
  EXPECT_EQ(e.FieldNames(), "");
}

TEST_F(ExpressionCompile, EqualPrecedenceAssociatesToTheLeft) {
  EXPECT_EQ(Number("1 - 2 - 3"), -4);
  EXPECT_EQ(Number("16 / 4 / 2"), 2);
  EXPECT_EQ(Number("2 ^ 3 ^ 2"), 64);
  EXPECT_EQ(Compile("1 - 2 - 3").Text(), "1 - 2 - 3");
  EXPECT_EQ(Number("1 - (2 - 3)"), 2);
}

TEST_F(ExpressionCompile, TighterPrecedenceBindsFirst) {
  EXPECT_EQ(Number("2 + 3 * 4"), 14);
  EXPECT_EQ(Number("2 * 3 ^ 2"), 18);
  EXPECT_EQ(Number("10 - 2 * 3 + 1"), 5);
  // Comparison binds tighter than AND, AND tighter than OR.
  EXPECT_TRUE(Logical("3 >= 2 .AND. .T."));
  EXPECT_TRUE(Logical(".T. .OR. .F. .AND. .F."));
  EXPECT_FALSE(Logical("(.T. .OR. .F.) .AND. .F."));
}

TEST_F(ExpressionCompile, NotFirstNegatesTheWholeComparison) {
  EXPECT_FALSE(Logical("NOT 1 = 1"));
  EXPECT_TRUE(Logical("NOT 1 = 2"));
  EXPECT_TRUE(Logical("!1 = 2"));
  EXPECT_TRUE(Logical(".NOT. 1 = 2"));
  EXPECT_TRUE(Logical("not 1 = 2"));
}

TEST_F(ExpressionCompile, NotLaterStartsAGroupRunningToTheEnd) {
  // X .AND. NOT Y .OR. Z reads X .AND. ((NOT Y) .OR. Z).
  EXPECT_TRUE(Logical(".T. .AND. NOT .T. .OR. .T."));
  EXPECT_FALSE(Logical(".F. .AND. NOT .T. .OR. .T."));  // ((.F. AND NOT .T.) OR .T.) would be true
  EXPECT_EQ(Compile(".T. .AND. NOT .T. .OR. .T.").Text(), ".T. .AND. (.NOT. .T. .OR. .T.)");
  EXPECT_TRUE(Logical("NOT NOT .T."));
  EXPECT_TRUE(Logical(".T. .AND. !.F."));
}

TEST_F(ExpressionCompile, NotNeedsAWordBoundary) {
  TestTable t;
  t.Field("NOTE", 'C', 4).Field("NOT_PAID", 'L', 1);
  FieldResolver r = t.Resolver();
  auto record = t.Record({{"NOTE", "abcd"}, {"NOT_PAID", "T"}});
  r.set_record(record.data());
  KeyExpression note = KeyExpression::Compile("NOTE", &r);
  EXPECT_EQ(note.Evaluate().text, "abcd");
  KeyExpression paid = KeyExpression::Compile("NOT_PAID", &r);
  EXPECT_TRUE(paid.Evaluate().logical);
  KeyExpression negated = KeyExpression::Compile("NOT NOT_PAID", &r);
  EXPECT_FALSE(negated.Evaluate().logical);
}

TEST_F(ExpressionCompile, EverySpellingOfEveryOperator) {
  struct Case {
    const char* text;
    bool expected;
  };
  const Case cases[] = {
      {"1 = 1", true},      {"1 EQ 1", true},        {"1 .EQ. 1", true},
      {"1 eq 1", true},     {"1 # 2", true},         {"1 <> 2", true},
      {"1 != 2", true},     {"1 NE 2", true},        {"1 .ne. 1", false},
      {"2 > 1", true},      {"2 GT 1", true},        {"1 < 2", true},
      {"1 LT 2", true},     {"2 >= 2", true},        {"2 => 2", true},
      {"2 GE 3", false},    {"2 <= 2", true},        {"2 =< 2", true},
      {"3 LE 2", false},    {".T. AND .T.", true},   {".T. .and. .F.", false},
      {".F. OR .T.", true}, {".F. .Or. .F.", false}, {"2 ^ 3 = 8", true},
      {"2 ** 3 = 8", true}, {"6 * 2 = 12", true},    {"6 / 2 = 3", true},
      {"6 + 2 = 8", true},  {"6 - 2 = 4", true},     {"\"b\" $ \"abc\"", true},
  };
  for (const Case& c : cases) EXPECT_EQ(Logical(c.text), c.expected) << c.text;
}

TEST_F(ExpressionCompile, LiteralsOfEveryKind) {
  EXPECT_EQ(Text("\"a b \""), "a b ");
  EXPECT_EQ(Text("'it\"s'"), "it\"s");
  EXPECT_EQ(Text("[say 'x']"), "say 'x'");
  EXPECT_EQ(Number("{20240229}"), 2460370);
  EXPECT_EQ(Eval("{20240229}").type, ValueType::kDate);
  EXPECT_EQ(Number("{29.02.2024}"), 2460370);
  EXPECT_EQ(Number("{}"), 0);
  EXPECT_EQ(Number("12.50"), 12.5);
  EXPECT_EQ(Number("-3"), -3);
  EXPECT_EQ(Number("+3"), 3);
  EXPECT_EQ(Number("1.2.3"), 0);  // unreadable number text reads 0
  EXPECT_EQ(Number("5 - -3"), 8);
  EXPECT_TRUE(Logical(".t."));
  EXPECT_FALSE(Logical(".F."));
  EXPECT_TRUE(Logical("TRUE"));
  EXPECT_FALSE(Logical("false"));
  EXPECT_DOUBLE_EQ(Number("PI"), 3.1415926535897932385);
}

TEST_F(ExpressionCompile, AliasNotationReadsTheField) {
  SetRecord({{"SKL_KAV", "12"}});
  EXPECT_EQ(Text("SKL0001.SKL_KAV"), "12    ");
  EXPECT_EQ(Text("skl0001->skl_kav"), "12    ");
  EXPECT_EQ(Compile("SKL0001->SKL_KAV").FieldNames(), "SKL_KAV;");
  EXPECT_EQ(ErrorOf("OTHER.SKL_KAV"), "There is no function for OTHER.SKL_KAV");
}

TEST_F(ExpressionCompile, TextRebuildsTheExpression) {
  EXPECT_EQ(Compile("skl_kav+skl_ind").Text(), "SKL_KAV + SKL_IND");
  EXPECT_EQ(Compile("upper( hla_nac )").Text(), "UPPER(HLA_NAC)");
  EXPECT_EQ(Compile("(BLO_KUS-BLO_VYD)>0").Text(), "(BLO_KUS - BLO_VYD) > 0");
  EXPECT_EQ(Compile("SUBSTR('ab\"c', 1, 2) == [x]").Text(), "SUBSTR('ab\"c',1,2) == \"x\"");
  EXPECT_EQ(Compile("{20240101} .AND. .t. OR NOT .F.").Text(),
            "{20240101} .AND. .T. .OR. (.NOT. .F.)");
  EXPECT_EQ(Compile("2 ** 3").Text(), "2 ^ 3");
  EXPECT_EQ(Compile("\"a\" $ \"b\"").Text(), "\"a\" $ \"b\"");
  // The rebuilt text compiles to the same value.
  const std::string rebuilt = Compile("SOR_SKU+UPPER(SOR_NAC)").Text();
  EXPECT_EQ(Compile(rebuilt).Text(), rebuilt);
}

TEST_F(ExpressionCompile, FieldNamesInOrderOfAppearance) {
  EXPECT_EQ(Compile("SKL_KAV + SKL_IND").FieldNames(), "SKL_KAV;SKL_IND;");
  EXPECT_EQ(Compile("SOR_SKU+UPPER(SOR_NAC)").FieldNames(), "SOR_SKU;SOR_NAC;");
  EXPECT_EQ(Compile("(BLO_KUS-BLO_VYD)>0").FieldNames(), "BLO_KUS;BLO_VYD;");
  EXPECT_EQ(Compile("SKL_EXT + SKL_POS + SKL_KAV").FieldNames(), "SKL_EXT;SKL_POS;SKL_KAV;");
  EXPECT_EQ(Compile("UPPER(\"x\") + DTOS(HLA_DAT)").FieldNames(), "HLA_DAT;");
  EXPECT_EQ(Compile("RECNO() > 0").FieldNames(), "");
}

TEST_F(ExpressionCompile, BlanksAndLineBreaksBetweenTokens) {
  EXPECT_EQ(Number("\t 1 +\n 2 \r\n"), 3);
  EXPECT_EQ(Number("1+2"), 3);
}

TEST_F(ExpressionCompile, ArgumentsSplitOutsideQuotesAndParentheses) {
  EXPECT_EQ(SplitArguments("a, 'x,y', [p,q], \"r,s\", f(1,2), {1,2}"),
            (std::vector<std::string>{"a", "'x,y'", "[p,q]", "\"r,s\"", "f(1,2)", "{1,2}"}));
  EXPECT_EQ(SplitArguments(" , a ,, b, "), (std::vector<std::string>{"a", "b"}));
  // Empty arguments are dropped: SUBSTR("abcdef",,3) is SUBSTR("abcdef",3).
  EXPECT_EQ(Text("SUBSTR(\"abcdef\",,3)"), "cdef");
}

TEST_F(ExpressionCompile, ParenthesesInsideTextLiteralsDoNotCount) {
  EXPECT_EQ(Text("(\")\" + 'x')"), ")x");
  EXPECT_EQ(Text("UPPER(\"a)b\")"), "A)B");
}

const std::string kDeeplyNested = std::string(300, '(') + "1" + std::string(300, ')');

struct FailureCase {
  const char* name;
  const char* text;
  const char* message;
};

class ExpressionFailure : public ExpressionTest,
                          public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExpressionFailure, RaisesItsMessage) {
  EXPECT_EQ(ErrorOf(GetParam().text), GetParam().message) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    MessageTable, ExpressionFailure,
    ::testing::Values(
        FailureCase{"SyntaxErrorNamesTheWholeText", "SKL_KAV + (1 ? 2)",
                    "Syntax Error in expression \"SKL_KAV + (1 ? 2)\""},
        FailureCase{"SyntaxErrorAtAnOperand", "1 + @", "Syntax Error in expression \"1 + @\""},
        FailureCase{"SymbolNotInTheTable", "1 >< 2", "Syntax Error in expression \"1 >< 2\""},
        FailureCase{"UnknownWordOperator", "1 XOR 2", "Syntax Error in expression \"1 XOR 2\""},
        FailureCase{"MissingClosingParenthesis", "(1 + 2", "Missing closing parentheses"},
        FailureCase{"MissingClosingParenthesisOfCall", "UPPER(SKL_KAV",
                    "Missing closing parentheses"},
        FailureCase{"MissingClosingQuote", "\"abc", "Missing closing \"\"\" on literal"},
        FailureCase{"MissingClosingApostrophe", "'abc", "Missing closing \"'\" on literal"},
        FailureCase{"MissingClosingBracket", "[abc", "Missing closing \"[\" on literal"},
        FailureCase{"MissingClosingBrace", "{20240101", "Missing closing \"{\" on literal"},
        FailureCase{"MissingClosingPeriod", ".T", "Missing closing period"},
        FailureCase{"NotTOrF", ".X.", "Expecting \".T.\" or \".F.\""},
        FailureCase{"WordBetweenPeriodsAsOperand", ".AND.", "Expecting \".T.\" or \".F.\""},
        FailureCase{"UnknownFunction", "NOSUCH(1)", "There is no function for NOSUCH"},
        FailureCase{"UnknownField", "SKL_XYZ", "There is no function for SKL_XYZ"},
        FailureCase{"FunctionNameWithBlankBeforeParenthesis", "UPPER (SKL_KAV)",
                    "There is no function for UPPER"},
        FailureCase{"TargetMissingRight", "SKL_KAV +", "Target value missing for + operation"},
        FailureCase{"TargetMissingForNot", "NOT", "Target value missing for .NOT. operation"},
        FailureCase{"TargetMissingForAnd", ".T. .AND.", "Target value missing for .AND. operation"},
        FailureCase{"TargetMissingForIn", "'a' $", "Target value missing for in string operation"},
        FailureCase{"TargetMissingForExact",
                    "'a' ==", "Target value missing for exactly equal operation"},
        FailureCase{"SidesDoNotMatch", "SKL_KAV + 1", "The two sides of an operation do not match"},
        FailureCase{"DateAndText", "HLA_DAT = 'x'", "The two sides of an operation do not match"},
        FailureCase{"TextTimesText", "'a' * 'b'", "A assigned value is required but invalid"},
        FailureCase{"NumberInNumber", "1 $ 2", "A assigned value is required but invalid"},
        FailureCase{"LogicalPlusLogical", ".T. + .F.", "A number value is required but invalid"},
        FailureCase{"LogicalGreater", ".T. > .F.", "A assigned value is required but invalid"},
        FailureCase{"NotOfText", "NOT SKL_KAV", "A assigned value is required but invalid"},
        FailureCase{"NotOfNumber", "NOT 1", "A assigned value is required but invalid"},
        FailureCase{"TextAndText", "'a' .AND. 'b'", "A assigned value is required but invalid"},
        FailureCase{"ArgumentType", "UPPER(1)", "Text needed for Argument 1 of UPPER"},
        FailureCase{"ArgumentMissing", "SUBSTR('abc')", "Number needed for Argument 2 of SUBSTR"},
        FailureCase{"AcosRange", "ACOS(2)", "Argument for ACOS must be -1 to +1"},
        FailureCase{"AsinRange", "ASIN(-1.5)", "Argument for ASIN must be -1 to +1"},
        FailureCase{"MaxWithoutArguments", "MAX()", "A value is required for Max()"},
        FailureCase{"MinMixedTypes", "MIN(1, 'a')",
                    "All arguments for Min() must be of the same type"},
        FailureCase{"ChrOutOfRange", "CHR(256)", "A Byte value is required but invalid"},
        FailureCase{"PadWithLongPad", "PADL('a', 3, 'xy')", "A Char value is required but invalid"},
        FailureCase{"InvalidDateLiteral", "{31.02.2024}", "'31.02.2024' is not a valid date"},
        FailureCase{"EmptyGroup", "()", "Expression cannot be evaluated"},
        FailureCase{"EmptyGroupAsOperand", "1 + ( )", "Expression cannot be evaluated"},
        FailureCase{"TooDeeplyNested", kDeeplyNested.c_str(), "Expression cannot be evaluated"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(ExpressionCompile, FieldReferenceWithoutResolver) {
  try {
    KeyExpression::Compile("SKL_KAV + 'x'", nullptr);
    FAIL();
  } catch (const dbf::ExpressionError& e) {
    EXPECT_STREQ(e.what(), "Field/variable SKL_KAV is unknown");
  }
  KeyExpression e = KeyExpression::Compile("UPPER('ab') + STR(PI, 4, 2)", nullptr);
  EXPECT_EQ(e.Evaluate().text, "AB3.14");
}

TEST_F(ExpressionCompile, LongOperatorChainsFailInsteadOfOverflowingTheStack) {
  std::string chain = "1";
  for (int i = 0; i < 5000; ++i) chain += "+1";
  EXPECT_EQ(ErrorOf(chain), "Expression cannot be evaluated");
  std::string nots;
  for (int i = 0; i < 3000; ++i) nots += ".T. .AND. NOT ";
  nots += ".T.";
  EXPECT_EQ(ErrorOf(nots), "Expression cannot be evaluated");
  std::string fine = "1";
  for (int i = 0; i < 150; ++i) fine += "+1";
  EXPECT_EQ(Number(fine), 151);
}

}  // namespace
}  // namespace idx::testing
