#include "index/cdx_leaf_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>

#include "dbf/errors.h"
#include "index/key_collation_table.h"
#include "index/key_encoding.h"

namespace idx {
namespace {

CdxPageContext Context(uint16_t key_length, KeyType type = KeyType::kCharacter,
                       uint64_t file_size = 1 << 20) {
  return CdxPageContext{"/data/Fak0001.cdx", file_size, key_length, type};
}

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes += static_cast<char>(v);
  return bytes;
}

std::string Hex(const uint8_t* bytes, size_t length) {
  std::string text;
  char cell[4];
  for (size_t i = 0; i < length; ++i) {
    std::snprintf(cell, sizeof cell, "%02X ", bytes[i]);
    text += cell;
  }
  return text;
}

TEST(LeafParameters, NewFileAndRecordCounts) {
  struct Case {
    const char* name;
    uint16_t key_length;
    uint64_t limit;
    LeafParameters expected;  // record mask, dup mask, trail mask, bits x3, entry bytes
  };
  const Case cases[] = {
      {"directory tag of a new file", 10, 1536, {0xFFFF, 0x0F, 0x0F, 16, 4, 4, 3}},
      {"mask equal to the limit", 10, 0xFFFF, {0xFFFF, 0x0F, 0x0F, 16, 4, 4, 3}},
      {"DO1 over 70000 records", 10, 70000, {0xFFFFFF, 0x0F, 0x0F, 24, 4, 4, 4}},
      {"mask reaches bit 23, then 31 bits", 10, 0x1000000, {0x7FFFFFFF, 0x0F, 0x0F, 31, 4, 4, 5}},
      {"widest stops growing", 10, uint64_t{1} << 40, {0x7FFFFFFF, 0x0F, 0x0F, 31, 4, 4, 5}},
      {"key length 8", 8, 100, {0xFFFF, 0x0F, 0x0F, 16, 4, 4, 3}},
      {"key length 9", 9, 100, {0xFFFF, 0x0F, 0x0F, 16, 4, 4, 3}},
      {"key length 6", 6, 100, {0x3FFFF, 0x07, 0x07, 18, 3, 3, 3}},
      {"key length 6, 300000 records", 6, 300000, {0x3FFFFFF, 0x07, 0x07, 26, 3, 3, 4}},
      {"key length 40", 40, 100, {0xFFF, 0x3F, 0x3F, 12, 6, 6, 3}},
      {"key length 40, 5000 records", 40, 5000, {0xFFFFF, 0x3F, 0x3F, 20, 6, 6, 4}},
      {"key length 1", 1, 100, {0x3FFFFF, 0x01, 0x01, 22, 1, 1, 3}},
      {"key length 1, 2^22 records", 1, 1 << 22, {0x3FFFFFFF, 0x01, 0x01, 30, 1, 1, 4}},
      {"key length 240", 240, 1000, {0xFFFF, 0xFF, 0xFF, 16, 8, 8, 4}},
      {"key length 240, 2^30 records", 240, 1 << 30, {0x7FFFFFFF, 0xFF, 0xFF, 31, 8, 8, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LeafParameters::For(c.key_length, c.limit), c.expected);
  }
}

TEST(CdxLeafPage, EmptyRootLeafOfANewFile) {
  const CdxPage page = *EncodeLeafPage(CdxLeafPage{true, kNoPage, kNoPage, {}}, Context(10),
                                       LeafParameters::For(10, 1536));
  CdxPage expected{};
  const uint8_t header[] = {0x03, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                            0xE8, 0x01, 0xFF, 0xFF, 0x00, 0x00, 0x0F, 0x0F, 0x10, 0x04, 0x04, 0x03};
  std::copy(std::begin(header), std::end(header), expected.begin());
  EXPECT_EQ(Hex(page.data(), 512), Hex(expected.data(), 512));
}

TEST(CdxLeafPage, DirectoryLeafAfterAddingTagDo1) {
  const CdxLeafPage leaf{true, kNoPage, kNoPage, {{"DO1", 0x0600}}};
  const CdxPage page = *EncodeLeafPage(leaf, Context(10), LeafParameters::For(10, 3072));
  CdxPage expected{};
  const uint8_t header[] = {0x03, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                            0xFF, 0xFF, 0xFF, 0xE2, 0x01, 0xFF, 0xFF, 0x00, 0x00,
                            0x0F, 0x0F, 0x10, 0x04, 0x04, 0x03, 0x00, 0x06, 0x70};
  std::copy(std::begin(header), std::end(header), expected.begin());
  expected[0x1FD] = 0x44;
  expected[0x1FE] = 0x4F;
  expected[0x1FF] = 0x31;
  EXPECT_EQ(Hex(page.data(), 512), Hex(expected.data(), 512));
  EXPECT_EQ(DecodeLeafPage(page, Context(10, KeyType::kCharacter, 3072)), leaf);
}

TEST(CdxLeafPage, NumberAndDateKeysLeaveOutTrailingZeroBytes) {
  const std::vector<LeafEntry> entries = {{EncodeNumberKey(-1.0, true), 1},
                                          {EncodeNumberKey(0.0, true), 2},
                                          {EncodeNumberKey(1.0, true), 3},
                                          {EncodeNumberKey(2444240.0, true), 4}};
  const CdxLeafPage leaf{false, 0x0400, kNoPage, entries};
  const CdxPage page =
      *EncodeLeafPage(leaf, Context(8, KeyType::kNumber), LeafParameters::For(8, 4));
  // -1.0: all 8 bytes stored, trailing 0.
  EXPECT_EQ(Hex(&page[0x18], 3), "01 00 00 ");
  EXPECT_EQ(Hex(&page[0x1F8], 8), "40 0F FF FF FF FF FF FF ");
  // 0: 80 then 7 trailing zero bytes.
  EXPECT_EQ(Hex(&page[0x1B], 3), "02 00 70 ");
  EXPECT_EQ(page[0x1F7], 0x80);
  // 1.0: BF F0 stored, trailing 6.
  EXPECT_EQ(Hex(&page[0x1E], 3), "03 00 60 ");
  EXPECT_EQ(Hex(&page[0x1F5], 2), "BF F0 ");
  // 1980-01-01: C1 42 A5 E8 stored, trailing 4.
  EXPECT_EQ(Hex(&page[0x21], 3), "04 00 40 ");
  EXPECT_EQ(Hex(&page[0x1F1], 4), "C1 42 A5 E8 ");
  EXPECT_EQ(ReadLe16(&page[0x0C]), 488 - 4 * 3 - (8 + 1 + 2 + 4));
  EXPECT_EQ(DecodeLeafPage(page, Context(8, KeyType::kNumber)), leaf);
}

TEST(CdxLeafPage, DuplicateBytesComeFromThePreviousKey) {
  const CdxLeafPage leaf{false,
                         kNoPage,
                         kNoPage,
                         {{"ABC", 1}, {"ABC", 2}, {"ABCD", 3}, {"ABX", 4}, {"B", 5}, {"", 6}}};
  const CdxPage page = *EncodeLeafPage(leaf, Context(6), LeafParameters::For(6, 10));
  // Entries: record 18 bits, duplicate 3 bits, trailing 3 bits.
  const auto entry = [&](int i) {
    return uint32_t{page[0x18 + 3 * i]} | uint32_t{page[0x19 + 3 * i]} << 8 |
           uint32_t{page[0x1A + 3 * i]} << 16;
  };
  const auto duplicate = [&](int i) { return (entry(i) >> 18) & 7; };
  const auto trailing = [&](int i) { return (entry(i) >> 21) & 7; };
  EXPECT_EQ(duplicate(0), 0u);
  EXPECT_EQ(trailing(0), 3u);
  EXPECT_EQ(duplicate(1), 3u);
  EXPECT_EQ(duplicate(2), 3u);
  EXPECT_EQ(trailing(2), 2u);
  EXPECT_EQ(duplicate(3), 2u);
  EXPECT_EQ(duplicate(4), 0u);
  EXPECT_EQ(trailing(5), 6u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&page[506]), 6), "BXDABC");
  EXPECT_EQ(page[505], 0);
  EXPECT_EQ(DecodeLeafPage(page, Context(6)), leaf);
}

// Keys as a tag holds them: sorted, trailing pad removed, often sharing prefixes.
std::vector<LeafEntry> RandomEntries(std::mt19937& random, uint16_t key_length, KeyType type,
                                     size_t count, uint32_t max_record) {
  const std::string alphabet =
      type == KeyType::kCharacter ? std::string("AB \xAC\xB5Z0") : Bytes({0, 1, 0x7F, 0x80, 0xFF});
  std::uniform_int_distribution<size_t> length(0, key_length);
  std::uniform_int_distribution<size_t> letter(0, alphabet.size() - 1);
  std::uniform_int_distribution<uint32_t> record(0, max_record);
  std::vector<LeafEntry> entries(count);
  for (LeafEntry& e : entries) {
    std::string key;
    const size_t n = length(random);
    for (size_t i = 0; i < n; ++i) key += alphabet[letter(random)];
    e.key = TrimKey(key, type);
    e.record = record(random);
  }
  std::sort(entries.begin(), entries.end(), [&](const LeafEntry& a, const LeafEntry& b) {
    const int order = type == KeyType::kCharacter ? KeyCollationTable::Compare(a.key, b.key)
                                                  : CompareBytes(a.key, b.key);
    return order != 0 ? order < 0 : a.record < b.record;
  });
  return entries;
}

TEST(CdxLeafPage, RandomKeySetsRoundTripUpToAFullPage) {
  std::mt19937 random(20240611);
  const uint16_t key_lengths[] = {1, 2, 3, 5, 7, 8, 10, 15, 16, 31, 32, 40, 64, 100, 127, 128, 240};
  const uint64_t limits[] = {1, 70000, 0x1000000, 0x7FFFFFFF};
  for (uint16_t key_length : key_lengths) {
    for (KeyType type : {KeyType::kCharacter, KeyType::kNumber}) {
      for (uint64_t limit : limits) {
        SCOPED_TRACE(::testing::Message() << "key length " << key_length << " type "
                                          << static_cast<char>(type) << " limit " << limit);
        const LeafParameters parameters = LeafParameters::For(key_length, limit);
        const CdxPageContext context = Context(key_length, type);
        const auto candidates =
            RandomEntries(random, key_length, type, 600,
                          static_cast<uint32_t>(std::min<uint64_t>(limit, 0x7FFFFFFF)));
        // Fill one page as far as it goes.
        CdxLeafWriter writer(context, parameters);
        CdxLeafPage leaf{false, 0x0400, 0x0800, {}};
        size_t used = 0;
        for (const LeafEntry& e : candidates) {
          const size_t cost = writer.CostOf(e.key);
          if (!writer.Add(e.key, e.record)) {
            EXPECT_GT(cost, writer.free_bytes());
            break;
          }
          used += cost;
          leaf.entries.push_back(e);
        }
        ASSERT_FALSE(leaf.entries.empty());
        EXPECT_EQ(writer.free_bytes(), kLeafKeyArea - used);
        const CdxPage page = writer.Finish(false, 0x0400, 0x0800);
        EXPECT_EQ(ReadLe16(&page[0x0C]), kLeafKeyArea - used);
        EXPECT_EQ(DecodeLeafParameters(page, context.file_name), parameters);
        EXPECT_EQ(DecodeLeafPage(page, context), leaf);
        const auto costs = LeafEntryCosts(leaf.entries, context, parameters);
        EXPECT_EQ(std::accumulate(costs.begin(), costs.end(), size_t{0}), used);
        // The same entries through the whole-page encoder give the same bytes.
        EXPECT_EQ(EncodeLeafPage(leaf, context, parameters), page);
        // One more entry than fits: refused as a whole.
        if (leaf.entries.size() < candidates.size()) {
          CdxLeafPage overfull = leaf;
          overfull.entries.push_back(candidates[leaf.entries.size()]);
          EXPECT_FALSE(EncodeLeafPage(overfull, context, parameters));
        }
      }
    }
  }
}

TEST(CdxLeafPage, KeysWithPadBytesAreStoredTrimmed) {
  const CdxPage page = *EncodeLeafPage(CdxLeafPage{false, kNoPage, kNoPage, {{"AB   ", 7}}},
                                       Context(10), LeafParameters::For(10, 10));
  EXPECT_EQ(ReadLe16(&page[0x0C]), 488 - 3 - 2);
  EXPECT_EQ(DecodeLeafPage(page, Context(10)).entries[0].key, "AB");
}

TEST(CdxLeafPage, WriterRefusesWhatThePageCannotHold) {
  CdxLeafWriter writer(Context(4), LeafParameters::For(4, 100));
  EXPECT_THROW(writer.Add("ABCDE", 1), std::invalid_argument);
  EXPECT_THROW(writer.Add("AB", 0x100000), std::invalid_argument);  // 18 record bits
  EXPECT_TRUE(writer.Add("AB", 0x3FFFF));

  // Widths read from a foreign page that cannot hold this key's trailing count (8).
  LeafParameters narrow = LeafParameters::For(10, 100);
  narrow.trailing_bits = 2;
  narrow.trailing_mask = 3;
  CdxLeafWriter narrow_writer(Context(10), narrow);
  EXPECT_THROW(narrow_writer.Add("AB", 1), std::invalid_argument);
}

// Leaf widths taken from a hostile page: 8-byte entries whose duplicate and trailing
// fields have no bits would put those fields at bit 64 of the entry when the page is
// packed again. Such a page is damage, refused where its widths are read.
TEST(CdxLeafPage, FieldsOfNoBitsInEightByteEntriesAreDamage) {
  CdxPage page{};
  WriteLe16(&page[0x00], 2);
  WriteLe16(&page[0x02], 1);
  WriteLe32(&page[0x04], kNoPage);
  WriteLe32(&page[0x08], kNoPage);
  WriteLe16(&page[0x0C], 470);
  WriteLe32(&page[0x0E], 0xFFFFFFFF);
  page[0x14] = 32;  // record bits; duplicate and trailing: 0 bits, masks 0
  page[0x17] = 8;
  page[0x18] = 7;
  std::copy_n("HOSTILEKEY", 10, &page[502]);
  const CdxPageContext context = Context(10);
  EXPECT_THROW(DecodeLeafParameters(page, context.file_name), dbf::DbfError);
  try {
    DecodeLeafPage(page, context);
    ADD_FAILURE() << "accepted";
  } catch (const dbf::DbfError& error) {
    EXPECT_STREQ(error.what(), "Index file /data/Fak0001.cdx is corrupted");
  }
  struct Widths {
    const char* name;
    uint8_t record_bits, duplicate_bits, trailing_bits, entry_bytes;
  };
  for (const Widths& w :
       {Widths{"no record bits", 0, 4, 4, 3}, Widths{"no duplicate bits", 16, 0, 4, 3},
        Widths{"no trailing bits", 16, 4, 0, 3},
        Widths{"32 + 8 + 8 bits in 5 bytes", 32, 8, 8, 5}}) {
    SCOPED_TRACE(w.name);
    page[0x14] = w.record_bits;
    page[0x15] = w.duplicate_bits;
    page[0x16] = w.trailing_bits;
    page[0x17] = w.entry_bytes;
    WriteLe32(&page[0x0E], w.record_bits >= 32 ? 0xFFFFFFFF : (1u << w.record_bits) - 1);
    page[0x12] = static_cast<uint8_t>((1u << w.duplicate_bits) - 1);
    page[0x13] = static_cast<uint8_t>((1u << w.trailing_bits) - 1);
    EXPECT_THROW(DecodeLeafParameters(page, context.file_name), dbf::DbfError);
  }
  // The widest widths a page can carry still read: 32 + 8 + 8 bits in 6 bytes.
  page[0x17] = 6;
  EXPECT_NO_THROW(DecodeLeafParameters(page, context.file_name));
  // The writer refuses such widths too instead of packing with them.
  LeafParameters none = LeafParameters::For(10, 100);
  none.duplicate_bits = 0;
  none.duplicate_mask = 0;
  EXPECT_THROW(CdxLeafWriter(context, none), std::invalid_argument);
}

// A valid leaf of 4 C keys of length 10 with 3-byte entries, and ways to damage it.
CdxPage ValidLeaf() {
  const CdxLeafPage leaf{
      false, 0x0400, 0x0600, {{"ALFA", 1}, {"ALFONS", 2}, {"BETA", 3}, {"X", 4}}};
  return *EncodeLeafPage(leaf, Context(10), LeafParameters::For(10, 100));
}

struct DamagedLeaf {
  const char* name;
  void (*damage)(CdxPage&);
};

TEST(CdxLeafPage, DecoderRefusesDamagedPages) {
  const DamagedLeaf cases[] = {
      {"interior attribute", [](CdxPage& p) { p[0] = 0; }},
      {"attribute 4", [](CdxPage& p) { p[0] = 4; }},
      {"attribute 0x0102", [](CdxPage& p) { p[1] = 1; }},
      {"key count 163 (entries past the page)", [](CdxPage& p) { WriteLe16(&p[2], 163); }},
      {"key count 0xFFFF", [](CdxPage& p) { WriteLe16(&p[2], 0xFFFF); }},
      {"key count 60 (entries over the key bytes)", [](CdxPage& p) { WriteLe16(&p[2], 60); }},
      {"left sibling not a page offset", [](CdxPage& p) { WriteLe32(&p[4], 0x0401); }},
      {"left sibling 0", [](CdxPage& p) { WriteLe32(&p[4], 0); }},
      {"right sibling beyond the file", [](CdxPage& p) { WriteLe32(&p[8], 0x00100000); }},
      {"free bytes above the room left", [](CdxPage& p) { WriteLe16(&p[0x0C], 489); }},
      {"free bytes one above", [](CdxPage& p) { WriteLe16(&p[0x0C], ReadLe16(&p[0x0C]) + 1); }},
      {"record mask not matching its bits", [](CdxPage& p) { p[0x0E] = 0xFE; }},
      {"duplicate mask not matching", [](CdxPage& p) { p[0x12] = 0x1F; }},
      {"trailing mask not matching", [](CdxPage& p) { p[0x13] = 0x07; }},
      {"record bits 33", [](CdxPage& p) { p[0x14] = 33; }},
      {"duplicate bits 9",
       [](CdxPage& p) {
         p[0x15] = 9;
         p[0x12] = 0xFF;
       }},
      {"fields wider than the entry", [](CdxPage& p) { p[0x17] = 2; }},
      {"entry bytes 0", [](CdxPage& p) { p[0x17] = 0; }},
      {"entry bytes 9", [](CdxPage& p) { p[0x17] = 9; }},
      {"first key with duplicate bytes", [](CdxPage& p) { p[0x1A] |= 0x01; }},
      {"trailing count 11 > key length", [](CdxPage& p) { p[0x1D] = (p[0x1D] & 0x0F) | 0xB0; }},
      {"duplicate + trailing > key length", [](CdxPage& p) { p[0x1D] = 0x58; }},
      {"stored bytes run into the entries",
       [](CdxPage& p) {
         // 140 entries that each store 10 key bytes: those soon run into the entries.
         WriteLe16(&p[2], 140);
         for (int i = 0; i < 140; ++i) {
           p[0x18 + 3 * i] = 1;
           p[0x19 + 3 * i] = 0;
           p[0x1A + 3 * i] = 0x00;  // trailing 0: 10 stored bytes each
         }
       }},
  };
  for (const DamagedLeaf& c : cases) {
    SCOPED_TRACE(c.name);
    CdxPage page = ValidLeaf();
    c.damage(page);
    try {
      DecodeLeafPage(page, Context(10, KeyType::kCharacter, 0x1000));
      ADD_FAILURE() << "accepted";
    } catch (const dbf::DbfError& error) {
      EXPECT_STREQ(error.what(), "Index file /data/Fak0001.cdx is corrupted");
    }
  }
  EXPECT_NO_THROW(DecodeLeafPage(ValidLeaf(), Context(10, KeyType::kCharacter, 0x1000)));
  CdxPageContext bad_key_length = Context(241);
  EXPECT_THROW(DecodeLeafPage(ValidLeaf(), bad_key_length), dbf::DbfError);
}

TEST(CdxLeafPage, RandomDamageNeverReadsOutsideThePage) {
  std::mt19937 random(7);
  std::uniform_int_distribution<size_t> offset(0, kCdxPageSize - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<size_t> header_offset(0, 0x30);
  int refused = 0;
  for (int round = 0; round < 20000; ++round) {
    CdxPage page = ValidLeaf();
    for (int flips = 0; flips < 3; ++flips) {
      page[round % 2 ? header_offset(random) : offset(random)] = static_cast<uint8_t>(byte(random));
    }
    try {
      const CdxLeafPage leaf = DecodeLeafPage(page, Context(10, KeyType::kCharacter, 0x1000));
      for (const LeafEntry& e : leaf.entries) EXPECT_LE(e.key.size(), 10u);
    } catch (const dbf::DbfError&) {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace idx
