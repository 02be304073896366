#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "expression_test_table.h"
#include "index/expression/key_expression.h"
#include "index/expression/key_value.h"

namespace idx::testing {
namespace {

// One table holding every field that the system's key and FOR expressions read.
TestTable EveryKeyField() {
  TestTable t("Every0001");
  for (const char* name :
       {"HLA_DO1", "HLA_DO2", "HLA_DO3", "HLA_ODB", "HLA_ORG", "HLA_ODP", "DOD_KOD", "DOD_ICO",
        "DOD_DIC", "SOR_KAV", "SKL_KAV", "DEN_DOK", "VYP_DO1", "VYP_DO2", "VYP_DVS", "EXT_KOD",
        "EXT_ICO", "FAS_FAK", "FAP_DO1", "DPR_FAK", "ZAP_DOK", "SKL_EXT", "SKL_POS", "DEN_KAV",
        "EXT_TYP", "URS_URT", "URS_KOD", "IPS_DO1", "IPS_KAV", "PRP_KAV", "PRP_DO1", "SOR_SKU"}) {
    t.Field(name, 'C', 8);
  }
  t.Field("SKL_IND", 'C', 3).Field("DEN_IND", 'C', 3).Field("IPS_IND", 'C', 3);
  t.Field("PRP_IND", 'C', 3);
  for (const char* name : {"SKL_NAC", "EXT_NAC", "SOR_NAC", "SOR_KDO", "SOR_KVY", "DOD_FIR",
                           "HLA_NAC", "EXT_ALI", "POS_FIR", "NAH_POP"}) {
    t.Field(name, 'C', 24);
  }
  t.Field("HLA_DAT", 'D', 8).Field("DEN_DAT", 'D', 8).Field("ZAP_DAT", 'D', 8);
  t.Field("SOR_PC1", 'N', 12, 2).Field("SKL_STA", 'N', 10, 3);
  t.Field("BLO_KUS", 'N', 9, 2).Field("BLO_VYD", 'F', 9, 2);
  t.Field("HLA_PLA", 'L', 1);
  return t;
}

const char* const kSingleFieldKeys[] = {
    "HLA_DO1", "HLA_DO2", "HLA_DO3", "HLA_DAT", "HLA_ODB", "HLA_ORG", "DOD_KOD", "DOD_ICO",
    "DOD_DIC", "SOR_KAV", "SOR_PC1", "SKL_KAV", "DEN_DOK", "DEN_DAT", "VYP_DO1", "VYP_DO2",
    "VYP_DVS", "EXT_KOD", "EXT_ICO", "FAS_FAK", "FAP_DO1", "DPR_FAK", "ZAP_DOK", "ZAP_DAT"};

const char* const kConcatenatedKeys[] = {"SKL_KAV + SKL_IND",
                                         "SKL_EXT + SKL_POS + SKL_KAV",
                                         "SKL_EXT + SKL_POS + SKL_NAC",
                                         "DEN_KAV + DEN_IND",
                                         "HLA_ODB+HLA_ODP",
                                         "EXT_TYP+EXT_NAC",
                                         "URS_URT+URS_KOD",
                                         "IPS_DO1 + IPS_KAV+ IPS_IND",
                                         "PRP_KAV + PRP_IND + PRP_DO1"};

const char* const kUpperKeys[] = {"UPPER(SOR_NAC)", "UPPER(SOR_KDO)", "UPPER(SOR_KVY)",
                                  "UPPER(DOD_FIR)", "UPPER(HLA_NAC)", "UPPER(EXT_NAC)",
                                  "UPPER(EXT_ALI)", "UPPER(POS_FIR)", "UPPER(NAH_POP)"};

class ExpressionFields : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = ::testing::TempDir() + "expr_fields_" + std::to_string(getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    table_file_.Close();
    std::filesystem::remove_all(dir_);
  }

  // Writes the records into "<name>.dbf" and opens it.
  void Open(const TestTable& table, const std::vector<std::vector<uint8_t>>& records,
            const std::string& name = "Every0001") {
    const std::string path = dir_ + "/" + name + ".dbf";
    table.Write(path, records);
    table_file_.Open(path, true, false);
    resolver_ = std::make_unique<FieldResolver>(table_file_);
  }

  KeyExpression Compile(const std::string& text) {
    return KeyExpression::Compile(text, resolver_.get());
  }

  std::string dir_;
  dbf::DbfFile table_file_;
  std::unique_ptr<FieldResolver> resolver_;
};

// Records with blanks, Czech letters in OEM and boundary values.
std::vector<std::vector<uint8_t>> SampleRecords(const TestTable& t) {
  std::map<std::string, std::string> czech, full;
  for (const dbf::FieldDescriptor& f : t.fields()) {
    if (f.type != 'C') continue;
    czech[f.name] = dbf::Utf8ToCp852("Řů");
    full[f.name] = std::string(f.width, 'z');
  }
  czech["SOR_NAC"] = dbf::Utf8ToCp852("příliš žluťoučký kůň");
  czech["HLA_DAT"] = "20240229";
  czech["SOR_PC1"] = "-1234.5";
  czech["SKL_STA"] = "0.001";
  czech["HLA_PLA"] = "J";
  full["HLA_DAT"] = "99991231";
  full["DEN_DAT"] = "00010101";
  full["ZAP_DAT"] = "20050231";  // no calendar date: reads 0
  full["SOR_PC1"] = "999999999.99";
  full["SKL_STA"] = "-99999.999";
  full["BLO_KUS"] = "999999.99";
  full["BLO_VYD"] = "-99999.99";
  full["HLA_PLA"] = "?";
  return {t.Record({}), t.Record(czech), t.Record(full, /*deleted=*/true)};
}

TEST_F(ExpressionFields, SingleFieldKeysReadTheStoredValue) {
  const TestTable t = EveryKeyField();
  Open(t, SampleRecords(t));
  for (uint32_t recno = 1; recno <= 3; ++recno) {
    ASSERT_TRUE(table_file_.GoTo(recno));
    for (const char* text : kSingleFieldKeys) {
      KeyExpression e = Compile(text);
      const Value& v = e.Evaluate();
      const int field = table_file_.FieldNumber(text);
      switch (table_file_.field(field).type) {
        case 'C':
          ASSERT_EQ(v.type, ValueType::kText) << text;
          EXPECT_EQ(v.text, table_file_.Raw(field)) << text << " record " << recno;
          EXPECT_EQ(v.text.size(), table_file_.field(field).width);
          break;
        case 'D':
          ASSERT_EQ(v.type, ValueType::kDate) << text;
          EXPECT_EQ(v.number, static_cast<double>(table_file_.GetJulianDay(field)))
              << text << " record " << recno;
          break;
        default:
          ASSERT_EQ(v.type, ValueType::kNumber) << text;
          EXPECT_EQ(v.number, table_file_.GetNumber(field)) << text << " record " << recno;
      }
      EXPECT_EQ(e.FieldNames(), std::string(text) + ";");
    }
  }
  ASSERT_TRUE(table_file_.GoTo(3));
  EXPECT_EQ(Compile("HLA_DAT").Evaluate().number, 5373484);  // 9999-12-31
  EXPECT_EQ(Compile("DEN_DAT").Evaluate().number, 1721426);  // 0001-01-01
  EXPECT_EQ(Compile("ZAP_DAT").Evaluate().number, 0);
  EXPECT_EQ(Compile("SOR_PC1").Evaluate().number, 999999999.99);
}

TEST_F(ExpressionFields, ConcatenatedKeysKeepEveryByte) {
  const TestTable t = EveryKeyField();
  Open(t, SampleRecords(t));
  for (uint32_t recno = 1; recno <= 3; ++recno) {
    ASSERT_TRUE(table_file_.GoTo(recno));
    for (const char* text : kConcatenatedKeys) {
      KeyExpression e = Compile(text);
      std::string expected, names;
      std::string rest = text;
      for (size_t pos; (pos = rest.find('+')) != std::string::npos || !rest.empty();) {
        std::string name = rest.substr(0, pos);
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        expected += table_file_.Raw(table_file_.FieldNumber(name));
        names += name + ";";
        rest = pos == std::string::npos ? "" : rest.substr(pos + 1);
      }
      const Value& v = e.Evaluate();
      ASSERT_EQ(v.type, ValueType::kText) << text;
      EXPECT_EQ(v.text, expected) << text << " record " << recno;
      EXPECT_EQ(v.text.size(), e.width()) << text;
      EXPECT_EQ(e.FieldNames(), names) << text;
    }
  }
  // A short value keeps its blanks inside the key.
  TestTable small("Skl0001");
  small.Field("SKL_KAV", 'C', 6).Field("SKL_IND", 'C', 3);
  table_file_.Close();
  Open(small, {small.Record({{"SKL_KAV", "12"}, {"SKL_IND", "7"}})}, "Skl0001");
  ASSERT_TRUE(table_file_.GoTo(1));
  EXPECT_EQ(Compile("SKL_KAV + SKL_IND").Evaluate().text, "12    7  ");
}

TEST_F(ExpressionFields, UpperKeysTranslateThroughAnsiAndKeepTheWidth) {
  const TestTable t = EveryKeyField();
  Open(t, SampleRecords(t));
  ASSERT_TRUE(table_file_.GoTo(2));
  for (const char* text : kUpperKeys) {
    KeyExpression e = Compile(text);
    const Value& v = e.Evaluate();
    ASSERT_EQ(v.type, ValueType::kText) << text;
    EXPECT_EQ(v.text.size(), 24u) << text;
  }
  EXPECT_EQ(dbf::Cp852ToUtf8(std::string(Compile("UPPER(SOR_NAC)").Evaluate().text)),
            "PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ    ");
  EXPECT_EQ(dbf::Cp852ToUtf8(std::string(Compile("UPPER(HLA_NAC)").Evaluate().text)),
            "ŘŮ                      ");
  EXPECT_EQ(dbf::Cp852ToUtf8(std::string(Compile("SOR_SKU+UPPER(SOR_NAC)").Evaluate().text)),
            "Řů      PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ    ");
  ASSERT_TRUE(table_file_.GoTo(1));
  EXPECT_EQ(Compile("UPPER(SOR_NAC)").Evaluate().text, std::string(24, ' '));
}

TEST_F(ExpressionFields, ForConditions) {
  const TestTable t = EveryKeyField();
  Open(t, SampleRecords(t));
  KeyExpression stock = Compile("SKL_STA >0");
  KeyExpression unpaid = Compile("NOT HLA_PLA");
  KeyExpression left = Compile("(BLO_KUS-BLO_VYD)>0");
  ASSERT_TRUE(table_file_.GoTo(1));  // blanks: 0 > 0 is false; a blank logical is false
  EXPECT_FALSE(stock.Evaluate().logical);
  EXPECT_TRUE(unpaid.Evaluate().logical);
  EXPECT_FALSE(left.Evaluate().logical);
  ASSERT_TRUE(table_file_.GoTo(2));  // 0.001 in stock; paid ("J")
  EXPECT_TRUE(stock.Evaluate().logical);
  EXPECT_FALSE(unpaid.Evaluate().logical);
  ASSERT_TRUE(table_file_.GoTo(3));  // -99999.999; "?" reads false; 999999.99 - -99999.99 > 0
  EXPECT_FALSE(stock.Evaluate().logical);
  EXPECT_TRUE(unpaid.Evaluate().logical);
  EXPECT_TRUE(left.Evaluate().logical);
  EXPECT_EQ(left.Text(), "(BLO_KUS - BLO_VYD) > 0");
}

TEST_F(ExpressionFields, TableStateFunctions) {
  const TestTable t = EveryKeyField();
  Open(t, SampleRecords(t));
  KeyExpression recno = Compile("RECNO()");
  KeyExpression deleted = Compile("DELETED()");
  KeyExpression eof = Compile("EOF()");
  KeyExpression bof = Compile("BOF()");
  EXPECT_TRUE(bof.Evaluate().logical);
  ASSERT_TRUE(table_file_.GoTo(2));
  EXPECT_EQ(recno.Evaluate().number, 2);
  EXPECT_FALSE(deleted.Evaluate().logical);
  EXPECT_FALSE(bof.Evaluate().logical);
  ASSERT_TRUE(table_file_.GoTo(3));
  EXPECT_TRUE(deleted.Evaluate().logical);
  EXPECT_FALSE(table_file_.GoTo(dbf::DbfFile::Move::kNext));
  EXPECT_TRUE(eof.Evaluate().logical);
  EXPECT_EQ(Compile("Every0001.SKL_KAV").FieldNames(), "SKL_KAV;");
  EXPECT_EQ(Compile("EVERY0001->skl_kav").Text(), "SKL_KAV");
}

TEST_F(ExpressionFields, EvaluatesAnyRecordImage) {
  const TestTable t = EveryKeyField();
  const auto records = SampleRecords(t);
  Open(t, records);
  ASSERT_TRUE(table_file_.GoTo(1));
  KeyExpression e = Compile("SOR_SKU + DTOS(HLA_DAT)");
  const std::string from_buffer(e.Evaluate().text);
  const std::string from_image(e.Evaluate(records[1].data()).text);
  EXPECT_EQ(from_buffer, std::string(8, ' ') + std::string(8, ' '));
  EXPECT_EQ(from_image, dbf::Utf8ToCp852("Řů") + std::string(6, ' ') + "20240229");
  // DELETED() reads the image it evaluates, not the table's buffer.
  EXPECT_TRUE(Compile("DELETED()").Evaluate(records[2].data()).logical);
}

TEST_F(ExpressionFields, FieldValueErrorsComeFromTheTableLayer) {
  TestTable t("Bad0001");
  t.Field("NUM", 'N', 6, 1).Field("DAT", 'D', 8).Field("SHORTDAT", 'D', 8);
  Open(t,
       {t.Record({{"NUM", "12,5"}}), t.Record({{"DAT", "2024-1-1"}}),
        t.Record({{"SHORTDAT", "31.1.24"}, {"NUM", " 1.5"}})},
       "Bad0001");
  ASSERT_TRUE(table_file_.GoTo(1));
  try {
    Compile("NUM + 1").Evaluate();
    FAIL();
  } catch (const dbf::DbfError& e) {
    EXPECT_STREQ(e.what(), "Invalid numeric value in field Bad0001->NUM (  12,5)");
  }
  ASSERT_TRUE(table_file_.GoTo(2));
  try {
    Compile("DTOS(DAT)").Evaluate();
    FAIL();
  } catch (const dbf::DbfError& e) {
    EXPECT_STREQ(e.what(), "Invalid date in field Bad0001->DAT (2024-1-1)");
  }
  ASSERT_TRUE(table_file_.GoTo(3));  // other date text goes through the short date format
  EXPECT_EQ(std::string(Compile("DTOS(SHORTDAT)").Evaluate().text), "20240131");
  EXPECT_EQ(Compile("NUM").Evaluate().number, 1.5);
}

TEST_F(ExpressionFields, OtherFieldTypes) {
  TestTable t("Odd0001");
  t.Field("WIDE", 'C', 300).Field("MEMO", 'M', 10).Field("GEN", 'G', 10).Field("ODD", 'X', 2);
  Open(t, {t.Record({{"WIDE", "w"}, {"MEMO", "        12"}, {"GEN", "7"}, {"ODD", "ab"}})},
       "Odd0001");
  ASSERT_TRUE(table_file_.GoTo(1));
  EXPECT_EQ(Compile("WIDE").Evaluate().text.size(), 300u);
  KeyExpression memo = Compile("MEMO");
  EXPECT_EQ(memo.Evaluate().type, ValueType::kText);
  EXPECT_EQ(memo.Evaluate().text, "        12");
  KeyExpression gen = Compile("GEN");
  EXPECT_EQ(gen.Evaluate().type, ValueType::kMemo);
  EXPECT_EQ(gen.Evaluate().text, "7         ");
}

TEST_F(ExpressionFields, EvaluateToKeyStoresEachTypeOfResult) {
  const TestTable t = EveryKeyField();
  Open(t, SampleRecords(t));
  ASSERT_TRUE(table_file_.GoTo(2));
  KeyValue key;
  KeyExpression text = Compile("SKL_KAV + SKL_IND");
  text.EvaluateToKey(key);
  EXPECT_EQ(key.kind(), KeyKind::kCharacter);
  EXPECT_EQ(key.bytes(), dbf::Utf8ToCp852("Řů") + std::string(6, ' ') + dbf::Utf8ToCp852("Řů "));
  Compile("SOR_PC1").EvaluateToKey(key);
  EXPECT_EQ(key.kind(), KeyKind::kFloat);
  EXPECT_EQ(key.AsFloat(), -1234.5);
  Compile("HLA_DAT").EvaluateToKey(key);
  EXPECT_EQ(key.kind(), KeyKind::kInteger);
  EXPECT_EQ(key.AsInteger(), 2460370);
  Compile("NOT HLA_PLA").EvaluateToKey(key);
  EXPECT_EQ(key.kind(), KeyKind::kLogical);
  EXPECT_FALSE(key.AsLogical());
  KeyExpression empty_date = Compile("CTOD('')");
  empty_date.EvaluateToKey(key);
  EXPECT_EQ(key.AsInteger(), 0);
  EXPECT_EQ(empty_date.ResultType(), ValueType::kDate);
  // A type a key cannot hold leaves the key untouched and the result type Unknown.
  const KeyValue before = key;
  KeyExpression nothing = Compile("");
  nothing.EvaluateToKey(key);
  EXPECT_EQ(key, before);
  EXPECT_EQ(nothing.ResultType(), ValueType::kUnknown);
}

// The resolver follows the table's TranslateASCII setting as it changes.
TEST_F(ExpressionFields, TranslateFlagOfTheTableChangesAtOnce) {
  const TestTable t = EveryKeyField();
  Open(t, SampleRecords(t));
  ASSERT_TRUE(table_file_.GoTo(2));
  KeyExpression e = Compile("UPPER(SOR_NAC)");
  const std::string translated(e.Evaluate().text);
  table_file_.set_translate_ascii(false);  // the OEM bytes are now read as ANSI letters
  const std::string direct(e.Evaluate().text);
  EXPECT_NE(translated, direct);
  EXPECT_EQ(direct.size(), translated.size());
}

}  // namespace
}  // namespace idx::testing
