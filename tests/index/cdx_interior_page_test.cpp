#include "index/cdx_interior_page.h"

#include <gtest/gtest.h>

#include <cstring>

#include "dbf/errors.h"
#include "index/key_encoding.h"

namespace idx {
namespace {

CdxPageContext Context(uint16_t key_length, KeyType type = KeyType::kCharacter) {
  return CdxPageContext{"/data/Fak0001.cdx", 0x10000, key_length, type};
}

TEST(CdxInteriorPage, MaximumEntries) {
  EXPECT_EQ(MaxInteriorEntries(10), 27u);
  EXPECT_EQ(MaxInteriorEntries(8), 31u);
  EXPECT_EQ(MaxInteriorEntries(1), 55u);
  EXPECT_EQ(MaxInteriorEntries(240), 2u);
}

TEST(CdxInteriorPage, CharacterPageImage) {
  const CdxInteriorPage interior{
      true, kNoPage, 0x1200, {{"ALFA", 5, 0x0600}, {"BETA", 0x01020304, 0x0800}}};
  const CdxPage page = EncodeInteriorPage(interior, Context(10));
  const uint8_t header[] = {0x01, 0x00, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x12, 0x00, 0x00};
  EXPECT_EQ(std::memcmp(page.data(), header, sizeof header), 0);
  EXPECT_EQ(std::memcmp(&page[0x0C], "ALFA      \0\0\0\x05\0\0\x06\0", 18), 0);
  EXPECT_EQ(std::memcmp(&page[0x1E], "BETA      \x01\x02\x03\x04\0\0\x08\0", 18), 0);
  for (size_t i = 0x30; i < kCdxPageSize; ++i) EXPECT_EQ(page[i], ' ') << i;  // unused: blanks
  EXPECT_EQ(DecodeInteriorPage(page, Context(10)), interior);
}

TEST(CdxInteriorPage, NumberKeysArePaddedWithZeroBytes) {
  const CdxInteriorPage interior{false, 0x0400, kNoPage, {{EncodeNumberKey(1.0, true), 9, 0x0A00}}};
  const CdxPage page = EncodeInteriorPage(interior, Context(8, KeyType::kNumber));
  EXPECT_EQ(std::memcmp(&page[0x0C], "\xBF\xF0\0\0\0\0\0\0\0\0\0\x09\0\0\x0A\0", 16), 0);
  for (size_t i = 0x1C; i < kCdxPageSize; ++i) EXPECT_EQ(page[i], 0) << i;
  const CdxInteriorPage decoded = DecodeInteriorPage(page, Context(8, KeyType::kNumber));
  EXPECT_EQ(decoded, interior);
  EXPECT_EQ(decoded.entries[0].key.size(), 2u);
}

TEST(CdxInteriorPage, FullPageRoundTrips) {
  for (uint16_t key_length : {1, 10, 37, 240}) {
    CdxInteriorPage interior;
    for (size_t i = 0; i < MaxInteriorEntries(key_length); ++i) {
      std::string key(key_length, static_cast<char>('A' + i % 26));
      key[0] = static_cast<char>('0' + i % 10);
      interior.entries.push_back(
          {key, static_cast<uint32_t>(i * 77), static_cast<uint32_t>(0x400 * (i + 1))});
    }
    const CdxPage page = EncodeInteriorPage(interior, Context(key_length));
    EXPECT_EQ(DecodeInteriorPage(page, Context(key_length)), interior) << key_length;
    interior.entries.push_back(interior.entries.back());
    EXPECT_THROW(EncodeInteriorPage(interior, Context(key_length)), std::invalid_argument);
  }
}

TEST(CdxInteriorPage, EncoderRefusesKeysLongerThanTheKeyLength) {
  const CdxInteriorPage interior{false, kNoPage, kNoPage, {{"ABCDE", 1, 0x400}}};
  EXPECT_THROW(EncodeInteriorPage(interior, Context(4)), std::invalid_argument);
}

struct DamagedInterior {
  const char* name;
  void (*damage)(CdxPage&);
};

TEST(CdxInteriorPage, DecoderRefusesDamagedPages) {
  const CdxInteriorPage interior{false, 0x0400, 0x0600, {{"ALFA", 5, 0x0800}, {"BETA", 6, 0x0A00}}};
  const DamagedInterior cases[] = {
      {"leaf attribute", [](CdxPage& p) { p[0] = 2; }},
      {"attribute 0x8000", [](CdxPage& p) { p[1] = 0x80; }},
      {"28 entries of 18 bytes", [](CdxPage& p) { WriteLe16(&p[2], 28); }},
      {"entry count 0xFFFF", [](CdxPage& p) { WriteLe16(&p[2], 0xFFFF); }},
      {"left sibling inside the header", [](CdxPage& p) { WriteLe32(&p[4], 0x200); }},
      {"right sibling not a page offset", [](CdxPage& p) { WriteLe32(&p[8], 0x601); }},
      {"right sibling beyond the file", [](CdxPage& p) { WriteLe32(&p[8], 0x10000); }},
      {"child offset 0", [](CdxPage& p) { WriteBe32(&p[0x0C + 14], 0); }},
      {"child offset -1", [](CdxPage& p) { WriteBe32(&p[0x0C + 14], kNoPage); }},
      {"child offset not a page offset", [](CdxPage& p) { WriteBe32(&p[0x1E + 14], 0x0A10); }},
      {"child offset beyond the file", [](CdxPage& p) { WriteBe32(&p[0x1E + 14], 0x10000); }},
  };
  for (const DamagedInterior& c : cases) {
    SCOPED_TRACE(c.name);
    CdxPage page = EncodeInteriorPage(interior, Context(10));
    c.damage(page);
    try {
      DecodeInteriorPage(page, Context(10));
      ADD_FAILURE() << "accepted";
    } catch (const dbf::DbfError& error) {
      EXPECT_STREQ(error.what(), "Index file /data/Fak0001.cdx is corrupted");
    }
  }
  const CdxPage page = EncodeInteriorPage(interior, Context(10));
  EXPECT_THROW(DecodeInteriorPage(page, Context(0)), dbf::DbfError);
  EXPECT_THROW(DecodeInteriorPage(page, Context(241)), dbf::DbfError);
}

}  // namespace
}  // namespace idx
