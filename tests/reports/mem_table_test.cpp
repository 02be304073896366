#include "reports/mem_table.h"

#include <gtest/gtest.h>

#include "dbf/errors.h"
#include "reports/staging_layout.h"

namespace reports {
namespace {

class MemTableTest : public ::testing::Test {
 protected:
  MemTableTest() { DeclareStagingFields(table_); }
  void AddRow(const std::string& number) {
    table_.Append();
    table_.FieldByName("Faktura").SetAsString(number);
    table_.Post();
  }
  MemTable table_;
};

TEST_F(MemTableTest, StagingLayoutHasTheSixteenFieldsInOrder) {
  const char* names[] = {"Vystaveno", "Faktura",  "Proforma", "KodOdb",   "KodOdbPob", "Nazev",
                         "CelkemNC",  "CelkemPC", "Zaklad22", "Zaklad05", "Zaklad00",  "Dan22",
                         "Dan05",     "HalVyr",   "Mena",     "Kurz"};
  ASSERT_EQ(table_.field_count(), 16);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(table_.field(i).name(), names[i]);
  EXPECT_EQ(table_.FieldByName("KodOdb").display_width(), 7);
  EXPECT_EQ(table_.FieldByName("Nazev").size(), 30);
}

TEST_F(MemTableTest, OpensEmptyTakesPostedRowsInOrderAndDiscardsThemWhenClosed) {
  table_.Open();
  EXPECT_TRUE(table_.IsEmpty());
  EXPECT_TRUE(table_.Eof());
  AddRow("F1");
  AddRow("F2");
  table_.Append();
  table_.FieldByName("Faktura").SetAsString("dropped");
  table_.First();  // a move drops the unposted row
  std::vector<std::string> seen;
  for (; !table_.Eof(); table_.Next()) seen.push_back(table_.FieldByName("Faktura").AsString());
  EXPECT_EQ(seen, (std::vector<std::string>{"F1", "F2"}));
  table_.Close();
  table_.Open();
  EXPECT_EQ(table_.RecordCount(), 0u);
}

TEST_F(MemTableTest, NewRowsStartWithoutValuesAndEmptyTextIsAValue) {
  table_.Open();
  table_.Append();
  table_.FieldByName("Proforma").SetAsString("");
  table_.Post();
  EXPECT_TRUE(table_.FieldByName("Faktura").IsNull());
  EXPECT_TRUE(table_.FieldByName("Kurz").IsNull());
  EXPECT_EQ(table_.FieldByName("Kurz").AsFloat(), 0);
  EXPECT_FALSE(table_.FieldByName("Proforma").IsNull());
}

TEST_F(MemTableTest, TextsAreCutToTheFieldWidthAndKeepEveryByte) {
  table_.Open();
  table_.Append();
  table_.FieldByName("Faktura").SetAsString(std::string("12345\0\r\n90ABC", 13));
  table_.Post();
  EXPECT_EQ(table_.FieldByName("Faktura").AsString(), std::string("12345\0\r\n90", 10));
}

TEST_F(MemTableTest, WritesOutsideANewRowAndWrongKindsAreRefused) {
  table_.Open();
  AddRow("F1");
  EXPECT_THROW(table_.FieldByName("Faktura").SetAsString("x"), dbf::DatasetError);
  EXPECT_THROW(table_.Post(), dbf::DatasetError);
  EXPECT_THROW(table_.FieldByName("Faktura").AsFloat(), dbf::DatasetError);
  EXPECT_THROW(table_.FieldByName("Nic"), dbf::DatasetError);
  EXPECT_THROW(table_.AddField("Dalsi", MemFieldKind::kFloat), dbf::DatasetError);
  table_.Close();
  EXPECT_THROW(table_.Append(), dbf::DatasetError);
  EXPECT_THROW(table_.AddField("Faktura", MemFieldKind::kFloat), dbf::DatasetError);
}

TEST_F(MemTableTest, FieldsAreFoundWithoutRegardToCase) {
  EXPECT_EQ(&table_.FieldByName("celkempc"), &table_.FieldByName("CelkemPC"));
}

}  // namespace
}  // namespace reports
