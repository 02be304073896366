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
