// Moves of the cursor in natural order: First/Next/Prior/Last/MoveBy, Eof and
// Bof, deleted-record skipping, RecNo, RecordCount, failed reads, and what
// views are told.

#include <gtest/gtest.h>

#include <filesystem>

#include "data_set_test_support.h"
#include "dbf/errors.h"

namespace {

using namespace data_set_testing;

template <typename Call>
std::string ErrorOf(Call&& call) {
  try {
    call();
  } catch (const dbf::EngineError& e) {
    return e.what();
  }
  return "(no error)";
}

class DataSetMovesTest : public ::testing::Test {
 protected:
  // Records 1..n named R1..Rn; those listed in `deleted` carry the mark.
  dbf::DbfDataSet& Open(int n, std::vector<int> deleted = {}, bool use_deleted = false) {
    TableBuilder b({{"NAME", 'C', 6}, {"QTY", 'N', 5}});
    for (int i = 1; i <= n; ++i) {
      const bool mark = std::find(deleted.begin(), deleted.end(), i) != deleted.end();
      b.Record({"R" + std::to_string(i), std::to_string(i)}, mark);
    }
    b.WriteTo(dir_.File("T.DBF"));
    ds_ = CursorOn(dir_, "T");
    ds_->set_use_deleted(use_deleted);
    ds_->Open();
    return *ds_;
  }
  std::string Name() { return ds_->FieldByName("NAME").AsString(); }
  // The names met walking forward from First.
  std::string Walk() {
    std::string out;
    for (ds_->First(); !ds_->Eof(); ds_->Next()) out += Name() + " ";
    return out;
  }

  TempDir dir_;
  std::unique_ptr<dbf::DbfDataSet> ds_;
};

TEST_F(DataSetMovesTest, OpenShowsTheFirstRecord) {
  auto& ds = Open(3);
  EXPECT_EQ(ds.state(), dbf::DataSetState::kBrowse);
  EXPECT_EQ(ds.RecNo(), 1u);
  EXPECT_EQ(Name(), "R1");
  EXPECT_TRUE(ds.Bof());
  EXPECT_FALSE(ds.Eof());
}

TEST_F(DataSetMovesTest, NextPastTheEndStaysOnTheLastRecordWithEof) {
  auto& ds = Open(2);
  ds.Next();
  EXPECT_EQ(ds.RecNo(), 2u);
  EXPECT_FALSE(ds.Eof());
  ds.Next();
  EXPECT_TRUE(ds.Eof());
  EXPECT_EQ(ds.RecNo(), 2u);
  EXPECT_EQ(Name(), "R2");
  ds.Prior();
  EXPECT_FALSE(ds.Eof());
  EXPECT_EQ(ds.RecNo(), 1u);
  ds.Prior();
  EXPECT_TRUE(ds.Bof());
  EXPECT_EQ(ds.RecNo(), 1u);
}

TEST_F(DataSetMovesTest, LastSetsEofAndMoveByCountsTheSteps) {
  auto& ds = Open(5);
  ds.Last();
  EXPECT_TRUE(ds.Eof());
  EXPECT_EQ(ds.RecNo(), 5u);
  EXPECT_EQ(ds.MoveBy(-3), -3);
  EXPECT_EQ(ds.RecNo(), 2u);
  EXPECT_EQ(ds.MoveBy(-5), -1);
  EXPECT_TRUE(ds.Bof());
  EXPECT_EQ(ds.MoveBy(10), 4);
  EXPECT_TRUE(ds.Eof());
  EXPECT_EQ(ds.RecNo(), 5u);
}

TEST_F(DataSetMovesTest, DeletedRecordsAreSkippedInTheDirectionOfTheMove) {
  auto& ds = Open(6, {1, 3, 4, 6});
  EXPECT_EQ(ds.RecNo(), 2u);  // First continues forward
  EXPECT_EQ(Walk(), "R2 R5 ");
  ds.Last();  // Last continues backward
  EXPECT_EQ(ds.RecNo(), 5u);
  ds.Prior();
  EXPECT_EQ(ds.RecNo(), 2u);
  ds.Prior();
  EXPECT_TRUE(ds.Bof());
  EXPECT_EQ(ds.RecNo(), 2u);
}

TEST_F(DataSetMovesTest, UseDeletedShowsMarkedRecords) {
  auto& ds = Open(3, {2}, true);
  EXPECT_EQ(Walk(), "R1 R2 R3 ");
  ds.SetRecNo(2);
  EXPECT_TRUE(ds.deleted());
  ds.set_use_deleted(false);
  EXPECT_EQ(Walk(), "R1 R3 ");
}

TEST_F(DataSetMovesTest, TableWhoseOnlyRecordIsDeletedIsEmpty) {
  auto& ds = Open(1, {1});
  EXPECT_TRUE(ds.Eof());
  EXPECT_TRUE(ds.Bof());
  EXPECT_TRUE(ds.IsEmpty());
  EXPECT_EQ(ds.RecNo(), 0u);
  EXPECT_EQ(Name(), "");
  ds.Close();
  ds.set_use_deleted(true);
  ds.Open();
  EXPECT_FALSE(ds.Eof());
  EXPECT_FALSE(ds.IsEmpty());
  EXPECT_EQ(Name(), "R1");
}

TEST_F(DataSetMovesTest, EmptyTableIsEofAndBof) {
  auto& ds = Open(0);
  EXPECT_TRUE(ds.Eof());
  EXPECT_TRUE(ds.Bof());
  ds.Next();
  ds.Last();
  EXPECT_TRUE(ds.Eof() && ds.Bof());
  EXPECT_EQ(ds.RecordCount(), 0u);
}

TEST_F(DataSetMovesTest, RecNoWriteGoesToThePhysicalRecord) {
  auto& ds = Open(4, {3});
  ds.SetRecNo(3);  // ignoring the deleted mark
  EXPECT_EQ(ds.RecNo(), 3u);
  EXPECT_EQ(Name(), "R3");
  EXPECT_FALSE(ds.Eof() || ds.Bof());
  ds.Next();
  EXPECT_EQ(ds.RecNo(), 4u);
  const std::string path = dir_.File("T.DBF");
  EXPECT_EQ(ErrorOf([&] { ds.SetRecNo(9); }), "Record number 9 is not in table " + path);
  EXPECT_EQ(ErrorOf([&] { ds.SetRecNo(5); }), "Record number 5 is not in table " + path);
  EXPECT_EQ(ds.RecNo(), 4u);
  ds.Prior();
  EXPECT_EQ(ds.RecNo(), 2u);
}

TEST_F(DataSetMovesTest, RecordCountWithAndWithoutExactCount) {
  auto& ds = Open(5, {2, 4});
  ds.SetRecNo(3);
  EXPECT_EQ(ds.RecordCount(), 5u);  // deleted records included
  ds.set_exact_count(true);
  EXPECT_EQ(ds.RecordCount(), 3u);
  EXPECT_EQ(ds.RecNo(), 3u);  // the current record is unchanged
  EXPECT_EQ(Name(), "R3");
  ds.Next();
  EXPECT_EQ(ds.RecNo(), 5u);
}

TEST_F(DataSetMovesTest, RecordsAppendedByOthersAppearPastTheOldEnd) {
  auto& ds = Open(2);
  auto other = CursorOn(dir_, "T");
  other->Open();
  other->Append();
  other->FieldByName("NAME").SetAsString("NEW");
  other->Post();
  EXPECT_EQ(ds.RecordCount(), 2u);  // as of the last header refresh
  ds.Next();
  ds.Next();  // past the old last record: the header is read again
  EXPECT_EQ(Name(), "NEW");
  EXPECT_EQ(ds.RecordCount(), 3u);
}

TEST_F(DataSetMovesTest, FailedReadRaisesAndLeavesTheCursorWhereItWas) {
  auto& ds = Open(3);
  EXPECT_EQ(Name(), "R1");
  // Another program cuts the file in the middle of record 2.
  TableBuilder b({{"NAME", 'C', 6}, {"QTY", 'N', 5}});
  std::filesystem::resize_file(dir_.File("T.DBF"), b.HeaderLength() + b.RecordLength() + 5);
  EXPECT_EQ(ErrorOf([&] { ds.Next(); }), "Record request beyond range of table");
  EXPECT_EQ(ds.RecNo(), 1u);
  EXPECT_EQ(Name(), "R1");
  EXPECT_FALSE(ds.Eof());
  EXPECT_EQ(ErrorOf([&] { ds.MoveBy(2); }), "Record request beyond range of table");
  EXPECT_EQ(ds.RecNo(), 1u);
}

TEST_F(DataSetMovesTest, ViewsLearnOfScrolling) {
  auto& ds = Open(2);
  RecordingObserver views;
  ds.AddObserver(&views);
  ds.Next();
  EXPECT_EQ(views.events, (std::vector<std::string>{"before-scroll", "after-scroll"}));
  views.events.clear();
  ds.Next();  // no record beyond: Eof, no scroll happened
  EXPECT_FALSE(views.Saw("after-scroll"));
  views.events.clear();
  ds.DisableControls();
  ds.First();
  EXPECT_TRUE(views.events.empty());
  ds.EnableControls();
  EXPECT_EQ(views.events, (std::vector<std::string>{"data-set"}));
  views.events.clear();
  ds.Close();
  EXPECT_EQ(views.events, (std::vector<std::string>{"active"}));
}

TEST_F(DataSetMovesTest, ClosedCursorRefusesOperations) {
  dbf::DbfDataSet ds;
  const std::string closed = "Cannot perform this operation on a closed dataset";
  EXPECT_EQ(ErrorOf([&] { ds.First(); }), closed);
  EXPECT_EQ(ErrorOf([&] { ds.Next(); }), closed);
  EXPECT_EQ(ErrorOf([&] { ds.RecNo(); }), closed);
  EXPECT_EQ(ErrorOf([&] { ds.RecordCount(); }), closed);
  EXPECT_EQ(ErrorOf([&] { ds.Edit(); }), closed);
  EXPECT_EQ(ErrorOf([&] { ds.Append(); }), closed);
  EXPECT_EQ(ErrorOf([&] { ds.Delete(); }), closed);
  EXPECT_EQ(ErrorOf([&] { ds.LockRecord(); }), closed);
}

TEST_F(DataSetMovesTest, BusyCursorRefusesMovesAndEditsButReadsFields) {
  auto& ds = Open(2);
  ds.set_building_index(true);
  const std::string busy = "Table is busy building an index";
  EXPECT_EQ(ErrorOf([&] { ds.Next(); }), busy);
  EXPECT_EQ(ErrorOf([&] { ds.First(); }), busy);
  EXPECT_EQ(ErrorOf([&] { ds.SetRecNo(2); }), busy);
  EXPECT_EQ(ErrorOf([&] { ds.Edit(); }), busy);
  EXPECT_EQ(ErrorOf([&] { ds.Append(); }), busy);
  EXPECT_EQ(ErrorOf([&] { ds.Delete(); }), busy);
  EXPECT_EQ(ErrorOf([&] { ds.Close(); }), busy);
  EXPECT_EQ(Name(), "R1");
  ds.set_building_index(false);
  ds.Next();
  EXPECT_EQ(ds.RecNo(), 2u);
}

}  // namespace
