#include <gtest/gtest.h>

#include <cmath>

#include "dbf/charset_tables.h"
#include "dbf/clock.h"
#include "expression_fixture.h"
#include "index/expression/function_registry.h"

namespace idx::testing {
namespace {

using ExpressionFunctions = ExpressionTest;

TEST(FunctionRegistry, HoldsEveryFunctionOnceSortedByName) {
  const auto& functions = FunctionRegistry::Instance().functions();
  const char* const kNames[] = {
      "ABS",     "ALLTRIM", "ACOS",    "ASIN", "ATAN",  "ATN2",    "ASC",   "AT",
      "ATC",     "BETWEEN", "CEILING", "CHR",  "COS",   "CTOD",    "DATE",  "DESCEND",
      "DOW",     "DTOC",    "DTOR",    "DTOS", "EMPTY", "FLOOR",   "FV",    "IIF",
      "INLIST",  "INT",     "LEFT",    "LEN",  "LOG",   "LOG10",   "LOWER", "LTRIM",
      "MAX",     "MIN",     "MOD",     "PADC", "PADL",  "PADR",    "PI",    "PV",
      "PROPER",  "RIGHT",   "RTRIM",   "RTOD", "SIN",   "SOUNDEX", "SPACE", "STR",
      "STRTRAN", "STRZERO", "SUBSTR",  "TAN",  "TRIM",  "UPPER",   "VAL"};
  EXPECT_EQ(functions.size(), std::size(kNames));
  for (const char* name : kNames)
    EXPECT_NE(FunctionRegistry::Instance().Find(name), nullptr) << name;
  for (size_t i = 1; i < functions.size(); ++i)
    EXPECT_LT(functions[i - 1].Name(), functions[i].Name());
  EXPECT_NE(FunctionRegistry::Instance().Find("upper"), nullptr);
  FunctionRegistry copy = FunctionRegistry::Instance();
  EXPECT_THROW(copy.Register("Upper", [](FunctionCall&) {}), std::logic_error);
}

TEST_F(ExpressionFunctions, UpperOfOemCzechTextKeepsTheLength) {
  const std::string name = dbf::Utf8ToCp852("žluťoučký kůň úpěl ďábelské ódy");
  SetRecord({{"HLA_NAC", name}});
  const std::string upper = Text("UPPER(HLA_NAC)");
  ASSERT_EQ(upper.size(), 30u);
  EXPECT_EQ(dbf::Cp852ToUtf8(upper), "ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓD");
  EXPECT_EQ(dbf::Cp852ToUtf8(Text("LOWER(UPPER(HLA_NAC))")), "žluťoučký kůň úpěl ďábelské ód");
  EXPECT_EQ(Text("UPPER('')"), "");
}

TEST_F(ExpressionFunctions, UpperWithoutTranslationMapsAnsiText) {
  resolver_.set_translate(false);
  EXPECT_EQ(dbf::Cp1250ToUtf8(Text(dbf::Utf8ToCp1250("UPPER('příliš žluťoučký')"))),
            "PŘÍLIŠ ŽLUŤOUČKÝ");
}

TEST_F(ExpressionFunctions, SystemKeysOnCzechNames) {
  SetRecord({{"SOR_SKU", "A1"}, {"SOR_NAC", dbf::Utf8ToCp852("čokoláda")}});
  const std::string key = Text("SOR_SKU+UPPER(SOR_NAC)");
  EXPECT_EQ(key.size(), 24u);
  EXPECT_EQ(dbf::Cp852ToUtf8(key), "A1  ČOKOLÁDA            ");
}

TEST_F(ExpressionFunctions, TrimmingAndPieces) {
  EXPECT_EQ(Text("ALLTRIM('  a b  ')"), "a b");
  EXPECT_EQ(Text("LTRIM('  a ')"), "a ");
  EXPECT_EQ(Text("RTRIM('  a ')"), "  a");
  EXPECT_EQ(Text("TRIM('  a ')"), "  a");
  EXPECT_EQ(Text("LEFT('abc', 2)"), "ab");
  EXPECT_EQ(Text("LEFT('abc', 5)"), "abc  ");
  EXPECT_EQ(Text("LEFT('abc', -1)"), "");
  EXPECT_EQ(Text("RIGHT('abc', 2)"), "bc");
  EXPECT_EQ(Text("RIGHT('abc', 9)"), "abc");
  EXPECT_EQ(Text("RIGHT('abc', 0)"), "");
  EXPECT_EQ(Text("SUBSTR('abcdef', 2, 3)"), "bcd");
  EXPECT_EQ(Text("SUBSTR('abcdef', 4)"), "def");
  EXPECT_EQ(Text("SUBSTR('abcdef', 0, 2)"), "");
  EXPECT_EQ(Text("SUBSTR('abcdef', 7)"), "");
  EXPECT_EQ(Text("SUBSTR('abcdef', 5, 10)"), "ef");
  EXPECT_EQ(Text("SPACE(3)"), "   ");
  EXPECT_EQ(Text("SPACE(-3)"), "");
  EXPECT_EQ(Number("LEN('abc  ')"), 5);
  EXPECT_EQ(Number("ASC('A')"), 65);
  EXPECT_EQ(Number("ASC('')"), 0);
  EXPECT_EQ(Text("CHR(65)"), "A");
  EXPECT_EQ(Text("CHR(0)"), std::string(1, '\0'));
  EXPECT_EQ(ErrorOf("CHR(-1)"), "A Byte value is required but invalid");
}

TEST_F(ExpressionFunctions, SearchingText) {
  EXPECT_EQ(Number("AT('b', 'abcabc')"), 2);
  EXPECT_EQ(Number("AT('b', 'abcabc', 2)"), 5);
  EXPECT_EQ(Number("AT('b', 'abcabc', 3)"), 0);
  EXPECT_EQ(Number("AT('x', 'abc')"), 0);
  EXPECT_EQ(Number("AT('', 'abc')"), 0);
  EXPECT_EQ(Number("AT('B', 'abc')"), 0);
  EXPECT_EQ(Number("ATC('B', 'abc')"), 2);
  EXPECT_EQ(Number("ATC('BC', 'abcABC', 2)"), 5);
}

TEST_F(ExpressionFunctions, PaddingAndCase) {
  EXPECT_EQ(Text("PADL('ab', 5)"), "   ab");
  EXPECT_EQ(Text("PADR('ab', 5, '.')"), "ab...");
  EXPECT_EQ(Text("PADC('ab', 5, '*')"), "*ab**");
  EXPECT_EQ(Text("PADL('abcdef', 3)"), "abc");
  EXPECT_EQ(Text("PADL(12.5, 6)"), "  12.5");
  EXPECT_EQ(Text("PADR(.T., 2)"), "T ");
  EXPECT_EQ(Text("PADL({20240131}, 11)"), " 31.01.2024");
  EXPECT_EQ(dbf::Cp852ToUtf8(Text(dbf::Utf8ToCp852("PROPER([jan NOVÁK-malý o'neil x2y])"))),
            "Jan Novák-Malý O'neil X2y");
}

TEST_F(ExpressionFunctions, StrAndStrzero) {
  EXPECT_EQ(Text("STR(42)"), "        42");
  EXPECT_EQ(Text("STR(42.567, 8, 2)"), "   42.57");
  EXPECT_EQ(Text("STR(-3, 4)"), "  -3");
  EXPECT_EQ(Text("STR(123456, 4)"), "****");
  EXPECT_EQ(Text("STR(0.125, 5, 2)"), " 0.13");
  EXPECT_EQ(Text("STRZERO(42, 5)"), "00042");
  EXPECT_EQ(Text("STRZERO(-5, 5)"), "000-5");
  EXPECT_EQ(Text("STRZERO(7)"), "0000000007");
  resolver_.set_default_str_width(4);
  EXPECT_EQ(Text("STR(7)"), "   7");
}

TEST_F(ExpressionFunctions, Strtran) {
  EXPECT_EQ(Text("STRTRAN('a-b-c', '-')"), "abc");
  EXPECT_EQ(Text("STRTRAN('a-b-c', '-', '+')"), "a+b+c");
  EXPECT_EQ(Text("STRTRAN('a-b-c-d', '-', '==', 2)"), "a-b==c==d");
  EXPECT_EQ(Text("STRTRAN('a-b-c-d', '-', '', 2, 1)"), "a-bc-d");
  EXPECT_EQ(Text("STRTRAN('abc', '', 'x')"), "abc");
  EXPECT_EQ(ErrorOf("STRTRAN('abc', 'b', 1)"), "Text needed for Argument 3 of STRTRAN");
}

TEST_F(ExpressionFunctions, Soundex) {
  EXPECT_EQ(Text("SOUNDEX('Robert')"), "R163");
  EXPECT_EQ(Text("SOUNDEX('Rupert')"), "R163");
  EXPECT_EQ(Text("SOUNDEX('Ashcraft')"), "A261");
  EXPECT_EQ(Text("SOUNDEX('Tymczak')"), "T522");
  EXPECT_EQ(Text("SOUNDEX('Pfister')"), "P236");
  EXPECT_EQ(Text("SOUNDEX('Lee')"), "L000");
  EXPECT_EQ(Text("SOUNDEX('123')"), "0000");
  EXPECT_EQ(Text("SOUNDEX(" + dbf::Utf8ToCp852("'Čapek'") + ")"), "C120");
}

TEST_F(ExpressionFunctions, Val) {
  EXPECT_EQ(Number("VAL('  12.5')"), 12.5);
  EXPECT_EQ(Number("VAL('-3abc')"), 0);
  EXPECT_EQ(Number("VAL(' -3.5 ')"), -3.5);
  EXPECT_EQ(Number("VAL('1.2.3')"), 0);
  EXPECT_EQ(Number("VAL('abc')"), 0);
  EXPECT_EQ(Number("VAL('')"), 0);
}

TEST_F(ExpressionFunctions, Numbers) {
  EXPECT_EQ(Number("ABS(-2.5)"), 2.5);
  EXPECT_EQ(Number("INT(-2.7)"), -2);
  EXPECT_EQ(Number("CEILING(2.1)"), 3);
  EXPECT_EQ(Number("FLOOR(-2.1)"), -3);
  EXPECT_EQ(Number("MOD(7.9, 3.2)"), 1);
  EXPECT_EQ(Number("MOD(-7, 3)"), -1);
  EXPECT_EQ(ErrorOf("MOD(7, 0.5)"), "Argument for MOD must be non-zero");
  EXPECT_DOUBLE_EQ(Number("ACOS(-1)"), 3.1415926535897932385);
  EXPECT_DOUBLE_EQ(Number("ASIN(1) * 2"), 3.1415926535897932385);
  EXPECT_DOUBLE_EQ(Number("ATN2(1, 1) * 4"), 3.1415926535897932385);
  EXPECT_DOUBLE_EQ(Number("ATAN(1) * 4"), 3.1415926535897932385);
  EXPECT_DOUBLE_EQ(Number("RTOD(PI())"), 180);
  EXPECT_DOUBLE_EQ(Number("DTOR(180)"), 3.1415926535897932385);
  EXPECT_DOUBLE_EQ(Number("COS(0) + SIN(0) + TAN(0)"), 1);
  EXPECT_DOUBLE_EQ(Number("LOG(1)"), 0);
  EXPECT_DOUBLE_EQ(Number("LOG10(1000)"), 3);
  EXPECT_EQ(ErrorOf("LOG(0)"), "Argument for LOG must be greater than 0");
  EXPECT_EQ(ErrorOf("LOG10(-1)"), "Argument for LOG10 must be greater than 0");
}

TEST_F(ExpressionFunctions, FutureAndPresentValue) {
  EXPECT_NEAR(Number("FV(100, 0.05, 3)"), 315.25, 1e-9);
  EXPECT_NEAR(Number("FV(100, 0, 3)"), 300, 1e-9);
  EXPECT_NEAR(Number("FV(100, 0.05, 3, 1000)"), 315.25 + 1157.625, 1e-9);
  EXPECT_NEAR(Number("FV(100, 0.05, 3, 0, .T.)"), 315.25 * 1.05, 1e-9);
  EXPECT_NEAR(Number("PV(100, 0.05, 3)"), 272.3248029, 1e-6);
  EXPECT_NEAR(Number("PV(100, 0, 3)"), 300, 1e-9);
  EXPECT_NEAR(Number("PV(0, 0.05, 3, 1157.625)"), 1000, 1e-9);
}

TEST_F(ExpressionFunctions, Dates) {
  SetRecord({{"HLA_DAT", "20240131"}});
  EXPECT_EQ(Text("DTOS(HLA_DAT)"), "20240131");
  EXPECT_EQ(Text("DTOC(HLA_DAT)"), "31.01.2024");
  EXPECT_EQ(Text("DTOC(HLA_DAT, 1)"), "20240131");
  EXPECT_EQ(Number("DOW(HLA_DAT)"), 4);  // a Wednesday
  EXPECT_EQ(Number("DOW({19800101})"), 3);
  EXPECT_EQ(Number("CTOD('31.01.2024')"), Number("HLA_DAT"));
  EXPECT_EQ(Number("CTOD('20240131')"), Number("HLA_DAT"));
  EXPECT_EQ(Number("CTOD('   ')"), 1e100);
  EXPECT_EQ(Number("CTOD('00000000')"), 0);
  EXPECT_EQ(ErrorOf("CTOD('x')"), "'x' is not a valid date");
  // The empty date and the blank date read as blanks.
  EXPECT_EQ(Text("DTOS(CTOD(''))"), "        ");
  EXPECT_EQ(Text("DTOC(CTOD(''))"), "          ");
  EXPECT_EQ(Text("DTOC(CTOD(''), 1)"), "        ");
  SetRecord({});
  EXPECT_EQ(Number("HLA_DAT"), 0);
  EXPECT_EQ(Text("DTOS(HLA_DAT)"), "        ");
  EXPECT_EQ(Number("DOW(HLA_DAT)"), 0);
  EXPECT_EQ(Text("DTOS(HLA_DAT + 10 ^ 300)"), "        ");  // no calendar date: blanks
  dbf::SetClockForTesting(dbf::LocalTime{2025, 6, 15});
  EXPECT_EQ(Text("DTOS(DATE())"), "20250615");
  dbf::SetClockForTesting(std::nullopt);
}

TEST_F(ExpressionFunctions, Descend) {
  SetRecord({{"HLA_DAT", "20240131"}, {"SKL_KAV", "AB"}});
  EXPECT_EQ(Number("DESCEND(HLA_DAT)"), 5231808 - 2460341);
  EXPECT_EQ(Eval("DESCEND(HLA_DAT)").type, ValueType::kDate);
  EXPECT_EQ(Number("DESCEND(CTOD(''))"), 1e100);
  EXPECT_EQ(Number("DESCEND(5)"), -5);
  EXPECT_FALSE(std::signbit(Number("DESCEND(0)")));
  EXPECT_FALSE(Logical("DESCEND(.T.)"));
  const std::string d = Text("DESCEND(SKL_KAV)");
  ASSERT_EQ(d.size(), 6u);
  EXPECT_EQ(static_cast<uint8_t>(d[0]), 256 - 'A');
  EXPECT_EQ(static_cast<uint8_t>(d[5]), 256 - ' ');
  EXPECT_EQ(Text("DESCEND(CHR(0))"), std::string(1, '\0'));
}

TEST_F(ExpressionFunctions, EmptyAndChoice) {
  SetRecord({});
  EXPECT_TRUE(Logical("EMPTY(SKL_KAV)"));
  EXPECT_TRUE(Logical("EMPTY(SKL_STA)"));
  EXPECT_TRUE(Logical("EMPTY(HLA_DAT)"));
  EXPECT_TRUE(Logical("EMPTY(CTOD(''))"));
  EXPECT_TRUE(Logical("EMPTY(HLA_PLA)"));
  EXPECT_FALSE(Logical("EMPTY(' x')"));
  EXPECT_FALSE(Logical("EMPTY(-1)"));
  EXPECT_EQ(Text("IIF(.T., 'yes', 'no')"), "yes");
  EXPECT_EQ(Number("IIF(1 > 2, 'yes', 7)"), 7);
  EXPECT_EQ(ErrorOf("IIF(1, 2, 3)"), "Boolean needed for Argument 1 of IIF");
  EXPECT_TRUE(Logical("BETWEEN(5, 1, 10)"));
  EXPECT_TRUE(Logical("BETWEEN('b  ', 'a', 'b')"));
  EXPECT_FALSE(Logical("BETWEEN(11, 1, 10)"));
  EXPECT_EQ(ErrorOf("BETWEEN(5, 'a', 10)"), "Number needed for Argument 2 of BETWEEN");
  EXPECT_TRUE(Logical("INLIST('b ', 'a', 'b')"));
  EXPECT_TRUE(Logical("INLIST(2, 'x', 1, 2)"));
  EXPECT_FALSE(Logical("INLIST(3, 1, 2)"));
  EXPECT_EQ(Number("MAX(3, 9, 4)"), 9);
  EXPECT_EQ(Number("MIN(3, 9, 4)"), 3);
  EXPECT_EQ(Text("MAX('ab', 'b', 'a')"), "b");
  EXPECT_EQ(Number("MAX({20240101}, {20230101})"), Number("{20240101}"));
  EXPECT_EQ(ErrorOf("MAX(1, .T.)"), "All arguments for Max() must be of the same type");
}

TEST_F(ExpressionFunctions, TableFunctions) {
  SetRecord({}, /*deleted=*/true);
  EXPECT_TRUE(Logical("DELETED()"));
  EXPECT_TRUE(Logical("DELETED"));
  SetRecord({});
  EXPECT_FALSE(Logical("DELETED()"));
  EXPECT_EQ(Number("RECNO()"), 0);  // no table file behind this resolver
  EXPECT_FALSE(Logical("BOF() .OR. EOF()"));
  EXPECT_EQ(Text("TYPE('HLA_DAT')"), "D");
  EXPECT_EQ(Text("TYPE('skl_sta')"), "N");
  EXPECT_EQ(Text("TYPE('NOSUCH')"), "U");
  EXPECT_EQ(Number("FIELDNO('SKL_IND')"), 2);
  EXPECT_EQ(Number("FIELDNO('NOSUCH')"), 0);
  // LEN of the registry is found before the table's LEN.
  EXPECT_EQ(Number("LEN('SKL_NAC')"), 7);
}

}  // namespace
}  // namespace idx::testing
