#include <gtest/gtest.h>

#include <functional>

#include "cdx_test_support.h"
#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/format_settings.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/key_encoding.h"
#include "support/table_builder.h"

namespace idx {
namespace {

using testing_support::FieldKeySource;
using testing_support::MapKeySourceFactory;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

// One tag over a field "F" of the given type, filled with keys directly.
class TagFixture : public ::testing::Test {
 protected:
  CdxTag& MakeTag(KeyType type, uint16_t key_length, bool descending = false,
                  dbf::DbfFile* table = nullptr) {
    factory_.Add("F", [type, key_length] {
      return std::make_unique<FieldKeySource>("F", 1, key_length, type);
    });
    CdxOpenOptions options;
    options.may_create = true;
    options.key_sources = &factory_;
    options.table = table;
    index_ = CdxIndex::Open(dir_.File("t.cdx"), options);
    CdxTagHeader header;
    header.key_length = key_length;
    header.key_expression = "F";
    header.descending = descending;
    return index_->AddEmptyTag("T", header);
  }
  // Inserts `keys` as records 1, 2, ...
  void Fill(CdxTag& tag, const std::vector<std::string>& keys) {
    uint32_t recno = 0;
    for (const std::string& key : keys) tag.Insert(TrimKey(key, tag.key_type()), ++recno);
  }
  std::vector<uint32_t> Walk(CdxTag& tag) {
    std::vector<uint32_t> out;
    for (uint32_t r = tag.First(); r != 0; r = tag.Next()) out.push_back(r);
    return out;
  }
  std::string Page(uint32_t offset) {
    return ReadFileBytes(dir_.File("t.cdx")).substr(offset, 512);
  }

  TempDir dir_;
  MapKeySourceFactory factory_;
  std::unique_ptr<CdxIndex> index_;
};

using CdxTagSeek = TagFixture;

TEST_F(CdxTagSeek, NearSeekLandsOnTheFirstKeyBeginningWithTheText) {
  CdxTag& tag = MakeTag(KeyType::kCharacter, 10);
  Fill(tag, {"ABA", "ABCD", "ABD"});
  auto r = tag.SeekText("ABC", false, true, {});
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.record, 2u);
  // ABCA sorts before ABCD, which is therefore the nearest following key.
  r = tag.SeekText("ABCA", false, true, {});
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.record, 2u);
  r = tag.SeekText("ABCZ", false, true, {});
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.record, 3u);
  r = tag.SeekText("ABZ", false, true, {});
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.record, 0u);
  EXPECT_TRUE(tag.eof());
}

TEST_F(CdxTagSeek, ExactSeekDoesNotMatchALongerKey) {
  CdxTag& tag = MakeTag(KeyType::kCharacter, 10);
  Fill(tag, {"ABA", "ABCD", "ABD"});
  EXPECT_FALSE(tag.SeekText("ABC", true, false, {}).found);
  EXPECT_TRUE(tag.SeekText("ABCD  ", true, false, {}).found);
}

TEST_F(CdxTagSeek, SkipsRecordsTheCallerDoesNotShow) {
  CdxTag& tag = MakeTag(KeyType::kCharacter, 10);
  Fill(tag, {"ABC", "ABC", "ABD"});
  auto r = tag.SeekText("ABC", false, false, [](uint32_t recno) { return recno != 1; });
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.record, 2u);
  r = tag.SeekText("ABC", false, true, [](uint32_t recno) { return recno == 3; });
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.record, 3u);
}

TEST_F(CdxTagSeek, EqualKeysStandInRecordNumberOrder) {
  CdxTag& tag = MakeTag(KeyType::kCharacter, 10);
  tag.Insert("K", 9);
  tag.Insert("K", 3);
  tag.Insert("K", 5);
  EXPECT_EQ(Walk(tag), (std::vector<uint32_t>{3, 5, 9}));
  EXPECT_TRUE(tag.Seat("K", 5));
  EXPECT_EQ(tag.Next(), 9u);
}

using CdxTagOrder = TagFixture;

TEST_F(CdxTagOrder, CzechLettersFollowTheCollationTable) {
  CdxTag& tag = MakeTag(KeyType::kCharacter, 10);
  // Code page 852: \xAC = Č, \xB5 = Á.
  Fill(tag, {"\xAC\xB5P", "CAPA", "\xB5", "a", "A", "B"});
  EXPECT_EQ(Walk(tag), (std::vector<uint32_t>{5, 4, 3, 6, 2, 1}));
}

TEST_F(CdxTagOrder, DescendingTagWalksFromTheHighestKey) {
  CdxTag& tag = MakeTag(KeyType::kNumber, 8, true);
  for (double v : {5.0, -1.0, 12.5, 0.0}) {
    static uint32_t recno = 0;
    tag.Insert(EncodeNumberKey(v, true), ++recno);
  }
  EXPECT_EQ(Walk(tag), (std::vector<uint32_t>{3, 1, 4, 2}));
  EXPECT_EQ(tag.Last(), 2u);
  EXPECT_EQ(tag.Next(), 0u);
  EXPECT_TRUE(tag.eof());
  EXPECT_EQ(tag.Current(), 2u);
  EXPECT_EQ(tag.First(), 3u);
  EXPECT_EQ(tag.Prior(), 0u);
  EXPECT_TRUE(tag.bof());
}

TEST_F(CdxTagOrder, FailedNextKeepsThePosition) {
  CdxTag& tag = MakeTag(KeyType::kCharacter, 10);
  Fill(tag, {"A", "B", "C"});
  EXPECT_EQ(tag.Last(), 3u);
  EXPECT_EQ(tag.Next(), 0u);
  EXPECT_TRUE(tag.eof());
  EXPECT_EQ(tag.Prior(), 2u);
}

TEST_F(CdxTagOrder, PositionFollowsWritesMadeMeanwhile) {
  CdxTag& tag = MakeTag(KeyType::kCharacter, 10);
  Fill(tag, {"B", "D", "F"});
  EXPECT_EQ(tag.First(), 1u);
  tag.Insert("C", 4);
  tag.Remove("D", 2);
  EXPECT_EQ(tag.Next(), 4u);
  EXPECT_EQ(tag.Next(), 3u);
  EXPECT_EQ(tag.Prior(), 4u);
}

using CdxTagRange = TagFixture;

TEST_F(CdxTagRange, EqualBoundsShowExactlyThatKey) {
  CdxTag& tag = MakeTag(KeyType::kCharacter, 10);
  Fill(tag, {"1234", "123", "12", "123", "124"});
  EXPECT_TRUE(tag.SetTagRange("123", "123"));
  EXPECT_EQ(Walk(tag), (std::vector<uint32_t>{2, 4}));
  EXPECT_EQ(tag.Last(), 4u);
  EXPECT_EQ(tag.Prior(), 2u);
  EXPECT_EQ(tag.Prior(), 0u);
  EXPECT_TRUE(tag.bof());
  EXPECT_FALSE(tag.SetTagRange("123", "123 "));
}

TEST_F(CdxTagRange, LowBoundMatchesAsAPrefixAndOpenHighRunsToTheEnd) {
  CdxTag& tag = MakeTag(KeyType::kCharacter, 10);
  Fill(tag, {"AA", "ABX", "AB", "B", "AC"});
  EXPECT_TRUE(tag.SetTagRange("AB", ""));
  EXPECT_EQ(Walk(tag), (std::vector<uint32_t>{3, 2, 5, 4}));
  EXPECT_TRUE(tag.SetTagRange("", ""));
  EXPECT_EQ(Walk(tag).size(), 5u);
}

TEST_F(CdxTagRange, EmptyRangeLeavesBothFlags) {
  CdxTag& tag = MakeTag(KeyType::kCharacter, 10);
  Fill(tag, {"A", "C"});
  tag.SetTagRange("B", "B");
  EXPECT_EQ(tag.First(), 0u);
  EXPECT_TRUE(tag.bof());
  EXPECT_TRUE(tag.eof());
}

TEST_F(CdxTagRange, DateBoundsInTheShortDateFormatIncludeBothDays) {
  dbf::Formats().short_date_format = "dd.mm.yyyy";
  dbf::Formats().date_separator = '.';
  CdxTag& tag = MakeTag(KeyType::kDate, 8);
  const int64_t first = dbf::DaysFromCivil({2026, 3, 1}) + dbf::kJulianDayOfZeroDate;
  for (int day = 0; day < 40; ++day) {
    tag.Insert(EncodeNumberKey(static_cast<double>(first + day), true), day + 1);
  }
  EXPECT_TRUE(tag.SetTagRange("05.03.2026", "10.03.2026"));
  EXPECT_EQ(Walk(tag), (std::vector<uint32_t>{5, 6, 7, 8, 9, 10}));
  EXPECT_TRUE(tag.SetTagRange("20260330", ""));
  EXPECT_EQ(Walk(tag), (std::vector<uint32_t>{30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40}));
}

// Texts that do not read as the tag's kind raise the conversion error and change nothing;
// "00000000" and 8 digits that are no calendar date are the key of a blank date, blanks no bound.
TEST_F(CdxTagRange, BoundsAndSeeksThatDoNotReadRaiseTheConversionError) {
  dbf::Formats().short_date_format = "dd.mm.yyyy";
  dbf::Formats().date_separator = '.';
  CdxTag& tag = MakeTag(KeyType::kDate, 8);
  const int64_t first = dbf::DaysFromCivil({2024, 2, 27}) + dbf::kJulianDayOfZeroDate;
  tag.Insert(EncodeNumberKey(0, true), 1);  // a blank date
  for (int day = 0; day < 4; ++day) {
    tag.Insert(EncodeNumberKey(static_cast<double>(first + day), true), day + 2);
  }
  ASSERT_TRUE(tag.SetTagRange("28.02.2024", ""));
  const auto error = [&](const std::function<void()>& action) -> std::string {
    try {
      action();
    } catch (const dbf::ExpressionError& e) {
      return e.what();
    }
    return "(no error)";
  };
  EXPECT_EQ(error([&] { tag.SetTagRange("31.02.2024", ""); }), "'31.02.2024' is not a valid date");
  EXPECT_EQ(error([&] { tag.SetTagRange("", "abc  "); }), "'abc' is not a valid date");
  EXPECT_EQ(error([&] { tag.SeekText("abc", false, true, {}); }), "'abc' is not a valid date");
  EXPECT_EQ(Walk(tag), (std::vector<uint32_t>{3, 4, 5}));  // the range as it was
  EXPECT_TRUE(tag.SetTagRange("00000000", "20240231"));
  EXPECT_EQ(Walk(tag), (std::vector<uint32_t>{1}));
  EXPECT_TRUE(tag.SetTagRange("  ", ""));
  EXPECT_EQ(Walk(tag), (std::vector<uint32_t>{1, 2, 3, 4, 5}));

  CdxTag& number = MakeTag(KeyType::kNumber, 8);
  number.Insert(EncodeNumberKey(1, true), 1);
  EXPECT_EQ(error([&] { number.SetTagRange("1x", ""); }),
            "'1x' is not a valid floating point value");
  EXPECT_EQ(error([&] { number.SeekText("1x", false, true, {}); }),
            "'1x' is not a valid floating point value");
  EXPECT_TRUE(number.SeekText(" 1 ", true, false, {}).found);
}

using CdxLeafBytes = TagFixture;

TEST_F(CdxLeafBytes, DateKeyOf1980StoresFourBytesWithTrailingCountFour) {
  CdxTag& tag = MakeTag(KeyType::kDate, 8);
  tag.Insert(tag.KeyOf(KeyValue::JulianDay(2444240)), 1);
  const std::string page = Page(tag.root_offset());
  EXPECT_EQ(page.substr(508, 4), "\xC1\x42\xA5\xE8");
  // 3-byte entry: record 1, duplicate 0, trailing 4 in the top 4 bits.
  EXPECT_EQ(page.substr(0x18, 3), std::string("\x01\x00\x40", 3));
}

struct NumberCase {
  const char* name;
  double value;
  std::string stored;
  int trailing;
};

TEST_F(CdxLeafBytes, NumberKeysDropTrailingZeroBytes) {
  const NumberCase cases[] = {
      {"one", 1.0, "\xBF\xF0", 6},
      {"minus_one", -1.0, "\x40\x0F\xFF\xFF\xFF\xFF\xFF\xFF", 0},
      {"zero", 0.0, "\x80", 7},
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    CdxOpenOptions options;
    options.may_create = true;
    factory_.Add("F", [] { return std::make_unique<FieldKeySource>("F", 1, 8, KeyType::kNumber); });
    options.key_sources = &factory_;
    auto index = CdxIndex::Open(dir.File("n.cdx"), options);
    CdxTagHeader header;
    header.key_length = 8;
    header.key_expression = "F";
    CdxTag& tag = index->AddEmptyTag("N", header);
    tag.Insert(tag.KeyOf(KeyValue::Float(c.value)), 1);
    const std::string page = ReadFileBytes(dir.File("n.cdx")).substr(tag.root_offset(), 512);
    EXPECT_EQ(page.substr(512 - c.stored.size()), c.stored);
    EXPECT_EQ(static_cast<uint8_t>(page[0x1A]) >> 4, c.trailing);
  }
}

TEST_F(CdxLeafBytes, EntriesWidenToFourBytesFor70000Records) {
  testing_support::TableBuilder builder({{"F", 'C', 10}});
  for (int i = 0; i < 70000; ++i) builder.Record({"x"});
  builder.WriteTo(dir_.File("t.dbf"));
  dbf::DbfFile table;
  table.Open(dir_.File("t.dbf"), true, true);
  CdxTag& tag = MakeTag(KeyType::kCharacter, 10, false, &table);
  tag.Insert("DO1", 70000);
  const std::string page = Page(tag.root_offset());
  EXPECT_EQ(page.substr(0x0E, 4), std::string("\xFF\xFF\xFF\x00", 4));
  EXPECT_EQ(page[0x14], 24);
  EXPECT_EQ(page[0x17], 4);
  EXPECT_EQ(page.substr(0x18, 4), std::string("\x70\x11\x01\x70", 4));
}

}  // namespace
}  // namespace idx
