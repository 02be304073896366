#include "index/key_sorter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "dbf/errors.h"
#include "index/key_collation_table.h"

namespace idx {
namespace {

using Pair = std::pair<std::string, uint32_t>;

std::vector<Pair> Drain(KeySorter& sorter) {
  std::vector<Pair> out;
  SortedPair pair;
  while (sorter.Next(&pair)) out.emplace_back(std::string(pair.key), pair.record);
  return out;
}

std::vector<Pair> SortAll(KeySorter::Order order, bool unique, const std::vector<Pair>& input,
                          size_t chunk_bytes = KeySorter::kDefaultChunkBytes) {
  KeySorter sorter(order, unique, chunk_bytes);
  for (const auto& [key, record] : input) sorter.Add(key, record);
  return Drain(sorter);
}

// The order the tags need: keys by collation weights (or bytes), a key that begins another
// first, then record numbers.
std::vector<Pair> Reference(KeySorter::Order order, bool unique, std::vector<Pair> input) {
  std::sort(input.begin(), input.end(), [order](const Pair& a, const Pair& b) {
    const int r = order == KeySorter::Order::kCollation
                      ? KeyCollationTable::Compare(a.first, b.first)
                      : CompareBytes(a.first, b.first);
    return r != 0 ? r < 0 : a.second < b.second;
  });
  if (unique) {
    input.erase(std::unique(input.begin(), input.end(),
                            [](const Pair& a, const Pair& b) { return a.first == b.first; }),
                input.end());
  }
  return input;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes += static_cast<char>(v);
  return bytes;
}

TEST(KeySorterOrder, EqualKeysComeOutInRecordOrder) {
  const auto out = SortAll(KeySorter::Order::kBytes, false,
                           {{"B", 7}, {"A", 300}, {"B", 2}, {"A", 1}, {"B", 70000}, {"A", 256}});
  EXPECT_EQ(
      out, (std::vector<Pair>{{"A", 1}, {"A", 256}, {"A", 300}, {"B", 2}, {"B", 7}, {"B", 70000}}));
}

TEST(KeySorterOrder, KeyThatBeginsAnotherComesFirstWhateverTheRecordNumbers) {
  // Compared as key + record bytes, "AB" with record 0x41424344 would follow "ABC" + record 1.
  const auto out =
      SortAll(KeySorter::Order::kCollation, false, {{"ABC", 1}, {"AB", 0x41424344}, {"", 9}});
  EXPECT_EQ(out, (std::vector<Pair>{{"", 9}, {"AB", 0x41424344}, {"ABC", 1}}));
}

TEST(KeySorterOrder, TrimmedNumberKeysKeepNumericOrder) {
  // 1.0 trims to BF F0; the next float above it keeps its last byte. Record bytes 00 00 01 00
  // behind the short key must not put it after the long one.
  const std::string one = Bytes({0xBF, 0xF0});
  const std::string above_one = Bytes({0xBF, 0xF0, 0, 0, 0, 0, 0, 1});
  const auto out = SortAll(KeySorter::Order::kBytes, false, {{above_one, 1}, {one, 256}});
  EXPECT_EQ(out, (std::vector<Pair>{{one, 256}, {above_one, 1}}));
}

TEST(KeySorterOrder, CzechLettersInCollationOrder) {
  // Code page 852: C 0x43, Č 0xAC, A 0x41, a 0x61, Á 0xB5, á 0xA0, Z 0x5A, Ž 0xA6.
  const std::string cap = Bytes({0xAC, 0xB5, 0x50});  // ČÁP
  const std::vector<Pair> input = {{cap, 1}, {"CAPA", 2},        {Bytes({0xB5}), 3},
                                   {"a", 4}, {"A", 5},           {Bytes({0xA0}), 6},
                                   {"B", 7}, {Bytes({0xA6}), 8}, {"Z", 9}};
  const auto out = SortAll(KeySorter::Order::kCollation, false, input);
  EXPECT_EQ(out, (std::vector<Pair>{{"A", 5},
                                    {"a", 4},
                                    {Bytes({0xB5}), 3},
                                    {Bytes({0xA0}), 6},
                                    {"B", 7},
                                    {"CAPA", 2},
                                    {cap, 1},
                                    {"Z", 9},
                                    {Bytes({0xA6}), 8}}));
}

TEST(KeySorterOrder, BytesOrderIgnoresCollation) {
  const auto out =
      SortAll(KeySorter::Order::kBytes, false, {{Bytes({0xB5}), 1}, {"a", 2}, {"B", 3}});
  EXPECT_EQ(out, (std::vector<Pair>{{"B", 3}, {"a", 2}, {Bytes({0xB5}), 1}}));
}

TEST(KeySorterUnique, LowestRecordOfEachKeySurvives) {
  const auto out = SortAll(KeySorter::Order::kCollation, true,
                           {{"X", 9}, {"X", 3}, {"Y", 4}, {"X", 5}, {"XX", 1}, {"Y", 2}});
  EXPECT_EQ(out, (std::vector<Pair>{{"X", 3}, {"XX", 1}, {"Y", 2}}));
}

TEST(KeySorterUnique, DuplicatesSpreadOverRunsKeepTheLowestRecord) {
  // The chunk holds only a few pairs, so the copies of a key land in different runs; the
  // lowest record is added last.
  std::vector<Pair> input;
  for (uint32_t record = 1000; record > 0; --record)
    input.emplace_back("K" + std::to_string(record % 7), record);
  const auto out = SortAll(KeySorter::Order::kCollation, true, input, 1024);
  EXPECT_EQ(out, Reference(KeySorter::Order::kCollation, true, input));
  ASSERT_EQ(out.size(), 7u);
  EXPECT_EQ(out[0], Pair("K0", 7));
  EXPECT_EQ(out[1], Pair("K1", 1));
}

struct RandomCase {
  const char* name;
  KeySorter::Order order;
  bool unique;
  size_t chunk_bytes;
  size_t count;
  size_t max_length;
  int alphabet;  // distinct byte values
};

class KeySorterRandom : public ::testing::TestWithParam<RandomCase> {};

TEST_P(KeySorterRandom, MatchesReferenceOrder) {
  const RandomCase& c = GetParam();
  std::mt19937 random(42);
  std::vector<Pair> input;
  for (size_t i = 0; i < c.count; ++i) {
    std::string key(random() % (c.max_length + 1), '\0');
    for (char& ch : key) ch = static_cast<char>(0x80 + random() % c.alphabet);
    input.emplace_back(key, static_cast<uint32_t>(random() % 5000000));
  }
  KeySorter sorter(c.order, c.unique, c.chunk_bytes);
  for (const auto& [key, record] : input) sorter.Add(key, record);
  if (c.chunk_bytes < 100000) {
    EXPECT_GT(sorter.run_count(), 10u);
  }
  EXPECT_EQ(Drain(sorter), Reference(c.order, c.unique, input));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeySorterRandom,
    ::testing::Values(
        RandomCase{"OneChunkCollation", KeySorter::Order::kCollation, false,
                   KeySorter::kDefaultChunkBytes, 5000, 12, 128},
        RandomCase{"ManyRunsCollation", KeySorter::Order::kCollation, false, 4096, 20000, 12, 6},
        RandomCase{"ManyRunsBytes", KeySorter::Order::kBytes, false, 2048, 20000, 8, 3},
        RandomCase{"ManyRunsUnique", KeySorter::Order::kCollation, true, 4096, 20000, 4, 4},
        RandomCase{"LongKeysManyRuns", KeySorter::Order::kBytes, false, 8192, 3000, 250, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeySorterLimits, KeyOf250BytesIsSortedAndLongerIsRefused) {
  KeySorter sorter(KeySorter::Order::kCollation, false);
  sorter.Add(std::string(250, 'A'), 1);
  try {
    sorter.Add(std::string(251, 'A'), 2);
    FAIL() << "no error";
  } catch (const dbf::DbfError& e) {
    EXPECT_STREQ(e.what(), "Sort key length must be 1-250 bytes, is 251");
  }
  const auto out = Drain(sorter);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].first, std::string(250, 'A'));
}

TEST(KeySorterLimits, NoPairsMayBeAddedOnceRetrievalBegan) {
  KeySorter sorter(KeySorter::Order::kBytes, false);
  sorter.Add("A", 1);
  SortedPair pair;
  ASSERT_TRUE(sorter.Next(&pair));
  try {
    sorter.Add("B", 2);
    FAIL() << "no error";
  } catch (const dbf::DbfError& e) {
    EXPECT_STREQ(e.what(), "Cannot add sort keys after beginning retrieval");
  }
  EXPECT_FALSE(sorter.Next(&pair));
  EXPECT_FALSE(sorter.Next(&pair));
}

TEST(KeySorterLimits, EmptySorterGivesNothing) {
  KeySorter sorter(KeySorter::Order::kCollation, true);
  SortedPair pair;
  EXPECT_FALSE(sorter.Next(&pair));
  EXPECT_THROW(sorter.Add("A", 1), dbf::DbfError);
}

TEST(KeySorterMemory, RunPagesAreCompressedAndReleasedWhileMerging) {
  constexpr uint32_t kCount = 300000;
  KeySorter sorter(KeySorter::Order::kCollation, false, 1 << 20);
  // Ten-byte keys that share long prefixes, like document numbers.
  for (uint32_t record = 1; record <= kCount; ++record) {
    char key[11];
    std::snprintf(key, sizeof key, "2005%06u", (record * 7919) % kCount);
    sorter.Add(key, record);
  }
  ASSERT_GT(sorter.run_count(), 5u);
  const size_t before = sorter.memory_in_use();
  // Prefix compression keeps the runs below the 14 bytes of key and record of each pair.
  EXPECT_LT(before, kCount * 12 + (1 << 20));
  SortedPair pair;
  for (uint32_t i = 0; i < kCount * 9 / 10; ++i) ASSERT_TRUE(sorter.Next(&pair));
  EXPECT_LT(sorter.memory_in_use(), before / 4);
}

}  // namespace
}  // namespace idx
