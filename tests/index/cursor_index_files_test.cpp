// The cursor's index files and tags: CreateTag, OpenIndexFile and CloseIndexFile, IndexFiles
// and IndexName at Open and on an open table, SelectTag, the tag catalogue, and the key
// maintenance of writes through the cursor.

#include <gtest/gtest.h>

#include "cursor_test_support.h"
#include "dbf/dbf_file.h"
#include "dbf/file_names.h"
#include "index/cdx_checker.h"
#include "index/cdx_index.h"
#include "index/expression_key_source.h"

namespace idx {
namespace {

using testing_support::ErrorText;
using testing_support::IndexedCursor;
using testing_support::TempDir;
using testing_support::WalkField;
using testing_support::WalkForward;

class CursorIndexFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::TableBuilder({{"KOD", 'C', 6}, {"NAZEV", 'C', 12}, {"STAV", 'N', 5}})
        .Record({"K003", "Novak", "   10"})
        .Record({"K001", "dvorak", "    0"})
        .Record({"K002", "Adam", "    5"})
        .Record({"K005", "Zeman", "   -1"})
        .Record({"K004", "Benes", "    3"})
        .WriteTo(dir_.File("ODB.DBF"));
    ds_ = IndexedCursor(dir_, "ODB");
    ds_->Open();
    ds_->CreateTag("ODB.cdx", "KOD", "KOD", "", 0, 0);
    ds_->CreateTag("ODB", "NAZ", "UPPER(NAZEV)", "", 1, 0);
  }

  // The index file checked against the table: structure and every record's key.
  void ExpectSound() {
    dbf::DbfFile table;
    table.Open(dir_.File("ODB.DBF"), true, false);
    ExpressionKeySourceFactory factory(table);
    auto index = CdxIndex::Open(dir_.File("ODB.cdx"),
                                {.read_write = false, .table = &table, .key_sources = &factory});
    const CdxCheckReport report = CheckCdx(*index, &table);
    EXPECT_TRUE(report.clean()) << (report.faults.empty() ? "" : report.faults.front());
  }

  TempDir dir_;
  std::unique_ptr<dbf::DbfDataSet> ds_;
};

TEST_F(CursorIndexFilesTest, CreatedTagsAreListedOnceTheFileIsOpened) {
  EXPECT_EQ(ds_->TagCount(), 0);  // CreateTag leaves no index file open
  EXPECT_EQ(ds_->OpenIndexFile("ODB"), 0);
  EXPECT_EQ(ds_->OpenIndexFile(dir_.File("odb.CDX")), -1);
  ASSERT_EQ(ds_->TagCount(), 2);
  EXPECT_EQ(ds_->TagName(1), "KOD");
  EXPECT_EQ(ds_->TagName(2), "NAZ");
  EXPECT_EQ(ds_->TagExpression(2), "UPPER(NAZEV)");
  EXPECT_EQ(ds_->TagName(0), "");
  EXPECT_EQ(ds_->TagExpression(3), "");
  EXPECT_EQ(ds_->RecNo(), 1u);  // opening a file does not change the order
  ds_->SelectTag("naz");
  EXPECT_EQ(ds_->index_name(), "naz");
  EXPECT_EQ(WalkForward(*ds_), (std::vector<uint32_t>{3, 5, 2, 1, 4}));
  ExpectSound();
}

TEST_F(CursorIndexFilesTest, IndexFilesAndIndexNameApplyAtOpen) {
  ds_->Close();
  ds_->SetIndexName("Kod");
  ds_->SetIndexFiles({"ODB", "odb.cdx"});  // the same file twice is opened once at Open
  ds_->Open();
  EXPECT_EQ(ds_->TagCount(), 2);
  EXPECT_EQ(ds_->RecNo(), 2u);
  EXPECT_EQ(WalkField(*ds_, "KOD"),
            (std::vector<std::string>{"K001", "K002", "K003", "K004", "K005"}));
}

TEST_F(CursorIndexFilesTest, IndexNameWithoutIndexFilesStaysUnapplied) {
  ds_->Close();
  ds_->SetIndexName("KOD");
  ds_->Open();
  EXPECT_EQ(ds_->index_name(), "KOD");
  EXPECT_EQ(WalkForward(*ds_), (std::vector<uint32_t>{1, 2, 3, 4, 5}));
}

TEST_F(CursorIndexFilesTest, MissingListedIndexFileFailsTheOpen) {
  ds_->Close();
  ds_->SetIndexFiles({"NONE"});
  EXPECT_EQ(ErrorText([&] { ds_->Open(); }), "Cannot find file " + dir_.File("NONE.cdx"));
  EXPECT_FALSE(ds_->active());
  ds_->SetIndexFiles({"ODB"});
  ds_->SetIndexName("NOPE");
  EXPECT_EQ(ErrorText([&] { ds_->Open(); }), "Cannot find index tag NOPE");
  EXPECT_FALSE(ds_->active());
}

TEST_F(CursorIndexFilesTest, EditedIndexFilesReopenTheListAndReselect) {
  ds_->SetIndexFiles({"ODB"});
  EXPECT_EQ(ds_->TagCount(), 2);
  EXPECT_EQ(ErrorText([&] {
              ds_->SetIndexFiles({"ODB", "ODB.CDX"});
            }),
            "Index file " + dir_.File("ODB.CDX") + " already open");
  ds_->SetIndexName("KOD");
  ds_->SetIndexFiles({"ODB"});
  EXPECT_EQ(ds_->index_name(), "KOD");
  EXPECT_EQ(WalkForward(*ds_), (std::vector<uint32_t>{2, 3, 1, 5, 4}));
  ds_->SetIndexFiles({});  // an emptied list clears IndexName
  EXPECT_EQ(ds_->index_name(), "");
  EXPECT_EQ(ds_->TagCount(), 0);
  EXPECT_EQ(WalkForward(*ds_), (std::vector<uint32_t>{1, 2, 3, 4, 5}));
}

TEST_F(CursorIndexFilesTest, UnknownTagKeepsTheOrder) {
  ds_->OpenIndexFile("ODB");
  ds_->SelectTag("KOD");
  ds_->Next();
  EXPECT_EQ(ErrorText([&] { ds_->SelectTag("XYZ"); }), "Cannot find index tag XYZ");
  EXPECT_EQ(ds_->RecNo(), 3u);
  ds_->Next();
  EXPECT_EQ(ds_->RecNo(), 1u);
}

TEST_F(CursorIndexFilesTest, SelectTagKeepsACurrentRecordOfTheNewOrder) {
  ds_->OpenIndexFile("ODB");
  ds_->SetRecNo(5);
  ds_->SelectTag("KOD");
  EXPECT_EQ(ds_->RecNo(), 5u);
  ds_->Next();
  EXPECT_EQ(ds_->RecNo(), 4u);
  ds_->SelectTag("KOD");  // the tag already selected
  EXPECT_EQ(ds_->RecNo(), 4u);
  ds_->SelectTag("");  // natural order, same record
  EXPECT_EQ(ds_->RecNo(), 4u);
  ds_->Next();
  EXPECT_EQ(ds_->RecNo(), 5u);
}

// Last leaves the cursor on the last record with Eof; selecting the order in
// use again must not turn that into the first record.
TEST_F(CursorIndexFilesTest, SelectingTheOrderInUseAgainKeepsTheRecordAtEitherEnd) {
  ds_->OpenIndexFile("ODB");
  ds_->SelectTag("KOD");
  ds_->Last();
  ASSERT_EQ(ds_->RecNo(), 4u);  // K005
  ASSERT_TRUE(ds_->Eof());
  ds_->SelectTag(" kod ");
  EXPECT_EQ(ds_->RecNo(), 4u);
  EXPECT_TRUE(ds_->Eof());
  ds_->Prior();
  EXPECT_EQ(ds_->RecNo(), 5u);  // K004

  ds_->First();
  ds_->SelectTag("KOD");
  EXPECT_EQ(ds_->RecNo(), 2u);  // K001
  EXPECT_TRUE(ds_->Bof());

  // A seek past every key stands on the last record with Eof, too.
  EXPECT_FALSE(ds_->Find("K9", false, true));
  ds_->SelectTag("KOD");
  EXPECT_EQ(ds_->RecNo(), 4u);

  // Natural order selected again by an empty name.
  ds_->SelectTag("");
  ds_->Last();
  ds_->SelectTag("");
  EXPECT_EQ(ds_->RecNo(), 5u);
  EXPECT_TRUE(ds_->Eof());

  // Another tag at Eof still starts at its first record.
  ds_->SelectTag("KOD");
  ds_->Last();
  ds_->SelectTag("NAZ");
  EXPECT_EQ(ds_->RecNo(), 3u);  // Adam
}

// Selecting the ranged tag again removes its range: the record stays, and
// the end of the range is no end any more.
TEST_F(CursorIndexFilesTest, SelectingTheRangedTagAgainKeepsTheRecordAndDropsTheRange) {
  ds_->OpenIndexFile("ODB");
  ds_->SelectTag("KOD");
  ds_->SetRange("K002", "K003");
  ds_->Last();
  ASSERT_EQ(ds_->RecNo(), 1u);  // K003
  ds_->SelectTag("KOD");
  EXPECT_EQ(ds_->RecNo(), 1u);
  EXPECT_FALSE(ds_->Eof());
  ds_->Next();
  EXPECT_EQ(ds_->RecNo(), 5u);  // K004
}

TEST_F(CursorIndexFilesTest, SelectingATagThatExcludesTheRecordMovesToItsFirstRecord) {
  ds_->CreateTag("ODB", "KLADNE", "KOD", "STAV > 0", 1, 0);
  ds_->OpenIndexFile("ODB");
  ds_->SetRecNo(2);  // STAV 0: outside the FOR clause
  ds_->SelectTag("KLADNE");
  EXPECT_EQ(ds_->RecNo(), 3u);
  EXPECT_EQ(WalkForward(*ds_), (std::vector<uint32_t>{3, 1, 5}));
}

TEST_F(CursorIndexFilesTest, CloseIndexFileNeedsTheExtensionAndFallsBackToNaturalOrder) {
  ds_->OpenIndexFile("ODB");
  ds_->SelectTag("KOD");
  ds_->Next();
  ASSERT_EQ(ds_->RecNo(), 3u);
  ds_->CloseIndexFile(dir_.File("ODB"));  // no ".cdx": matches nothing
  EXPECT_EQ(ds_->TagCount(), 2);
  ds_->CloseIndexFile("elsewhere/odb.cdx");
  EXPECT_EQ(ds_->TagCount(), 0);
  EXPECT_EQ(ds_->RecNo(), 3u);  // no move
  EXPECT_EQ(ds_->index_name(), "");
  ds_->Next();
  EXPECT_EQ(ds_->RecNo(), 4u);  // natural order
}

TEST_F(CursorIndexFilesTest, WritesThroughTheCursorKeepEveryTagCurrent) {
  ds_->OpenIndexFile("ODB");
  ds_->SelectTag("KOD");
  ds_->Append();
  ds_->FieldByName("KOD").SetAsString("K000");
  ds_->FieldByName("NAZEV").SetAsString("Cerny");
  ds_->Post();
  EXPECT_EQ(ds_->RecNo(), 6u);
  ds_->SetRecNo(3);
  ds_->Edit();
  ds_->FieldByName("KOD").SetAsString("K009");
  ds_->Post();
  EXPECT_EQ(WalkField(*ds_, "KOD"),
            (std::vector<std::string>{"K000", "K001", "K003", "K004", "K005", "K009"}));
  ds_->SelectTag("NAZ");
  EXPECT_EQ(WalkForward(*ds_), (std::vector<uint32_t>{3, 5, 6, 2, 1, 4}));
  ds_->Close();
  ExpectSound();
}

TEST(CursorIndexPreconditions, ClosedCursorAndMissingSupport) {
  TempDir dir;
  testing_support::TableBuilder({{"KOD", 'C', 4}}).Record({"A"}).WriteTo(dir.File("T.DBF"));
  auto ds = IndexedCursor(dir, "T");
  const std::string closed = "Cannot perform this operation on a closed dataset";
  EXPECT_EQ(ErrorText([&] { ds->OpenIndexFile("T"); }), closed);
  EXPECT_EQ(ErrorText([&] { ds->SelectTag("A"); }), closed);
  EXPECT_EQ(ErrorText([&] { ds->TagCount(); }), closed);
  EXPECT_EQ(ErrorText([&] { ds->Find("A", false, false); }), closed);
  EXPECT_EQ(ErrorText([&] { ds->CreateTag("T", "A", "KOD", "", 0, 0); }), closed);

  dbf::DbfDataSet plain;
  plain.SetDatabaseName(dir.path());
  plain.SetTableName("T");
  plain.Open();
  EXPECT_EQ(ErrorText([&] { plain.OpenIndexFile("T"); }), "Index support is not installed");
  EXPECT_EQ(ErrorText([&] { plain.Find("A", false, false); }),
            "No index is assigned for Find operation");
  plain.SetRange("A", "B");  // without a tag nothing happens
  EXPECT_TRUE(plain.Locate("KOD", {"A"}));
  plain.Close();
  plain.SetIndexFiles({"T"});
  EXPECT_EQ(ErrorText([&] { plain.Open(); }), "Index support is not installed");
  EXPECT_FALSE(plain.active());
}

}  // namespace
}  // namespace idx
