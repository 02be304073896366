// The cursor moving in the order of a tag: key order within the range, deleted records skipped
// in the direction of the move, Bof and Eof following the tag, and a record written outside the
// order staying shown but marked so.

#include "index/tag_order.h"

#include <gtest/gtest.h>

#include "cdx_test_support.h"
#include "dbf/data_set.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/index_set.h"
#include "index/key_encoding.h"
#include "support/table_builder.h"

namespace idx {
namespace {

using testing_support::FieldKeySource;
using testing_support::MapKeySourceFactory;
using testing_support::TempDir;

class TagOrderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::TableBuilder({{"KOD", 'C', 4}, {"FLG", 'C', 1}})
        .Record({"C", "Y"})
        .Record({"A", "Y"})
        .Record({"D", "Y"}, true)
        .Record({"B", "Y"})
        .Record({"E", "N"})
        .WriteTo(dir_.File("t.dbf"));
    factory_.Add("KOD FOR FLG='Y'", [] {
      return std::make_unique<FieldKeySource>("KOD", 1, 4, KeyType::kCharacter,
                                              [](const uint8_t* r) { return r[5] == 'Y'; });
    });
    ds_.SetDatabaseName(dir_.path());
    ds_.SetTableName("t.dbf");
    ds_.SetLockProtocol(dbf::LockProtocol::kClipLock);
    ds_.Open();
    {
      auto index = CdxIndex::Open(
          dir_.File("t.cdx"), {.may_create = true, .table = &ds_.file(), .key_sources = &factory_});
      CdxTagHeader header;
      header.key_length = 4;
      header.key_expression = "KOD";
      header.for_expression = "FLG='Y'";
      CdxTag& tag = index->AddEmptyTag("KOD", header);
      for (uint32_t recno = 1; recno <= 4; ++recno) {
        ds_.file().GoTo(recno);
        tag.Insert(TrimKey(std::string(reinterpret_cast<const char*>(ds_.file().record()) + 1, 4),
                           KeyType::kCharacter),
                   recno);
      }
    }
    set_ = std::make_unique<IndexSet>(ds_.file(), &factory_);
    set_->set_lock_protocol(dbf::LockProtocol::kClipLock);
    ds_.file().set_index_hooks(set_.get());
    ASSERT_EQ(set_->Attach("t.cdx"), 0);
    tag_ = set_->FindTagByName("kod");
    set_->SelectTag(tag_);
    ds_.SetOrder(std::make_unique<TagOrder>(ds_.file(), *set_, *tag_));
  }
  void TearDown() override {
    ds_.Close();
    set_.reset();
  }
  std::vector<uint32_t> Forward() {
    std::vector<uint32_t> out;
    for (ds_.First(); !ds_.Eof(); ds_.Next()) out.push_back(ds_.RecNo());
    return out;
  }

  TempDir dir_;
  MapKeySourceFactory factory_;
  dbf::DbfDataSet ds_;
  std::unique_ptr<IndexSet> set_;
  CdxTag* tag_ = nullptr;
};

TEST_F(TagOrderTest, MovesInKeyOrderSkippingDeletedRecords) {
  EXPECT_EQ(Forward(), (std::vector<uint32_t>{2, 4, 1}));
  ds_.Last();
  EXPECT_EQ(ds_.RecNo(), 1u);
  ds_.Prior();
  EXPECT_EQ(ds_.RecNo(), 4u);
  ds_.Prior();
  ds_.Prior();
  EXPECT_TRUE(ds_.Bof());
  EXPECT_EQ(ds_.RecNo(), 2u);
  EXPECT_EQ(set_->files()[0]->file().lock_count(), 0);
}

TEST_F(TagOrderTest, RangeLimitsTheMoves) {
  tag_->SetTagRange("B", "C");
  EXPECT_EQ(Forward(), (std::vector<uint32_t>{4, 1}));
}

TEST_F(TagOrderTest, AppendedRecordsJoinTheOrder) {
  ds_.Append();
  ds_.FieldByName("KOD").SetAsString("AA");
  ds_.FieldByName("FLG").SetAsString("Y");
  ds_.Post();
  EXPECT_FALSE(ds_.outside_order());
  EXPECT_EQ(Forward(), (std::vector<uint32_t>{2, 6, 4, 1}));
}

TEST_F(TagOrderTest, RecordWrittenOutsideTheOrderStaysShownButMarked) {
  ds_.First();
  ASSERT_EQ(ds_.RecNo(), 2u);
  ds_.Edit();
  ds_.FieldByName("FLG").SetAsString("N");
  ds_.Post();
  EXPECT_EQ(ds_.RecNo(), 2u);
  EXPECT_TRUE(ds_.outside_order());
  EXPECT_EQ(Forward(), (std::vector<uint32_t>{4, 1}));
}

}  // namespace
}  // namespace idx
