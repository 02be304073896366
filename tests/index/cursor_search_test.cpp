// The cursor's searches over real index files: Locate through a qualifying tag or by scanning,
// with its partial and case-insensitive options; Find with its exact, near and end rules;
// FindKey from field values; SetRange with prefix and date bounds.

#include <gtest/gtest.h>

#include "cursor_test_support.h"
#include "dbf/charset_tables.h"

namespace idx {
namespace {

using testing_support::ErrorText;
using testing_support::IndexedCursor;
using testing_support::TableBuilder;
using testing_support::TempDir;
using testing_support::WalkField;
using testing_support::WalkForward;

// --- Locate by scanning (no index file open)

class LocateScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TableBuilder({{"ICO", 'C', 8}, {"CISDOKLADU", 'N', 10}, {"NAZEV", 'C', 16}})
        .Record({"87654321", "  20050011", dbf::Utf8ToCp852("Nováková")})
        .Record({"12345678", "   2005001", dbf::Utf8ToCp852("Čížek")})
        .Record({"1234", "         7", "Adam"})
        .Record({"1234", "         8", dbf::Utf8ToCp852("ŠŤASTNÝ")}, true)
        .WriteTo(dir_.File("ADRESAR.DBF"));
    ds_ = IndexedCursor(dir_, "ADRESAR");
    ds_->Open();
  }

  TempDir dir_;
  std::unique_ptr<dbf::DbfDataSet> ds_;
};

TEST_F(LocateScanTest, PartialKeyMatchesLeadingCharactersOfTextAndNumbers) {
  EXPECT_TRUE(ds_->Locate("ICO", {1234}, {.partial_key = true}));
  EXPECT_EQ(ds_->RecNo(), 2u);
  EXPECT_TRUE(ds_->Locate("ICO", {1234}));
  EXPECT_EQ(ds_->RecNo(), 3u);
  EXPECT_TRUE(ds_->Locate("ICO", {""}, {.partial_key = true}));
  EXPECT_EQ(ds_->RecNo(), 1u);
  ds_->Last();
  EXPECT_TRUE(ds_->Locate("ICO", {dbf::SearchValue()}, {.partial_key = true}));
  EXPECT_EQ(ds_->RecNo(), 1u);
  // Numbers compare as their trimmed texts: 20050011 begins with 2005001.
  EXPECT_TRUE(ds_->Locate(" cisdokladu ", {int64_t{2005001}}, {.partial_key = true}));
  EXPECT_EQ(ds_->RecNo(), 1u);
  EXPECT_TRUE(ds_->Locate("CISDOKLADU", {2005001}));
  EXPECT_EQ(ds_->RecNo(), 2u);
}

TEST_F(LocateScanTest, SeveralFieldsAndTheLastOneOnlyPartial) {
  EXPECT_TRUE(ds_->Locate("ICO;CISDOKLADU", {"1234", 7}));
  EXPECT_EQ(ds_->RecNo(), 3u);
  EXPECT_FALSE(ds_->Locate("CISDOKLADU;ICO", {20050, "8765"}, {.partial_key = true}));
  EXPECT_TRUE(ds_->Locate("CISDOKLADU;ICO", {20050011, "8765"}, {.partial_key = true}));
  EXPECT_EQ(ds_->RecNo(), 1u);
}

TEST_F(LocateScanTest, CaseInsensitiveMatchesCzechLettersInEitherCase) {
  EXPECT_FALSE(ds_->Locate("NAZEV", {dbf::Utf8ToCp1250("čížek")}));
  EXPECT_TRUE(ds_->Locate("NAZEV", {dbf::Utf8ToCp1250("čížek")}, {.case_insensitive = true}));
  EXPECT_EQ(ds_->RecNo(), 2u);
  EXPECT_TRUE(ds_->Locate("NAZEV", {dbf::Utf8ToCp1250("NOVÁK")},
                          {.case_insensitive = true, .partial_key = true}));
  EXPECT_EQ(ds_->RecNo(), 1u);
}

TEST_F(LocateScanTest, DeletedRecordsAreSkippedUnlessShown) {
  const std::string stastny = dbf::Utf8ToCp1250("ŠŤASTNÝ");
  EXPECT_FALSE(ds_->Locate("NAZEV", {stastny}));
  ds_->set_use_deleted(true);
  EXPECT_TRUE(ds_->Locate("NAZEV", {stastny}));
  EXPECT_EQ(ds_->RecNo(), 4u);
}

TEST_F(LocateScanTest, NothingFoundLeavesTheCursorAndBadInputRaises) {
  ds_->SetRecNo(3);
  EXPECT_FALSE(ds_->Locate("ICO", {"999"}, {.partial_key = true}));
  EXPECT_EQ(ds_->RecNo(), 3u);
  EXPECT_EQ(ErrorText([&] {
              ds_->Locate("ICO;XYZ", {"1", "2"});
            }),
            "There is no field name " + dir_.File("ADRESAR.DBF") + "->XYZ");
  EXPECT_EQ(ErrorText([&] { ds_->Locate("CISDOKLADU", {"12a"}); }),
            "Invalid Number value for field CISDOKLADU");
  EXPECT_EQ(ds_->RecNo(), 3u);
}

// --- searches over a customer table with tags

class CursorSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TableBuilder({{"KOD", 'C', 10}, {"NAZEV", 'C', 12}, {"STAV", 'N', 5}, {"DAT", 'D', 8}})
        .Record({"ABD", "Novak", "   10", "20050102"})
        .Record({"ABCD", "Dvorak", "    5", "20050101"})
        .Record({"ABA", "Adam", "    5", "20041231"})
        .Record({"123", "Zeman", "   -1", "20050103"})
        .Record({"1234", "Benes", "    3", "20050104"})
        .Record({"123", "Cerny", "    7", "20050105"})
        .WriteTo(dir_.File("ODB.DBF"));
    ds_ = IndexedCursor(dir_, "ODB");
    ds_->Open();
    ds_->CreateTag("ODB", "KOD", "KOD", "", 1, 0);
    ds_->CreateTag("ODB", "STAV", "STAV", "", 1, 0);
    ds_->CreateTag("ODB", "DAT", "DAT", "", 1, 0);
    ds_->CreateTag("ODB", "KLADNE", "NAZEV", "STAV>0", 1, 0);
    ds_->OpenIndexFile("ODB");
  }

  TempDir dir_;
  std::unique_ptr<dbf::DbfDataSet> ds_;
};

TEST_F(CursorSearchTest, FindNearLandsOnTheNextKeyAndPastTheEndOnTheLastRecord) {
  ds_->SelectTag("KOD");
  EXPECT_TRUE(ds_->Find("ABC", false, true));
  EXPECT_EQ(ds_->FieldByName("KOD").AsString(), "ABCD");
  EXPECT_FALSE(ds_->Eof());
  EXPECT_FALSE(ds_->Find("ABCZ", false, true));
  EXPECT_EQ(ds_->FieldByName("KOD").AsString(), "ABD");
  EXPECT_FALSE(ds_->Eof());
  // ABCA sorts before ABCD: the seek stops there, and ABCD does not begin with ABCA.
  EXPECT_FALSE(ds_->Find("ABCA", false, true));
  EXPECT_EQ(ds_->FieldByName("KOD").AsString(), "ABCD");
  EXPECT_FALSE(ds_->Find("ZZZ", false, true));
  EXPECT_TRUE(ds_->Eof());
  EXPECT_EQ(ds_->FieldByName("KOD").AsString(), "ABD");  // the last record of the order
}

TEST_F(CursorSearchTest, FindExactNeedsTheWholeKeyAndTrailingBlanksDoNotCount) {
  ds_->SelectTag("KOD");
  EXPECT_FALSE(ds_->Find("ABC", true, false));
  EXPECT_TRUE(ds_->Eof());
  EXPECT_TRUE(ds_->Find("ABCD  ", true, false));
  EXPECT_EQ(ds_->RecNo(), 2u);
  EXPECT_TRUE(ds_->Find("123", false, false));
  EXPECT_EQ(ds_->RecNo(), 4u);  // equal keys by record number
  ds_->Next();
  EXPECT_EQ(ds_->RecNo(), 6u);
}

TEST_F(CursorSearchTest, FindSkipsDeletedRecordsAndNeedsATag) {
  EXPECT_EQ(ErrorText([&] { ds_->Find("ABC", false, true); }),
            "No index is assigned for Find operation");
  EXPECT_EQ(ErrorText([&] { ds_->FindKey({"ABC"}); }), "No index is assigned for Find operation");
  ds_->SelectTag("KOD");
  ds_->SetRecNo(2);
  ds_->Delete();
  EXPECT_FALSE(ds_->Find("ABC", false, true));
  EXPECT_EQ(ds_->FieldByName("KOD").AsString(), "ABD");
}

TEST_F(CursorSearchTest, FindKeyStoresTheValueIntoTheKeyField) {
  ds_->SelectTag("KOD");
  ds_->Last();
  EXPECT_TRUE(ds_->FindKey({"AB"}));
  EXPECT_EQ(ds_->FieldByName("KOD").AsString(), "ABA");
  EXPECT_TRUE(ds_->FindKey({"ABD"}));
  EXPECT_EQ(ds_->RecNo(), 1u);
  EXPECT_FALSE(ds_->FindKey({"ABE"}));
  EXPECT_EQ(ds_->RecNo(), 1u);  // not found: the cursor stays
  EXPECT_FALSE(ds_->Eof());
  ds_->SelectTag("STAV");
  EXPECT_TRUE(ds_->FindKey({5}));
  EXPECT_EQ(ds_->RecNo(), 2u);
  EXPECT_TRUE(ds_->FindKey({-1.0}));
  EXPECT_EQ(ds_->RecNo(), 4u);
  EXPECT_EQ(ErrorText([&] { ds_->FindKey({"x"}); }), "Invalid Number value for field STAV");
  EXPECT_EQ(ds_->RecNo(), 4u);
  ds_->SelectTag("DAT");
  EXPECT_TRUE(ds_->FindKey({"20050104"}));
  EXPECT_EQ(ds_->RecNo(), 5u);
  EXPECT_EQ(ErrorText([&] { ds_->FindKey({"31.02.2005"}); }),
            "Invalid date in field ODB->DAT (31.02.2005)");
  EXPECT_EQ(ds_->RecNo(), 5u);
}

TEST_F(CursorSearchTest, LocateUsesAQualifyingTagWithoutForClause) {
  // Natural order: the KOD tag qualifies although it is not selected, so the first key wins
  // over the first record.
  EXPECT_TRUE(ds_->Locate("kod", {"AB"}, {.partial_key = true}));
  EXPECT_EQ(ds_->RecNo(), 3u);
  EXPECT_FALSE(ds_->Locate("KOD", {"AB"}));  // exact without partial
  EXPECT_EQ(ds_->RecNo(), 3u);
  // The FOR tag on NAZEV does not qualify: a scan finds the record outside it too.
  EXPECT_TRUE(ds_->Locate("NAZEV", {"Zeman"}));
  EXPECT_EQ(ds_->RecNo(), 4u);
  // Found through one tag, shown in the selected order.
  ds_->SelectTag("STAV");
  EXPECT_TRUE(ds_->Locate("KOD", {"1234"}));
  EXPECT_EQ(ds_->RecNo(), 5u);
  ds_->Next();
  EXPECT_EQ(ds_->RecNo(), 2u);
}

TEST_F(CursorSearchTest, LocateWithARangeScansAndFailureKeepsTagAndRange) {
  ds_->SelectTag("KOD");
  ds_->SetRange("AB", "ABD");
  ds_->Next();
  ASSERT_EQ(ds_->RecNo(), 2u);
  EXPECT_FALSE(ds_->Locate("KOD", {"ZZZ"}));
  EXPECT_EQ(ds_->RecNo(), 2u);
  EXPECT_EQ(ds_->index_name(), "KOD");
  EXPECT_EQ(WalkForward(*ds_), (std::vector<uint32_t>{3, 2, 1}));
  // With a range no tag is used: the scan finds record 4 outside the range.
  EXPECT_TRUE(ds_->Locate("KOD", {"123"}));
  EXPECT_EQ(ds_->RecNo(), 4u);
}

TEST_F(CursorSearchTest, SetRangeOfOneKeyLeavesOutLongerKeys) {
  ds_->SelectTag("KOD");
  ds_->SetRange("123", "123");
  EXPECT_EQ(WalkForward(*ds_), (std::vector<uint32_t>{4, 6}));
  ds_->set_exact_count(true);
  EXPECT_EQ(ds_->RecordCount(), 2u);
  ds_->SetRange("AB", "");
  EXPECT_EQ(WalkField(*ds_, "KOD"), (std::vector<std::string>{"ABA", "ABCD", "ABD"}));
  ds_->SetRange("", "");
  EXPECT_EQ(WalkForward(*ds_).size(), 6u);
  ds_->SetRange("X", "Y");
  EXPECT_TRUE(ds_->Eof() && ds_->Bof());
}

// A key the seek finds outside the range is not found; near lands on the first key in range.
TEST_F(CursorSearchTest, FindInsideARangeCountsKeysOutsideItAsNotFound) {
  ds_->SelectTag("KOD");
  ds_->SetRange("ABC", "");
  EXPECT_FALSE(ds_->Find("AB", false, true));  // lands on ABA, below the range
  EXPECT_EQ(ds_->FieldByName("KOD").AsString(), "ABCD");
  EXPECT_FALSE(ds_->Eof());
  EXPECT_FALSE(ds_->Find("AB", false, false));
  EXPECT_TRUE(ds_->Eof());
  EXPECT_TRUE(ds_->Find("ABD", false, false));
  EXPECT_EQ(ds_->RecNo(), 1u);
  ds_->SetRange("123", "ABA");
  EXPECT_FALSE(ds_->Find("ABD", false, true));  // above the range: the end
  EXPECT_TRUE(ds_->Eof());
}

TEST_F(CursorSearchTest, UnchangedBoundsDoNotMoveAndChangedOnesGoToTheFirstRecord) {
  ds_->SelectTag("KOD");
  ds_->SetRange("AB", "ABD");
  EXPECT_EQ(ds_->RecNo(), 3u);
  ds_->Next();
  ds_->SetRange("AB", "ABD");
  EXPECT_EQ(ds_->RecNo(), 2u);
  ds_->SetRange("ABC", "ABD");
  EXPECT_EQ(ds_->RecNo(), 2u);
  EXPECT_TRUE(ds_->Bof());
  ds_->SelectTag("");
  ds_->SetRange("A", "B");  // natural order: nothing happens
  EXPECT_EQ(WalkForward(*ds_).size(), 6u);
}

TEST_F(CursorSearchTest, DateRangeIncludesBothEndDays) {
  ds_->SelectTag("DAT");
  ds_->SetRange("01.01.2005", "03.01.2005");
  EXPECT_EQ(WalkForward(*ds_), (std::vector<uint32_t>{2, 1, 4}));
}

TEST_F(CursorSearchTest, SearchesOnAnEmptyTableFindNothing) {
  TableBuilder({{"KOD", 'C', 4}}).WriteTo(dir_.File("E.DBF"));
  auto empty = IndexedCursor(dir_, "E");
  empty->Open();
  empty->CreateTag("E", "KOD", "KOD", "", 0, 0);
  empty->OpenIndexFile("E");
  empty->SelectTag("KOD");
  EXPECT_FALSE(empty->Find("A", false, true));
  EXPECT_FALSE(empty->FindKey({"A"}));
  EXPECT_FALSE(empty->Locate("KOD", {"A"}));
  EXPECT_TRUE(empty->Eof() && empty->Bof());
}

}  // namespace
}  // namespace idx
