// Edit, Append, Insert, Post, Cancel, Delete and Recall: the bytes they write,
// the record locks they take and release, read-only refusals, and new
// records that must never reach the file unless posted.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data_set_test_support.h"
#include "dbf/clock.h"
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

class DataSetEditTest : public ::testing::Test {
 protected:
  void SetUp() override { dbf::SetClockForTesting(dbf::LocalTime{2024, 5, 17, 10, 30, 0, 0}); }
  void TearDown() override { dbf::SetClockForTesting(std::nullopt); }

  TableBuilder Table(int n, std::vector<int> deleted = {}) const {
    TableBuilder b({{"NAME", 'C', 6}, {"AMOUNT", 'N', 8, 2}});
    for (int i = 1; i <= n; ++i) {
      const bool mark = std::find(deleted.begin(), deleted.end(), i) != deleted.end();
      b.Record({"R" + std::to_string(i), "    1.00"}, mark);
    }
    return b;
  }
  dbf::DbfDataSet& Open(const TableBuilder& b) {
    b.WriteTo(Path());
    ds_ = CursorOn(dir_, "T");
    ds_->Open();
    return *ds_;
  }
  std::unique_ptr<dbf::DbfDataSet> Second() {
    auto other = CursorOn(dir_, "T");
    other->Open();
    return other;
  }
  std::string Path() const { return dir_.File("T.DBF"); }
  std::string Image() const { return testing_support::ReadFileBytes(Path()); }
  std::string Name() { return ds_->FieldByName("NAME").AsString(); }

  TempDir dir_;
  std::unique_ptr<dbf::DbfDataSet> ds_;
};

TEST_F(DataSetEditTest, AppendPostGivesTheNextRecordAndStaysOnIt) {
  const TableBuilder b = Table(3);
  auto& ds = Open(b);
  const std::string before = Image();
  ds.Append();
  EXPECT_EQ(ds.state(), dbf::DataSetState::kInsert);
  EXPECT_EQ(ds.FieldByName("AMOUNT").AsFloat(), 0.0);  // a blank record
  ds.FieldByName("NAME").SetAsString("NEW");
  ds.FieldByName("AMOUNT").SetAsFloat(12.5);
  ds.Post();
  EXPECT_EQ(ds.state(), dbf::DataSetState::kBrowse);
  EXPECT_EQ(ds.RecNo(), 4u);
  EXPECT_EQ(Name(), "NEW");
  EXPECT_FALSE(ds.Eof());
  const std::string after = Image();
  const size_t end = b.HeaderLength() + 3 * b.RecordLength();
  EXPECT_EQ(after.size(), end + b.RecordLength() + 1);
  EXPECT_EQ(after.substr(end), " NEW      12.50\x1A");
  EXPECT_EQ(after.substr(4, 4), std::string("\x04\0\0\0", 4));  // record count
  EXPECT_EQ(after.substr(1, 3), "\x18\x05\x11");                // 2024-05-17
  EXPECT_EQ(after.substr(32, end - 32), before.substr(32, end - 32));
  ds.Prior();
  EXPECT_EQ(ds.RecNo(), 3u);
}

TEST_F(DataSetEditTest, EditPostRewritesTheRecordInPlace) {
  const TableBuilder b = Table(2);
  auto& ds = Open(b);
  ds.Next();
  ds.Edit();
  EXPECT_EQ(ds.state(), dbf::DataSetState::kEdit);
  ds.FieldByName("AMOUNT").SetAsFloat(-3);
  ds.Post();
  const std::string image = Image();
  EXPECT_EQ(image.size(), static_cast<size_t>(b.HeaderLength() + 2 * b.RecordLength() + 1));
  EXPECT_EQ(image.substr(b.HeaderLength() + b.RecordLength(), b.RecordLength()), " R2       -3.00");
  EXPECT_EQ(ds.RecNo(), 2u);
}

TEST_F(DataSetEditTest, EditReReadsTheRecordFromTheFile) {
  auto& ds = Open(Table(2));
  auto other = Second();
  other->Edit();
  other->FieldByName("NAME").SetAsString("OTHER");
  other->Post();
  EXPECT_EQ(Name(), "R1");  // the row as read at the last move
  ds.Edit();
  EXPECT_EQ(Name(), "OTHER");
  ds.Cancel();
}

TEST_F(DataSetEditTest, EditOnAnEmptyCursorStartsAnInsert) {
  auto& ds = Open(Table(1, {1}));
  ASSERT_TRUE(ds.IsEmpty());
  ds.Edit();
  EXPECT_EQ(ds.state(), dbf::DataSetState::kInsert);
  ds.FieldByName("NAME").SetAsString("FIRST");
  ds.Post();
  EXPECT_EQ(ds.RecNo(), 2u);
  EXPECT_FALSE(ds.Eof() || ds.Bof());
}

TEST_F(DataSetEditTest, CancelDropsTheChanges) {
  const TableBuilder b = Table(1);
  auto& ds = Open(b);
  const std::string before = Image();
  ds.Edit();
  ds.FieldByName("NAME").SetAsString("X");
  EXPECT_EQ(Name(), "X");
  ds.Cancel();
  EXPECT_EQ(Name(), "R1");
  EXPECT_EQ(Image(), before);
}

TEST_F(DataSetEditTest, EditCancelThenEditOfAnotherRecordSucceeds) {
  auto& ds = Open(Table(2));
  ds.Edit();
  ds.Cancel();  // releases the first record lock
  ds.Next();
  ds.Edit();
  EXPECT_EQ(ds.state(), dbf::DataSetState::kEdit);
  ds.Cancel();
}

TEST_F(DataSetEditTest, EditIsRefusedAtOnceWhileAnotherHandleHoldsTheLock) {
  auto& ds = Open(Table(2));
  auto other = Second();
  ASSERT_TRUE(other->LockRecord());
  EXPECT_EQ(ErrorOf([&] { ds.Edit(); }), "Record is locked by another user");
  EXPECT_EQ(ds.state(), dbf::DataSetState::kBrowse);
  ds.Next();
  ds.Edit();  // another record is free
  ds.Cancel();
  other->UnlockRecord();
  ds.Prior();
  ds.Edit();
  ds.Cancel();
}

TEST_F(DataSetEditTest, PostAndCancelReleaseTheRecordLock) {
  auto& ds = Open(Table(1));
  auto other = Second();
  ds.Edit();
  EXPECT_FALSE(other->LockRecord());
  ds.Post();
  EXPECT_TRUE(other->LockRecord());
  other->UnlockRecord();
  ds.Edit();
  ds.Cancel();
  EXPECT_TRUE(other->LockRecord());
  other->UnlockRecord();
  ds.Edit();
  ds.Close();  // closing releases everything
  EXPECT_TRUE(other->LockRecord());
}

TEST_F(DataSetEditTest, AppendReleasesOneLevelOfARecordLock) {
  auto& ds = Open(Table(1));
  auto other = Second();
  ASSERT_TRUE(ds.LockRecord());
  EXPECT_FALSE(other->LockRecord());
  ds.Append();
  EXPECT_TRUE(other->LockRecord());
  ds.Cancel();
}

TEST_F(DataSetEditTest, DeleteMovesOnOrBackWhenTheLastWasDeleted) {
  auto& ds = Open(Table(4, {4}));
  ds.SetRecNo(2);
  ds.Delete();
  EXPECT_EQ(ds.RecNo(), 3u);  // moved on
  ds.Delete();                // record 3 was the last visible one (4 is deleted)
  EXPECT_EQ(ds.RecNo(), 1u);
  EXPECT_EQ(Name(), "R1");
  EXPECT_EQ(Image()[Table(4).HeaderLength() + 2 * Table(4).RecordLength()], '*');
  ds.Delete();
  EXPECT_TRUE(ds.IsEmpty());
  EXPECT_TRUE(ds.Eof() && ds.Bof());
  EXPECT_EQ(ErrorOf([&] { ds.Delete(); }), "Cannot perform this operation on an empty dataset");
}

TEST_F(DataSetEditTest, DeleteDuringAnEditPostsTheEditFirst) {
  const TableBuilder b = Table(2);
  auto& ds = Open(b);
  ds.Edit();
  ds.FieldByName("NAME").SetAsString("EDITED");
  ds.Delete();
  EXPECT_EQ(ds.state(), dbf::DataSetState::kBrowse);
  EXPECT_EQ(Image().substr(b.HeaderLength(), 7), "*EDITED");
  EXPECT_EQ(Name(), "R2");       // moved on
  EXPECT_TRUE(ds.LockRecord());  // the edit's lock of record 1 was released
  ds.UnlockRecord();
}

TEST_F(DataSetEditTest, DeleteWithUseDeletedStaysAndRecallClearsTheMark) {
  const TableBuilder b = Table(2);
  auto& ds = Open(b);
  ds.set_use_deleted(true);
  ds.Delete();
  EXPECT_EQ(ds.RecNo(), 1u);
  EXPECT_TRUE(ds.deleted());
  EXPECT_EQ(Image()[b.HeaderLength()], '*');
  ds.Recall();
  EXPECT_FALSE(ds.deleted());
  EXPECT_EQ(Image()[b.HeaderLength()], ' ');
}

TEST_F(DataSetEditTest, DeleteKeepsChangesOtherProgramsMadeToTheRecord) {
  auto& ds = Open(Table(2));
  auto other = Second();
  other->Edit();
  other->FieldByName("NAME").SetAsString("MINE");
  other->Post();
  ds.Delete();
  other->SetRecNo(1);
  EXPECT_EQ(other->FieldByName("NAME").AsString(), "MINE");
}

TEST_F(DataSetEditTest, ReadOnlyCursorRefusesChanges) {
  Table(1).WriteTo(Path());
  auto ds = CursorOn(dir_, "T");
  ds->set_read_only(true);
  ds->Open();
  const std::string refused = "Cannot modify a read-only dataset";
  EXPECT_EQ(ErrorOf([&] { ds->Edit(); }), refused);
  EXPECT_EQ(ErrorOf([&] { ds->Append(); }), refused);
  EXPECT_EQ(ErrorOf([&] { ds->Insert(); }), refused);
  EXPECT_EQ(ErrorOf([&] { ds->Delete(); }), refused);
  EXPECT_EQ(ErrorOf([&] { ds->Recall(); }), refused);
  ds->set_read_only(false);  // the file stays opened for reading only
  EXPECT_EQ(ErrorOf([&] { ds->Edit(); }), refused);
}

TEST_F(DataSetEditTest, ReadOnlyTakesEffectAtOnceOnAnOpenCursor) {
  auto& ds = Open(Table(1));
  ds.set_read_only(true);
  EXPECT_EQ(ErrorOf([&] { ds.Edit(); }), "Cannot modify a read-only dataset");
  ds.set_read_only(false);
  ds.Edit();
  ds.Cancel();
}

TEST_F(DataSetEditTest, MovingOffAChangedEditPostsIt) {
  auto& ds = Open(Table(2));
  ds.Edit();
  ds.FieldByName("NAME").SetAsString("MOVED");
  ds.Next();
  EXPECT_EQ(ds.state(), dbf::DataSetState::kBrowse);
  ds.First();
  EXPECT_EQ(Name(), "MOVED");
}

// --- new records that are never posted

TEST_F(DataSetEditTest, InterruptedNewRecordIsNeverWritten) {
  auto& ds = Open(Table(2));
  const std::string before = Image();
  ds.Append();
  ds.FieldByName("NAME").SetAsString("HALF");
  EXPECT_THROW(ds.FieldByName("AMOUNT").SetAsFloat(1e12), dbf::DbfError);
  ds.Next();  // the next operation drops it
  EXPECT_EQ(ds.state(), dbf::DataSetState::kBrowse);
  EXPECT_EQ(Image(), before);
  ds.Append();
  ds.FieldByName("NAME").SetAsString("HALF");
  EXPECT_THROW(ds.FieldByName("AMOUNT").SetAsString("x"), dbf::DatasetError);
  ds.Append();  // so does a new Append
  ds.Cancel();
  ds.Insert();
  ds.FieldByName("NAME").SetAsString("HALF");
  ds.Close();  // and Close
  EXPECT_EQ(Image(), before);
  ds.Open();
  ds.Append();
  ds.FieldByName("NAME").SetAsString("HALF");
  ds_.reset();  // and the destructor
  EXPECT_EQ(Image(), before);
}

TEST_F(DataSetEditTest, NewRecordIsNotWrittenAtProcessEnd) {
  Open(Table(1));
  const std::string before = Image();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto ds = CursorOn(dir_, "T");
    ds->Open();
    ds->Append();
    ds->FieldByName("NAME").SetAsString("HALF");
    ds.release();  // never destroyed: the process just ends
    std::exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(Image(), before);
}

TEST_F(DataSetEditTest, ViewsLearnOfStateChangesAndPosting) {
  auto& ds = Open(Table(1));
  RecordingObserver views;
  ds.AddObserver(&views);
  ds.Edit();
  EXPECT_EQ(views.events, (std::vector<std::string>{"record", "state"}));
  views.events.clear();
  ds.FieldByName("NAME").SetAsString("V");
  ds.Post();
  EXPECT_EQ(views.events,
            (std::vector<std::string>{"field:NAME", "update-data", "state", "data-set"}));
  ds.RemoveObserver(&views);
}

}  // namespace
