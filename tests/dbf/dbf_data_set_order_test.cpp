// The cursor's moves over another candidate sequence than natural order: a
// stand-in for a tag order that holds the even record numbers only.

#include <gtest/gtest.h>

#include "data_set_test_support.h"
#include "dbf/dbf_file.h"
#include "dbf/order.h"

namespace {

using namespace data_set_testing;

class EvenRecordsOrder : public dbf::Order {
 public:
  explicit EvenRecordsOrder(dbf::DbfFile& file) : file_(file) {}
  bool First() override { return Read(2); }
  bool Last() override {
    file_.RefreshHeader();
    const uint32_t count = file_.record_count();
    return count >= 2 && Read(count - count % 2);
  }
  bool Next() override { return Read(position_ + 2 - position_ % 2); }
  bool Prior() override {
    const uint32_t target = position_ % 2 ? position_ - 1 : position_ - 2;
    return position_ > 2 && Read(target);
  }
  bool Seat(uint32_t recno, const uint8_t*) override {
    position_ = recno;
    ++seats;
    return recno % 2 == 0;
  }
  bool GoToRecord(uint32_t recno) override {
    if (!file_.GoTo(recno)) return false;
    position_ = recno;
    return true;
  }
  bool natural() const override { return false; }
  int seats = 0;

 private:
  bool Read(uint32_t recno) {
    if (!file_.GoTo(recno)) return false;
    position_ = recno;
    return true;
  }
  dbf::DbfFile& file_;
  uint32_t position_ = 0;
};

class DataSetOrderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TableBuilder b({{"N", 'N', 3}});
    for (int i = 1; i <= 7; ++i) b.Record({std::to_string(i)}, i == 4);
    b.WriteTo(dir_.File("T.DBF"));
    ds_ = CursorOn(dir_, "T");
    ds_->Open();
  }
  EvenRecordsOrder& UseEven() {
    auto order = std::make_unique<EvenRecordsOrder>(ds_->file());
    EvenRecordsOrder& even = *order;
    ds_->SetOrder(std::move(order));
    return even;
  }
  std::string Walk() {
    std::string out;
    for (ds_->First(); !ds_->Eof(); ds_->Next()) out += std::to_string(ds_->RecNo()) + " ";
    return out;
  }
  TempDir dir_;
  std::unique_ptr<dbf::DbfDataSet> ds_;
};

TEST_F(DataSetOrderTest, MovesFollowTheOrderAndSkipDeletedCandidates) {
  UseEven();
  EXPECT_EQ(ds_->RecNo(), 2u);  // record 1 is not in the order: the first one is shown
  EXPECT_EQ(Walk(), "2 6 ");    // 4 carries the deleted mark
  ds_->Last();
  EXPECT_EQ(ds_->RecNo(), 6u);
  ds_->Prior();
  EXPECT_EQ(ds_->RecNo(), 2u);
  ds_->set_exact_count(true);
  EXPECT_EQ(ds_->RecordCount(), 2u);
  EXPECT_EQ(ds_->RecNo(), 2u);
}

TEST_F(DataSetOrderTest, SelectingAnOrderKeepsARecordThatBelongsToIt) {
  ds_->SetRecNo(6);
  ds_->Prior();  // natural order: record 5
  ds_->Next();
  UseEven();
  EXPECT_EQ(ds_->RecNo(), 6u);
  ds_->SetOrder(nullptr);  // back to natural order, same record
  EXPECT_EQ(ds_->RecNo(), 6u);
  ds_->Next();
  EXPECT_EQ(ds_->RecNo(), 7u);
}

TEST_F(DataSetOrderTest, RecordWrittenOutsideTheOrderStaysShown) {
  EvenRecordsOrder& even = UseEven();
  ds_->Append();  // becomes record 8
  ds_->Post();
  EXPECT_EQ(ds_->RecNo(), 8u);
  EXPECT_FALSE(ds_->outside_order());
  ds_->Append();  // record 9: not an even number
  ds_->Post();
  EXPECT_EQ(ds_->RecNo(), 9u);
  EXPECT_TRUE(ds_->outside_order());
  const int seats = even.seats;
  ds_->Prior();  // the move starts from the record's place in the order
  EXPECT_EQ(ds_->RecNo(), 8u);
  EXPECT_GT(even.seats, seats);
  EXPECT_FALSE(ds_->outside_order());
  ds_->Next();
  EXPECT_TRUE(ds_->Eof());
}

}  // namespace
