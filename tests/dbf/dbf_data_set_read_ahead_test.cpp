// When the cursor reads through the table's read-ahead window: natural order
// selected by name switches it on, a selected tag switches it off, and what
// other programs' changes a move then shows. A stand-in index support offers
// one tag, "ODD", whose order holds the odd record numbers.

#include <gtest/gtest.h>

#include <fstream>

#include "data_set_test_support.h"
#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/index_support.h"
#include "dbf/order.h"

namespace {

using namespace data_set_testing;

class OddRecordsOrder : public dbf::Order {
 public:
  explicit OddRecordsOrder(dbf::DbfFile& file) : file_(file) {}
  bool First() override { return Read(1); }
  bool Last() override {
    file_.RefreshHeader();
    const uint32_t count = file_.record_count();
    return count >= 1 && Read(count % 2 ? count : count - 1);
  }
  bool Next() override { return Read(position_ % 2 ? position_ + 2 : position_ + 1); }
  bool Prior() override {
    return position_ > 2 && Read(position_ % 2 ? position_ - 2 : position_ - 1);
  }
  bool Seat(uint32_t recno, const uint8_t*) override {
    position_ = recno;
    return recno % 2 == 1;
  }
  bool GoToRecord(uint32_t recno) override { return Read(recno); }
  bool natural() const override { return false; }

 private:
  bool Read(uint32_t recno) {
    if (!file_.GoTo(recno)) return false;
    position_ = recno;
    return true;
  }
  dbf::DbfFile& file_;
  uint32_t position_ = 0;
};

// One index file "T.CDX" with the tag "ODD"; nothing is ever sought.
class StandInIndexSupport : public dbf::IndexSupport {
 public:
  void TableOpened(dbf::DbfFile& table) override { table_ = &table; }
  void TableClosing() override { open_ = selected_ = false; }
  void SetLockProtocol(dbf::LockProtocol) override {}
  int OpenIndexFile(const std::string&) override {
    const bool was_open = open_;
    open_ = true;
    return was_open ? -1 : 0;
  }
  void CloseIndexFile(const std::string&) override { open_ = selected_ = false; }
  void CloseAllIndexFiles() override { open_ = selected_ = false; }
  std::unique_ptr<dbf::Order> SelectTag(std::string_view name) override {
    if (name.empty()) {
      selected_ = false;
      return nullptr;
    }
    if (!open_ || name != "ODD") throw dbf::DbfError("Cannot find index tag " + std::string(name));
    selected_ = true;
    return std::make_unique<OddRecordsOrder>(*table_);
  }
  bool tag_selected() const override { return selected_; }
  bool selected_tag_has_range() const override { return false; }
  int TagCount() const override { return open_ ? 1 : 0; }
  std::string TagName(int n) const override { return n == 1 && open_ ? "ODD" : ""; }
  std::string TagExpression(int) const override { return ""; }
  SeekResult Seek(std::string_view, bool, bool, const Visible&) override { return {}; }
  std::vector<std::string> SelectedKeyFields() const override { return {}; }
  SeekResult SeekRecordKey(const uint8_t*, const Visible&) override { return {}; }
  bool SetRange(std::string_view, std::string_view) override { return false; }
  std::optional<SeekResult> LocateByTag(const std::string&, const uint8_t*, bool,
                                        const Visible&) override {
    return std::nullopt;
  }
  void CreateTag(const std::string&, const std::string&, const NewTag&, const Progress&) override {}

 private:
  dbf::DbfFile* table_ = nullptr;
  bool open_ = false, selected_ = false;
};

class DataSetReadAheadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TableBuilder b({{"NAME", 'C', 6}});
    for (int i = 1; i <= 6; ++i) b.Record({"R" + std::to_string(i)});
    b.WriteTo(dir_.File("T.DBF"));
    std::ofstream(dir_.File("T.CDX")) << "stand-in";
    ds_ = CursorOn(dir_, "T");
    ds_->SetIndexSupport(std::make_unique<StandInIndexSupport>());
  }
  bool ReadAhead() const { return ds_->file().read_ahead_enabled(); }
  std::string Name() { return ds_->FieldByName("NAME").AsString(); }
  // Another program renames record `recno`.
  void RenameElsewhere(uint32_t recno, const std::string& name) {
    auto other = CursorOn(dir_, "T");
    other->Open();
    other->SetRecNo(recno);
    other->Edit();
    other->FieldByName("NAME").SetAsString(name);
    other->Post();
  }

  TempDir dir_;
  std::unique_ptr<dbf::DbfDataSet> ds_;
};

TEST_F(DataSetReadAheadTest, NaturalOrderByNameSwitchesItOnATagOff) {
  ds_->Open();
  EXPECT_FALSE(ReadAhead());  // off when the table opens
  ds_->OpenIndexFile("T.CDX");
  EXPECT_FALSE(ReadAhead());  // opening an index file selects nothing
  ds_->SelectTag("");
  EXPECT_TRUE(ReadAhead());
  ds_->SelectTag("ODD");
  EXPECT_FALSE(ReadAhead());
  EXPECT_THROW(ds_->SelectTag("NONE"), dbf::DbfError);
  EXPECT_FALSE(ReadAhead());     // a tag that is not found changes nothing
  ds_->CloseIndexFile("T.CDX");  // the selected tag's file: natural order
  EXPECT_TRUE(ReadAhead());
  ds_->OpenIndexFile("T.CDX");
  ds_->SetIndexName("ODD");
  EXPECT_FALSE(ReadAhead());
  ds_->Close();
  EXPECT_FALSE(ReadAhead());
}

TEST_F(DataSetReadAheadTest, IndexFilesOpenedWithAnEmptyIndexNameSwitchItOn) {
  ds_->SetIndexFiles({"T.CDX"});
  ds_->Open();
  EXPECT_TRUE(ReadAhead());
  ds_->Close();
  ds_->SetIndexFiles({"T.CDX"});
  ds_->SetIndexName("ODD");
  ds_->Open();
  EXPECT_FALSE(ReadAhead());
  ds_->SetIndexFiles({"T.CDX"});  // the list opened again with IndexName "ODD"
  EXPECT_FALSE(ReadAhead());
}

TEST_F(DataSetReadAheadTest, WindowShowsTheFileAsItWasFilledUntilAMoveLeavesIt) {
  ds_->Open();
  ds_->OpenIndexFile("T.CDX");
  ds_->SelectTag("");
  ds_->Next();  // record 2 fills the window with records 2 to 6
  RenameElsewhere(3, "OTHER");
  ds_->Next();
  EXPECT_EQ(Name(), "R3");  // as the window holds it
  ds_->Edit();              // an edit reads the record afresh
  EXPECT_EQ(Name(), "OTHER");
  ds_->Cancel();
  // In tag order every move reads the file.
  ds_->SelectTag("ODD");
  EXPECT_EQ(ds_->RecNo(), 3u);
  RenameElsewhere(5, "FIFTH");
  ds_->Next();
  EXPECT_EQ(Name(), "FIFTH");
}

}  // namespace
