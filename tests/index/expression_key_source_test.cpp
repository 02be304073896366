#include "index/expression_key_source.h"

#include <gtest/gtest.h>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/index_set.h"
#include "support/table_builder.h"

namespace idx {
namespace {

using testing_support::TempDir;

class ExpressionKeySourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::TableBuilder({{"KOD", 'C', 10}, {"CEN", 'N', 8, 2}, {"DAT", 'D', 8}})
        .Record({"AB", "   12.50", "20260102"})
        .WriteTo(dir_.File("t.dbf"));
    table_.Open(dir_.File("t.dbf"), true, true);
    table_.GoTo(1);
  }
  TempDir dir_;
  dbf::DbfFile table_;
};

TEST_F(ExpressionKeySourceTest, KeyTypeFollowsTheResultOfTheExpression) {
  ExpressionKeySourceFactory factory(table_);
  EXPECT_EQ(factory.Make("UPPER(KOD)", "")->key_type(), KeyType::kCharacter);
  EXPECT_EQ(factory.Make("CEN", "")->key_type(), KeyType::kNumber);
  EXPECT_EQ(factory.Make("DAT", "")->key_type(), KeyType::kDate);
  EXPECT_EQ(factory.Make("CEN > 10", "")->key_type(), KeyType::kCharacter);
}

// The type is found on the current record; on the first record of a table just opened (no
// record loaded); on a blank record when the table is empty. A key that fails there too leaves
// the type unknown and raises its failure wherever it is used.
TEST(ExpressionKeySourceProbe, KeyTypeIsFoundOnTheCurrentRecordElseTheFirstElseABlankOne) {
  TempDir dir;
  const std::vector<testing_support::FieldSpec> fields = {
      {"L1", 'L', 1}, {"N1", 'N', 4}, {"N2", 'N', 4}, {"K1", 'C', 3}};
  testing_support::TableBuilder(fields)
      .Record({"T", "   2", "   6", "abc"})
      .Record({"F", "   0", "   9", "xyz"})
      .WriteTo(dir.File("t.dbf"));
  dbf::DbfFile table;
  table.Open(dir.File("t.dbf"), true, false);
  ExpressionKeySourceFactory factory(table);
  EXPECT_EQ(factory.Make("N2/N1", "")->key_type(), KeyType::kNumber);  // the first record
  EXPECT_EQ(factory.Make("IIF(L1,N1,K1)", "")->key_type(), KeyType::kNumber);
  EXPECT_EQ(table.recno(), 0u);  // the table was not moved
  table.GoTo(2);
  EXPECT_EQ(factory.Make("IIF(L1,N1,K1)", "")->key_type(), KeyType::kCharacter);
  EXPECT_EQ(factory.Make("IIF(L1,N1,K1)", "")->key_length(), 3u);
  auto failing = factory.Make("N2/N1", "");
  EXPECT_FALSE(failing->key_type_known());
  EXPECT_THROW(failing->RequireKeyType(), dbf::ExpressionError);
  EXPECT_THROW(failing->Key(table.record()), dbf::ExpressionError);
  // A key that fails on the current record but not on a blank one.
  auto blank_only = factory.Make("N1/(N2-9)", "");
  EXPECT_TRUE(blank_only->key_type_known());
  EXPECT_EQ(blank_only->key_type(), KeyType::kNumber);

  testing_support::TableBuilder(fields).WriteTo(dir.File("e.dbf"));
  dbf::DbfFile empty;
  empty.Open(dir.File("e.dbf"), true, false);
  ExpressionKeySourceFactory on_empty(empty);
  EXPECT_EQ(on_empty.Make("N2", "")->key_type(), KeyType::kNumber);
  EXPECT_EQ(on_empty.Make("IIF(L1,N1,K1)", "")->key_type(), KeyType::kCharacter);
  EXPECT_FALSE(on_empty.Make("N2/N1", "")->key_type_known());
}

TEST_F(ExpressionKeySourceTest, KeyForClauseAndFieldNamesOverARecordImage) {
  ExpressionKeySourceFactory factory(table_);
  auto source = factory.Make("KOD+DTOS(DAT)", "CEN > 20");
  EXPECT_EQ(source->Key(table_.record()).bytes(), "AB        20260102");
  EXPECT_FALSE(source->For(table_.record()));
  EXPECT_EQ(source->FieldNames(), (std::vector<std::string>{"KOD", "DAT"}));
}

TEST_F(ExpressionKeySourceTest, FindKeyStoresTheValueIntoItsFieldAndTrimsTheKey) {
  ExpressionKeySourceFactory factory(table_);
  IndexSet set(table_, &factory);
  auto index = CdxIndex::Open(dir_.File("t.cdx"), {.may_create = true, .table = &table_});
  index.reset();
  {
    auto created = CdxIndex::Open(dir_.File("t.cdx"), {.table = &table_, .key_sources = &factory});
    CdxTagHeader header;
    header.key_length = 10;
    header.key_expression = "UPPER(KOD)";
    created->AddEmptyTag("KOD", header);
    header.key_length = 8;
    header.key_expression = "DAT";
    created->AddEmptyTag("DAT", header);
  }
  ASSERT_EQ(set.Attach("t"), 0);
  EXPECT_EQ(set.Attach(dir_.File("T.CDX")), -1);
  CdxTag* tag = set.FindTagByName(" kod ");
  ASSERT_NE(tag, nullptr);
  EXPECT_EQ(set.BuildFindKey(*tag, {"ab"}), "AB");
  CdxTag* date = set.FindTagByName("DAT");
  EXPECT_EQ(set.BuildFindKey(*date, {"00000000"}), "\x80");  // a blank date: day 0
  EXPECT_THROW(set.BuildFindKey(*date, {"31.02.2026"}), dbf::ExpressionError);
  EXPECT_EQ(set.FindTagByName(""), nullptr);
  EXPECT_THROW(set.FindTagByName("XYZ"), dbf::DbfError);
  set.Detach(dir_.File("t"));
  EXPECT_EQ(set.file_count(), 1);
  set.Detach("/elsewhere/T.cdx");
  EXPECT_EQ(set.file_count(), 0);
}

}  // namespace
}  // namespace idx
