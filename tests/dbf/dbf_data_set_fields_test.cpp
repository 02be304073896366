// Field objects of the cursor: kinds, null rules, reads and writes with every
// conversion and error, code-page translation, declared-field binding.

#include <gtest/gtest.h>

#include <cstring>

#include "data_set_test_support.h"
#include "dbf/charset_tables.h"
#include "dbf/errors.h"
#include "dbf/field_kind.h"
#include "dbf/format_settings.h"

namespace {

using namespace data_set_testing;
using dbf::DatasetError;
using dbf::DbfError;
using dbf::FieldKind;
using dbf::LargeIntegerAs;

template <typename Call>
std::string ErrorOf(Call&& call) {
  try {
    call();
  } catch (const dbf::EngineError& e) {
    return e.what();
  }
  return "(no error)";
}

// --- kinds

struct KindRow {
  const char* name;
  dbf::FieldDescriptor descriptor;
  uint8_t version;
  LargeIntegerAs as;
  std::optional<FieldKind> kind;
};

dbf::FieldDescriptor Desc(char type, uint32_t width, uint32_t decimals = 0) {
  dbf::FieldDescriptor d;
  d.name = "F";
  d.type = type;
  d.width = width;
  d.decimals = decimals;
  d.offset = 1;
  d.number = 1;
  return d;
}

class KindOfFieldTest : public ::testing::TestWithParam<KindRow> {};

TEST_P(KindOfFieldTest, MapsTypeToKind) {
  const KindRow& row = GetParam();
  EXPECT_EQ(dbf::KindOfField(row.descriptor, row.version, row.as), row.kind);
}

constexpr auto kInt = LargeIntegerAs::kAsInteger;
INSTANTIATE_TEST_SUITE_P(
    Rows, KindOfFieldTest,
    ::testing::Values(KindRow{"C", Desc('C', 300), 0x03, kInt, FieldKind::kString},
                      KindRow{"NWithDecimals", Desc('N', 10, 2), 0x03, kInt, FieldKind::kFloat},
                      KindRow{"N1", Desc('N', 1), 0x03, kInt, FieldKind::kSmallInt},
                      KindRow{"N4", Desc('N', 4), 0x03, kInt, FieldKind::kSmallInt},
                      KindRow{"N5", Desc('N', 5), 0x03, kInt, FieldKind::kInteger},
                      KindRow{"N9", Desc('N', 9), 0x03, kInt, FieldKind::kInteger},
                      KindRow{"N10AsInteger", Desc('N', 10), 0x03, kInt, FieldKind::kInteger},
                      KindRow{"N10AsLargeInt", Desc('N', 10), 0x03, LargeIntegerAs::kAsLargeInt,
                              FieldKind::kLargeInt},
                      KindRow{"N19AsFloat", Desc('N', 19), 0x03, LargeIntegerAs::kAsFloat,
                              FieldKind::kFloat},
                      KindRow{"N9AsLargeIntStaysInteger", Desc('N', 9), 0x03,
                              LargeIntegerAs::kAsLargeInt, FieldKind::kInteger},
                      KindRow{"F3", Desc('F', 3), 0x03, kInt, FieldKind::kSmallInt},
                      KindRow{"D", Desc('D', 8), 0x03, kInt, FieldKind::kDate},
                      KindRow{"L", Desc('L', 1), 0x03, kInt, FieldKind::kBoolean},
                      KindRow{"M", Desc('M', 10), 0x03, kInt, FieldKind::kMemo},
                      KindRow{"G", Desc('G', 10), 0x83, kInt, FieldKind::kBlob},
                      KindRow{"BOfDbase", Desc('B', 10), 0x03, kInt, FieldKind::kBlob},
                      KindRow{"BOfVersion30IsDouble", Desc('B', 8), 0x30, kInt, FieldKind::kFloat},
                      KindRow{"IOfVersion30", Desc('I', 4), 0x30, kInt, FieldKind::kInteger},
                      KindRow{"TOfVersion30", Desc('T', 8), 0x30, kInt, FieldKind::kDateTime},
                      KindRow{"YOfVersion30", Desc('Y', 8), 0x30, kInt, FieldKind::kCurrency},
                      KindRow{"IOfDbaseIsNoField", Desc('I', 4), 0x03, kInt, std::nullopt},
                      KindRow{"UnknownLetter", Desc('X', 4), 0x03, kInt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FieldKindNames, AreTheToolkitNames) {
  EXPECT_STREQ(dbf::KindName(FieldKind::kString), "String");
  EXPECT_STREQ(dbf::KindName(FieldKind::kSmallInt), "SmallInt");
  EXPECT_STREQ(dbf::KindName(FieldKind::kLargeInt), "LargeInt");
  EXPECT_STREQ(dbf::KindName(FieldKind::kDateTime), "DateTime");
  EXPECT_TRUE(dbf::SameFamily(FieldKind::kSmallInt, FieldKind::kInteger));
  EXPECT_TRUE(dbf::SameFamily(FieldKind::kFloat, FieldKind::kCurrency));
  EXPECT_TRUE(dbf::SameFamily(FieldKind::kDate, FieldKind::kDateTime));
  EXPECT_TRUE(dbf::SameFamily(FieldKind::kMemo, FieldKind::kBlob));
  EXPECT_FALSE(dbf::SameFamily(FieldKind::kInteger, FieldKind::kLargeInt));
  EXPECT_FALSE(dbf::SameFamily(FieldKind::kString, FieldKind::kBoolean));
}

// --- a table with one field of every kind

class DataSetFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_formats_ = dbf::Formats();
    dbf::Formats().decimal_separator = ',';
    dbf::Formats().date_separator = '.';
    dbf::Formats().short_date_format = "dd.mm.yyyy";
  }
  void TearDown() override { dbf::Formats() = saved_formats_; }

  TableBuilder Table() const {
    return TableBuilder({{"NAME", 'C', 10},
                         {"SMALL", 'N', 4},
                         {"COUNT", 'N', 8},
                         {"BIG", 'N', 12},
                         {"AMOUNT", 'N', 10, 2},
                         {"DAY", 'D', 8},
                         {"FLAG", 'L', 1},
                         {"NOTES", 'M', 10}});
  }
  // Writes `builder` as T.DBF and opens a cursor on it.
  dbf::DbfDataSet& Open(const TableBuilder& builder,
                        LargeIntegerAs as = LargeIntegerAs::kAsInteger) {
    builder.WriteTo(dir_.File("T.DBF"));
    ds_ = CursorOn(dir_, "T");
    ds_->set_large_integer_as(as);
    ds_->Open();
    return *ds_;
  }
  // The bytes of field `offset`..+`width` of record `recno` in the file.
  std::string FileBytes(const TableBuilder& b, uint32_t recno, uint32_t offset,
                        uint32_t width) const {
    const std::string image = testing_support::ReadFileBytes(dir_.File("T.DBF"));
    return image.substr(b.HeaderLength() + (recno - 1) * b.RecordLength() + offset, width);
  }

  TempDir dir_;
  std::unique_ptr<dbf::DbfDataSet> ds_;
  dbf::FormatSettings saved_formats_;
};

TEST_F(DataSetFieldsTest, NullRulesPerKind) {
  auto& ds = Open(Table().Record({"", "", "", "", "", "", "", ""}));
  EXPECT_TRUE(ds.FieldByName("NAME").IsNull());
  EXPECT_EQ(ds.FieldByName("NAME").AsString(), "");
  EXPECT_FALSE(ds.FieldByName("COUNT").IsNull());
  EXPECT_EQ(ds.FieldByName("COUNT").AsInteger(), 0);
  EXPECT_FALSE(ds.FieldByName("AMOUNT").IsNull());
  EXPECT_EQ(ds.FieldByName("AMOUNT").AsFloat(), 0.0);
  EXPECT_TRUE(ds.FieldByName("DAY").IsNull());
  EXPECT_EQ(ds.FieldByName("DAY").AsString(), "");
  EXPECT_FALSE(ds.FieldByName("FLAG").IsNull());
  EXPECT_FALSE(ds.FieldByName("FLAG").AsBoolean());
  EXPECT_TRUE(ds.FieldByName("NOTES").IsNull());
}

TEST_F(DataSetFieldsTest, DatesThatAreNoDatesReadAsNull) {
  auto& ds = Open(Table()
                      .Record({"", "", "", "", "", "00000000"})
                      .Record({"", "", "", "", "", "20050231"})
                      .Record({"", "", "", "", "", "2005021"})
                      .Record({"", "", "", "", "", "20050228"}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(ds.FieldByName("DAY").IsNull()) << "record " << ds.RecNo();
    ds.Next();
  }
  EXPECT_FALSE(ds.FieldByName("DAY").IsNull());
  EXPECT_EQ(ds.FieldByName("DAY").AsString(), "28.02.2005");
  EXPECT_EQ(ds.FieldByName("DAY").AsDateTime(), 38411.0);
}

TEST_F(DataSetFieldsTest, TypedReadsOfAFilledRecord) {
  auto& ds = Open(Table().Record(
      {"  Praha", "  12", "  12.6", "987654321012", "   1234.5 ", "20240229", "J", "        17"}));
  EXPECT_EQ(ds.FieldByName("NAME").AsString(), "  Praha");  // leading spaces kept
  EXPECT_EQ(ds.FieldByName("SMALL").AsInteger(), 12);
  EXPECT_EQ(ds.FieldByName("COUNT").AsInteger(), 13);  // rounded to the nearest integer
  EXPECT_EQ(ds.FieldByName("AMOUNT").AsFloat(), 1234.5);
  EXPECT_EQ(ds.FieldByName("AMOUNT").AsString(), "1234,5");  // the locale's separator
  EXPECT_EQ(ds.FieldByName("AMOUNT").AsInteger(), 1235);
  EXPECT_EQ(ds.FieldByName("DAY").AsString(), "29.02.2024");
  EXPECT_TRUE(ds.FieldByName("FLAG").AsBoolean());
  EXPECT_EQ(ds.FieldByName("FLAG").AsString(), "True");
  EXPECT_FALSE(ds.FieldByName("NOTES").IsNull());
  EXPECT_EQ(ds.FieldByName("NOTES").AsString(), "17");
  // BIG is N(12,0) read as a 32-bit integer: the text is right, the integer
  // is refused rather than wrapped.
  EXPECT_EQ(ds.FieldByName("BIG").kind(), FieldKind::kInteger);
  EXPECT_EQ(ds.FieldByName("BIG").AsString(), "987654321012");
  EXPECT_EQ(ErrorOf([&] { ds.FieldByName("BIG").AsInteger(); }),
            "987654321012 is not a valid value for field 'BIG'. The allowed range is "
            "-2147483648 to 2147483647");
  EXPECT_EQ(ErrorOf([&] { ds.FieldByName("FLAG").AsInteger(); }),
            "Cannot access field 'FLAG' as type Integer");
}

TEST_F(DataSetFieldsTest, LargeIntegersAreExactUnderAsLargeInt) {
  auto& ds = Open(Table().Record({"", "", "", "-98765432101"}), LargeIntegerAs::kAsLargeInt);
  dbf::Field& big = ds.FieldByName("BIG");
  EXPECT_EQ(big.kind(), FieldKind::kLargeInt);
  EXPECT_EQ(big.AsLargeInt(), -98765432101);
  ds.Edit();
  big.SetAsLargeInt(999999999999);
  ds.Post();
  EXPECT_EQ(big.AsLargeInt(), 999999999999);
  ds.Edit();
  EXPECT_EQ(ErrorOf([&] { big.SetAsLargeInt(1000000000000); }),
            "numeric value too big in field BIG - 1000000000000");
  ds.Cancel();
}

TEST_F(DataSetFieldsTest, WritesOutsideEditOrInsertAreRefused) {
  auto& ds = Open(Table().Record({"A"}));
  EXPECT_EQ(ErrorOf([&] { ds.FieldByName("NAME").SetAsString("B"); }),
            "Dataset not in edit or insert mode");
  dbf::Field& name = ds.FieldByName("NAME");
  name.set_read_only(true);
  name.set_display_label("Jméno");
  ds.Edit();
  EXPECT_EQ(ErrorOf([&] { name.SetAsString("B"); }), "Field 'Jméno' cannot be modified");
  ds.Cancel();
}

TEST_F(DataSetFieldsTest, TextIntoNumberFieldsIsConvertedOrRefused) {
  const TableBuilder table = Table().Record({"", "", "    1234", "", "    777.00"});
  auto& ds = Open(table);
  ds.Edit();
  dbf::Field& count = ds.FieldByName("COUNT");
  dbf::Field& amount = ds.FieldByName("AMOUNT");
  EXPECT_EQ(ErrorOf([&] { count.SetAsString("12a"); }),
            "'12a' is not a valid integer value for field 'COUNT'");
  EXPECT_EQ(ErrorOf([&] { count.SetAsString("1,5"); }),
            "'1,5' is not a valid integer value for field 'COUNT'");
  EXPECT_EQ(ErrorOf([&] { amount.SetAsString("1.5"); }),  // the locale separator is ','
            "'1.5' is not a valid floating point value for field 'AMOUNT'");
  EXPECT_EQ(ErrorOf([&] { ds.FieldByName("SMALL").SetAsString("40000"); }),
            "40000 is not a valid value for field 'SMALL'. The allowed range is -32768 to 32767");
  count.SetAsString(" -42 ");
  EXPECT_EQ(count.AsInteger(), -42);
  amount.SetAsString("-12,345");
  EXPECT_EQ(amount.AsFloat(), -12.35);
  ds.Post();
  EXPECT_EQ(FileBytes(table, 1, 15, 8), "     -42");
  EXPECT_EQ(FileBytes(table, 1, 35, 10), "    -12.35");
  ds.Edit();
  count.SetAsString("");  // empty text stores null: 0
  amount.SetAsString("");
  ds.Post();
  EXPECT_EQ(FileBytes(table, 1, 15, 8), "       0");
  EXPECT_EQ(FileBytes(table, 1, 35, 10), "      0.00");
}

TEST_F(DataSetFieldsTest, NumberTooWideLeavesTheFieldAsItWas) {
  const TableBuilder table = Table().Record({"", "", "", "", "      1.50"});
  auto& ds = Open(table);
  ds.Edit();
  EXPECT_EQ(ErrorOf([&] { ds.FieldByName("AMOUNT").SetAsFloat(123456789.5); }),
            "numeric value too big in field AMOUNT - 123456789.50");
  EXPECT_EQ(ds.FieldByName("AMOUNT").AsFloat(), 1.5);
  ds.Cancel();
}

TEST_F(DataSetFieldsTest, DatesBooleansAndClearWriteTheirEncodings) {
  const TableBuilder table = Table().Record({"X", "1", "2", "3", "4", "20000101", "T"});
  auto& ds = Open(table);
  ds.Edit();
  ds.FieldByName("DAY").SetAsString("31.12.2024");
  ds.FieldByName("FLAG").SetAsBoolean(false);
  ds.Post();
  EXPECT_EQ(FileBytes(table, 1, 45, 8), "20241231");
  EXPECT_EQ(FileBytes(table, 1, 53, 1), "F");
  ds.Edit();
  EXPECT_EQ(ErrorOf([&] { ds.FieldByName("DAY").SetAsString("31.02.2024"); }),
            "'31.02.2024' is not a valid date for field 'DAY'");
  EXPECT_EQ(ErrorOf([&] { ds.FieldByName("FLAG").SetAsString("ano"); }),
            "'ano' is not a valid boolean value for field 'FLAG'");
  ds.FieldByName("FLAG").SetAsString("Ne");
  EXPECT_FALSE(ds.FieldByName("FLAG").AsBoolean());
  ds.FieldByName("FLAG").SetAsString("Jo");
  ds.FieldByName("NAME").Clear();
  ds.FieldByName("DAY").Clear();
  ds.FieldByName("COUNT").Clear();
  ds.Post();
  EXPECT_EQ(FileBytes(table, 1, 1, 10), std::string(10, ' '));
  EXPECT_EQ(FileBytes(table, 1, 45, 8), std::string(8, ' '));
  EXPECT_EQ(FileBytes(table, 1, 15, 8), "       0");
  EXPECT_EQ(FileBytes(table, 1, 53, 1), "T");
  EXPECT_TRUE(ds.FieldByName("DAY").IsNull());
}

TEST_F(DataSetFieldsTest, LongStringIsCutToTheFieldBeforeTranslation) {
  const TableBuilder table = Table().Record({"old"});
  auto& ds = Open(table);
  ds.Edit();
  // "Žluťoučký kůň" in code page 1250: 13 characters into a field of 10.
  const std::string text = dbf::Utf8ToCp1250("Žluťoučký kůň");
  ds.FieldByName("NAME").SetAsString(text);
  ds.Post();
  EXPECT_EQ(ds.FieldByName("NAME").AsString(), text.substr(0, 9));  // trailing blank trimmed
  EXPECT_EQ(FileBytes(table, 1, 1, 10), dbf::Utf8ToCp852("Žluťoučký "));
}

TEST_F(DataSetFieldsTest, EveryCzechLetterSurvivesTranslation) {
  const TableBuilder table = Table().Record({""});
  auto& ds = Open(table);
  const char* letters[] = {"á", "č", "ď", "é", "ě", "í", "ň", "ó", "ř", "š",
                           "ť", "ú", "ů", "ý", "ž", "Á", "Č", "Ď", "É", "Ě",
                           "Í", "Ň", "Ó", "Ř", "Š", "Ť", "Ú", "Ů", "Ý", "Ž"};
  for (const char* letter : letters) {
    const std::string ansi = dbf::Utf8ToCp1250(letter);
    const std::string oem = dbf::Utf8ToCp852(letter);
    ASSERT_EQ(ansi.size(), 1u);
    ASSERT_EQ(oem.size(), 1u);
    ds.set_translate_ascii(true);
    ds.Edit();
    ds.FieldByName("NAME").SetAsString(ansi);
    ds.Post();
    EXPECT_EQ(FileBytes(table, 1, 1, 1), oem) << letter;
    EXPECT_EQ(ds.FieldByName("NAME").AsString(), ansi) << letter;
    ds.set_translate_ascii(false);
    EXPECT_EQ(ds.FieldByName("NAME").AsString(), oem) << letter;
  }
}

TEST_F(DataSetFieldsTest, TranslateFollowsTheSetting) {
  auto& ds = Open(Table().Record({""}));
  const std::string ansi = dbf::Utf8ToCp1250("Příliš");
  EXPECT_EQ(ds.Translate(ansi, true), dbf::Utf8ToCp852("Příliš"));
  EXPECT_EQ(ds.Translate(dbf::Utf8ToCp852("Příliš"), false), ansi);
  ds.set_translate_ascii(false);
  EXPECT_EQ(ds.Translate(ansi, true), ansi);
}

TEST_F(DataSetFieldsTest, ViewsLearnOfFieldChanges) {
  auto& ds = Open(Table().Record({"A"}));
  RecordingObserver views;
  ds.AddObserver(&views);
  ds.Edit();
  ds.FieldByName("NAME").SetAsString("B");
  EXPECT_TRUE(views.Saw("field:NAME"));
  EXPECT_TRUE(ds.modified());
  ds.RemoveObserver(&views);
  ds.Cancel();
}

// --- declared fields

TEST_F(DataSetFieldsTest, DeclaredFieldsBindByNameAndFamily) {
  Table().Record({"A", "7", "", "4000000000"}).WriteTo(dir_.File("T.DBF"));
  dbf::DbfDataSet ds;
  ds.SetDatabaseName(dir_.path());
  ds.SetTableName("T");
  dbf::Field& small = ds.DeclareField("small", FieldKind::kInteger);  // same family
  dbf::Field& name = ds.DeclareField("NAME", FieldKind::kString);
  ds.Open();
  EXPECT_EQ(small.AsInteger(), 7);
  EXPECT_EQ(name.AsString(), "A");
  EXPECT_EQ(ds.field_count(), 2);
  EXPECT_EQ(ErrorOf([&] { ds.FieldByName("COUNT"); }), "Field 'COUNT' not found");
  ds.Close();
  EXPECT_EQ(ErrorOf([&] { name.AsString(); }), "Cannot perform this operation on a closed dataset");
}

TEST_F(DataSetFieldsTest, DeclaredFieldMissingFromTheTableFailsTheOpen) {
  Table().WriteTo(dir_.File("T.DBF"));
  dbf::DbfDataSet ds;
  ds.SetDatabaseName(dir_.path());
  ds.SetTableName("T");
  ds.DeclareField("NOPE", FieldKind::kString);
  EXPECT_EQ(ErrorOf([&] { ds.Open(); }), "Field 'NOPE' not found");
  EXPECT_FALSE(ds.active());
}

// KPOHLED-style: N(10,0) fields are large integers only under asLargeInt.
TEST_F(DataSetFieldsTest, LargeIntegerFieldsBindOnlyUnderAsLargeInt) {
  TableBuilder({{"CISLO", 'N', 10}, {"CASTKA", 'N', 12, 2}})
      .Record({"2005000123", "100.00"})
      .WriteTo(dir_.File("KPOHLED.DBF"));
  dbf::DbfDataSet ds;
  ds.SetDatabaseName(dir_.path());
  ds.SetTableName("KPOHLED");
  dbf::Field& cislo = ds.DeclareField("CISLO", FieldKind::kLargeInt);
  ds.DeclareField("CASTKA", FieldKind::kCurrency);  // float family
  EXPECT_EQ(ErrorOf([&] { ds.Open(); }),
            "Type mismatch for field 'CISLO', expecting: LargeInt actual: Integer");
  ds.set_large_integer_as(LargeIntegerAs::kAsLargeInt);
  ds.Open();
  EXPECT_EQ(cislo.AsLargeInt(), 2005000123);
  EXPECT_EQ(ds.FieldByName("CASTKA").AsFloat(), 100.0);
}

}  // namespace

namespace {

// Version 0x30 tables: binary integer, currency, date-time and double fields.
TEST(DataSetVersion30Fields, BinaryKindsReadAndWrite) {
  TempDir dir;
  std::string raw(28, '\0');     // I(4) Y(8) T(8) B(8), all zero
  raw[0] = 7;                    // I = 7
  raw[4] = 0x10, raw[5] = 0x27;  // Y = 10000 / 10000 = 1
  TableBuilder({{"NUM", 'I', 4}, {"PRICE", 'Y', 8}, {"STAMP", 'T', 8}, {"RATE", 'B', 8}}, 0x30)
      .RawRecord(raw)
      .WriteTo(dir.File("V.DBF"));
  auto ds = CursorOn(dir, "V");
  ds->Open();
  EXPECT_EQ(ds->FieldByName("NUM").kind(), FieldKind::kInteger);
  EXPECT_EQ(ds->FieldByName("NUM").AsInteger(), 7);
  EXPECT_EQ(ds->FieldByName("PRICE").kind(), FieldKind::kCurrency);
  EXPECT_EQ(ds->FieldByName("PRICE").AsFloat(), 1.0);
  EXPECT_TRUE(ds->FieldByName("STAMP").IsNull());  // all eight bytes zero
  EXPECT_EQ(ds->FieldByName("RATE").kind(), FieldKind::kFloat);
  ds->Edit();
  ds->FieldByName("STAMP").SetAsDateTime(45000.5);  // 2023-03-15 12:00
  ds->FieldByName("RATE").SetAsFloat(0.25);
  ds->FieldByName("NUM").SetAsInteger(-3);
  ds->Post();
  EXPECT_FALSE(ds->FieldByName("STAMP").IsNull());
  EXPECT_EQ(ds->FieldByName("STAMP").AsDateTime(), 45000.5);
  EXPECT_EQ(ds->FieldByName("RATE").AsFloat(), 0.25);
  EXPECT_EQ(ds->FieldByName("NUM").AsInteger(), -3);
  ds->Edit();
  ds->FieldByName("STAMP").Clear();
  ds->Post();
  EXPECT_TRUE(ds->FieldByName("STAMP").IsNull());
}

}  // namespace
