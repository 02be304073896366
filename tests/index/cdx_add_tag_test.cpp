#include "index/cdx_add_tag.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "index/cdx_checker.h"
#include "index/cdx_index.h"
#include "index/cdx_leaf_page.h"
#include "index/cdx_tag.h"
#include "index/cdx_test_support.h"
#include "index/key_encoding.h"
#include "support/table_builder.h"

namespace idx {
namespace {

using testing_support::FieldKeySource;
using testing_support::FieldSpec;
using testing_support::MapKeySourceFactory;
using testing_support::TableBuilder;
using testing_support::TempDir;

using Status = std::tuple<int32_t, int32_t, int32_t>;
using Entry = std::pair<std::string, uint32_t>;

// Stock table: SKL_KAV C10 at 1, SKL_IND C2 at 11, SKL_STA N8 at 13, SOR_NAC C20 at 21,
// DAT D8 at 41.
const std::vector<FieldSpec> kFields = {{"SKL_KAV", 'C', 10},
                                        {"SKL_IND", 'C', 2},
                                        {"SKL_STA", 'N', 8, 2},
                                        {"SOR_NAC", 'C', 20},
                                        {"DAT", 'D', 8}};

double Stock(const uint8_t* record) {
  return std::strtod(std::string(reinterpret_cast<const char*>(record) + 13, 8).c_str(), nullptr);
}

class AddTagTest : public ::testing::Test {
 protected:
  AddTagTest() {
    factory_.Add("SKL_KAV", [] {
      return std::make_unique<FieldKeySource>("SKL_KAV", 1, 10, KeyType::kCharacter);
    });
    factory_.Add("SKL_KAV FOR SKL_STA >0", [] {
      return std::make_unique<FieldKeySource>("SKL_KAV", 1, 10, KeyType::kCharacter,
                                              [](const uint8_t* r) { return Stock(r) > 0; });
    });
    factory_.Add("UPPER(SOR_NAC)", [] {
      return std::make_unique<FieldKeySource>("SOR_NAC", 21, 20, KeyType::kCharacter);
    });
    factory_.Add("SKL_STA", [] {
      return std::make_unique<FieldKeySource>("SKL_STA", 13, 8, KeyType::kNumber);
    });
    factory_.Add("DAT",
                 [] { return std::make_unique<FieldKeySource>("DAT", 41, 8, KeyType::kDate); });
    // A number tag whose key turns out as text: not sortable.
    factory_.Add("BAD", [] { return std::make_unique<WrongTypeSource>(); });
  }

  class WrongTypeSource : public TagKeySource {
   public:
    KeyType key_type() const override { return KeyType::kNumber; }
    KeyValue Key(const uint8_t*) override { return KeyValue::Character("X"); }
    bool For(const uint8_t*) override { return true; }
    std::vector<std::string> FieldNames() const override { return {}; }
  };

  void WriteTable(const TableBuilder& builder) { builder.WriteTo(dir_.File("skl.dbf")); }

  std::unique_ptr<CdxIndex> OpenIndex() {
    if (!table_.is_open()) table_.Open(dir_.File("skl.dbf"), false, true);
    CdxOpenOptions options;
    options.shared = false;
    options.may_create = true;
    options.table = &table_;
    options.key_sources = &factory_;
    return CdxIndex::Open(dir_.File("skl.cdx"), options);
  }

  CdxTag& Add(CdxIndex& index, const std::string& name, const TagDefinition& definition) {
    statuses_.clear();
    return AddTag(index, name, definition,
                  [this](int32_t a, int32_t b, int32_t c) { statuses_.emplace_back(a, b, c); });
  }

  static std::vector<Entry> Entries(CdxTag& tag) {
    std::vector<Entry> entries;
    tag.ForEachEntry(
        [&](const std::string& key, uint32_t record) { entries.emplace_back(key, record); });
    return entries;
  }

  void ExpectClean(CdxIndex& index) {
    const CdxCheckReport report = CheckCdx(index, &table_);
    for (const auto& fault : report.faults) ADD_FAILURE() << fault;
  }

  TempDir dir_;
  dbf::DbfFile table_;
  MapKeySourceFactory factory_;
  std::vector<Status> statuses_;
};

TEST_F(AddTagTest, EmptyTableGetsHeaderAndEmptyRootLeaf) {
  WriteTable(TableBuilder(kFields));
  auto index = OpenIndex();
  CdxTag& tag = Add(*index, "kav", {"SKL_KAV", "", true, false});
  EXPECT_EQ(tag.name(), "KAV");
  EXPECT_EQ(statuses_, (std::vector<Status>{{-1, 1, 0}, {0, 0, 0}, {-1, 2, 0}, {0, 0, 0}}));
  // Directory 0..1535, header 1536..2559, root leaf at 2560.
  EXPECT_EQ(tag.header_offset(), 1536u);
  EXPECT_EQ(tag.root_offset(), 2560u);
  EXPECT_EQ(index->file_size(), 3072u);
  const CdxPage root = index->ReadPage(2560);
  EXPECT_EQ(ReadLe16(&root[0]), 3);
  EXPECT_EQ(ReadLe16(&root[2]), 0);
  EXPECT_EQ(ReadLe32(&root[4]), kNoPage);
  EXPECT_EQ(ReadLe32(&root[8]), kNoPage);
  EXPECT_EQ(ReadLe16(&root[0x0C]), 488);
  EXPECT_EQ(root[0x17], 3);
  const CdxTagHeader header = index->ReadTagHeader(1536, false);
  EXPECT_EQ(header.key_length, 10);
  EXPECT_TRUE(header.unique);
  EXPECT_EQ(header.key_expression, "SKL_KAV");
  ExpectClean(*index);
}

TEST_F(AddTagTest, ProgressCountsEveryRecordAndEveryPair) {
  WriteTable(TableBuilder(kFields)
                 .Record({"A", "", "    1.00"})
                 .Record({"B", "", "    0.00"})
                 .Record({"C", "", "   -2.00"})
                 .Record({"D", "", "    3.00"}, /*deleted=*/true));
  auto index = OpenIndex();
  CdxTag& tag = Add(*index, "PUJ", {"SKL_KAV", "SKL_STA >0", false, false});
  EXPECT_EQ(statuses_, (std::vector<Status>{{-1, 1, 4},
                                            {1, 1, 0},
                                            {1, 2, 0},
                                            {1, 3, 0},
                                            {1, 4, 0},
                                            {0, 0, 0},
                                            {-1, 2, 4},
                                            {2, 1, 0},
                                            {2, 2, 0},
                                            {0, 0, 0}}));
  // Zero and negative stock left out; the deleted record is indexed.
  EXPECT_EQ(Entries(tag), (std::vector<Entry>{{"A", 1}, {"D", 4}}));
  EXPECT_TRUE(tag.has_for());
  ExpectClean(*index);
}

TEST_F(AddTagTest, UniqueTagKeepsTheLowestRecordOfEachKey) {
  TableBuilder builder(kFields);
  for (int i = 0; i < 3000; ++i) builder.Record({"K" + std::to_string((i * 37) % 50)});
  WriteTable(builder);
  auto index = OpenIndex();
  CdxTag& tag = Add(*index, "KAV", {"SKL_KAV", "", true, false});
  const auto entries = Entries(tag);
  ASSERT_EQ(entries.size(), 50u);
  for (const auto& [key, record] : entries) {
    const int value = std::stoi(key.substr(1));
    // Record r holds K((r - 1) * 37 % 50): the first one of each value.
    uint32_t first = 1;
    while (((first - 1) * 37) % 50 != static_cast<uint32_t>(value)) ++first;
    EXPECT_EQ(record, first) << key;
  }
  ExpectClean(*index);
}

TEST_F(AddTagTest, ForTagOverManyRecordsEndsWithRightSiblingMinusOne) {
  TableBuilder builder(kFields);
  for (int i = 0; i < 20000; ++i) {
    char kav[11], sta[9];
    std::snprintf(kav, sizeof kav, "%010d", (i * 7919) % 20000);
    std::snprintf(sta, sizeof sta, "%8.2f", static_cast<double>(i % 3) - 1);
    builder.Record({kav, "", sta}, i % 11 == 0);
  }
  WriteTable(builder);
  auto index = OpenIndex();
  CdxTag& tag = Add(*index, "PUJ", {"SKL_KAV", "SKL_STA >0", false, false});
  EXPECT_EQ(Entries(tag).size(), 20000u / 3);
  EXPECT_EQ(std::count_if(statuses_.begin(), statuses_.end(),
                          [](const Status& s) { return std::get<0>(s) == 1; }),
            20000);
  ExpectClean(*index);
}

TEST_F(AddTagTest, CzechNamesInCollationOrderWithTheFieldWidth) {
  // Code page 852: Č 0xAC, Š 0xE6, Ž 0xA6, Á 0xB5.
  WriteTable(TableBuilder(kFields)
                 .Record({"1", "", "", "\xA6IVNOST"})
                 .Record({"2", "", "", "CIBULE"})
                 .Record({"3", "", "", "\xAC\xB5P"})
                 .Record({"4", "", "", "CAPA"})
                 .Record({"5", "", "", "\xE6ROUB"})
                 .Record({"6", "", "", "SEKERA"})
                 .Record({"7", "", "", "ZEBRA"}));
  auto index = OpenIndex();
  CdxTag& tag = Add(*index, "NAC", {"UPPER(SOR_NAC)", "", false, false});
  EXPECT_EQ(tag.key_length(), 20);
  std::vector<uint32_t> order;
  for (const auto& entry : Entries(tag)) order.push_back(entry.second);
  EXPECT_EQ(order, (std::vector<uint32_t>{4, 2, 3, 6, 5, 7, 1}));
  ExpectClean(*index);
}

TEST_F(AddTagTest, NumberAndDateTagsAndDescendingHeader) {
  WriteTable(TableBuilder(kFields)
                 .Record({"A", "", "   -1.00", "", "19800101"})
                 .Record({"B", "", "    1.00", "", "19791231"})
                 .Record({"C", "", "    0.00", "", "20050101"}));
  auto index = OpenIndex();
  CdxTag& number = Add(*index, "STA", {"SKL_STA", "", false, true});
  EXPECT_EQ(number.key_type(), KeyType::kNumber);
  EXPECT_EQ(number.key_length(), 8);
  EXPECT_TRUE(number.descending());
  std::vector<uint32_t> order;
  for (const auto& entry : Entries(number)) order.push_back(entry.second);
  EXPECT_EQ(order, (std::vector<uint32_t>{1, 3, 2}));  // stored ascending
  CdxTag& date = Add(*index, "DAT", {"DAT", "", false, false});
  EXPECT_EQ(date.key_type(), KeyType::kDate);
  const auto entries = Entries(date);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1], Entry(EncodeNumberKey(2444240, true), 1));
  EXPECT_EQ(entries[0].second, 2u);
  ExpectClean(*index);
}

TEST_F(AddTagTest, RebuildReplacesTheDirectoryEntryAndGrowsTheFile) {
  TableBuilder builder(kFields);
  for (int i = 0; i < 500; ++i) builder.Record({"K" + std::to_string(i)});
  WriteTable(builder);
  auto index = OpenIndex();
  const uint32_t first_header = Add(*index, "KAV", {"SKL_KAV", "", false, false}).header_offset();
  const uint64_t after_first = index->file_size();
  const uint64_t first_tag_bytes = after_first - 1536;
  CdxTag& again = Add(*index, "kav", {"SKL_KAV", "", false, false});
  EXPECT_EQ(index->tags().size(), 1u);
  EXPECT_EQ(again.header_offset(), after_first);
  EXPECT_NE(again.header_offset(), first_header);
  EXPECT_EQ(index->file_size(), after_first + first_tag_bytes);
  EXPECT_EQ(Entries(again).size(), 500u);
  index.reset();
  auto reopened = OpenIndex();
  ASSERT_EQ(reopened->tags().size(), 1u);
  EXPECT_EQ(reopened->tags()[0]->header_offset(), after_first);
  const CdxCheckReport report = CheckCdx(*reopened, &table_);
  EXPECT_TRUE(report.clean());
}

// The tree a build writes holds exactly what inserting the records one by one gives.
TEST_F(AddTagTest, BuildEqualsKeyByKeyInsertion) {
  TableBuilder builder(kFields);
  for (int i = 0; i < 6000; ++i) {
    builder.Record({"N" + std::to_string((i * 7) % 900), "", "", "", ""}, i % 13 == 0);
  }
  WriteTable(builder);
  for (const bool unique : {false, true}) {
    auto index = OpenIndex();
    Add(*index, "B", {"SKL_KAV", "", unique, false});
    CdxTagHeader header;
    header.key_length = 10;
    header.unique = unique;
    header.key_expression = "SKL_KAV";
    CdxTag& inserted = index->AddEmptyTag("I", header);
    for (uint32_t recno = 1; recno <= table_.record_count(); ++recno) {
      table_.GoTo(recno);
      inserted.Insert(TrimKey(table_.Raw(1), KeyType::kCharacter), recno);
    }
    EXPECT_EQ(Entries(*index->FindTag("B")), Entries(*index->FindTag("I"))) << unique;
    ExpectClean(*index);
    index.reset();
    std::filesystem::remove(dir_.File("skl.cdx"));
  }
}

TEST_F(AddTagTest, KeyLongerThanTheFormatAllowsIsRefused) {
  WriteTable(TableBuilder({{"LONG", 'C', 245}}).Record({"x"}));
  factory_.Add(
      "LONG", [] { return std::make_unique<FieldKeySource>("LONG", 1, 245, KeyType::kCharacter); });
  auto index = OpenIndex();
  try {
    Add(*index, "L", {"LONG", "", false, false});
    FAIL() << "no error";
  } catch (const dbf::DbfError& e) {
    EXPECT_STREQ(e.what(), "Sort key length must be 1-240 bytes, is 245");
  }
}

TEST_F(AddTagTest, KeyOfTheWrongTypeCannotBeSorted) {
  WriteTable(TableBuilder(kFields).Record({"A"}));
  auto index = OpenIndex();
  try {
    Add(*index, "X", {"BAD", "", false, false});
    FAIL() << "no error";
  } catch (const dbf::DbfError& e) {
    EXPECT_STREQ(e.what(), "Variant type cannot be sorted");
  }
}

}  // namespace
}  // namespace idx
