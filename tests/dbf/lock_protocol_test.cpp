#include "dbf/lock_protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace dbf {
namespace {

struct ConstantsRow {
  std::string name;
  LockProtocol protocol;
  LockConstants expected;
};

class LockConstantsTest : public ::testing::TestWithParam<ConstantsRow> {};

TEST_P(LockConstantsTest, MatchTheProtocolTable) {
  const LockConstants got = ConstantsOf(GetParam().protocol);
  EXPECT_EQ(got.base, GetParam().expected.base);
  EXPECT_EQ(got.append_offset, GetParam().expected.append_offset);
  EXPECT_EQ(got.whole_table_length, GetParam().expected.whole_table_length);
}

INSTANTIATE_TEST_SUITE_P(
    Protocols, LockConstantsTest,
    ::testing::Values(
        ConstantsRow{"Default", LockProtocol::kDefault, {0x40000000, 0x7FFFFFFE, 0x3FFFFFFF}},
        ConstantsRow{"DB4Lock", LockProtocol::kDb4Lock, {0x40000000, 0xEFFFFFFF, 0xB0000000}},
        ConstantsRow{"ClipLock", LockProtocol::kClipLock, {1000000000, 1000000000, 1000000000}},
        ConstantsRow{"FoxLock", LockProtocol::kFoxLock, {0x40000000, 0x7FFFFFFE, 0x3FFFFFFF}}),
    [](const auto& info) { return info.param.name; });

enum class Kind { kRecordIndexOpen, kRecordNoIndex, kAppend, kIndex };

struct RangeRow {
  std::string name;
  LockProtocol protocol;
  Kind kind;
  uint32_t recno;
  uint32_t header_length;
  uint32_t record_length;
  LockRange expected;
};

LockRange RangeFor(const RangeRow& row) {
  switch (row.kind) {
    case Kind::kRecordIndexOpen:
      return RecordLockRange(row.protocol, row.recno, true, row.header_length, row.record_length);
    case Kind::kRecordNoIndex:
      return RecordLockRange(row.protocol, row.recno, false, row.header_length, row.record_length);
    case Kind::kAppend:
      return AppendLockRange(row.protocol);
    case Kind::kIndex:
      return IndexLockRange(row.protocol);
  }
  return {};
}

class LockRangeTest : public ::testing::TestWithParam<RangeRow> {};

TEST_P(LockRangeTest, OffsetAndLength) {
  const LockRange got = RangeFor(GetParam());
  EXPECT_EQ(got.offset, GetParam().expected.offset) << std::hex << got.offset;
  EXPECT_EQ(got.length, GetParam().expected.length);
}

constexpr auto kDefault = LockProtocol::kDefault;
constexpr auto kDb4 = LockProtocol::kDb4Lock;
constexpr auto kClip = LockProtocol::kClipLock;
constexpr auto kFox = LockProtocol::kFoxLock;

INSTANTIATE_TEST_SUITE_P(
    Protocols, LockRangeTest,
    ::testing::Values(
        // Default
        RangeRow{"DefaultRecord5IndexOpen",
                 kDefault,
                 Kind::kRecordIndexOpen,
                 5,
                 546,
                 120,
                 {0x7FFFFFF9, 1}},
        RangeRow{"DefaultRecord1IndexOpen",
                 kDefault,
                 Kind::kRecordIndexOpen,
                 1,
                 546,
                 120,
                 {0x7FFFFFFD, 1}},
        RangeRow{
            "DefaultRecord5NoIndex", kDefault, Kind::kRecordNoIndex, 5, 546, 120, {0x40000402, 1}},
        RangeRow{"DefaultRecord1NoIndexIsHeaderLength",
                 kDefault,
                 Kind::kRecordNoIndex,
                 1,
                 546,
                 120,
                 {0x40000000 + 546, 1}},
        RangeRow{"DefaultAppend", kDefault, Kind::kAppend, 0, 0, 0, {0x7FFFFFFE, 1}},
        RangeRow{"DefaultIndex", kDefault, Kind::kIndex, 0, 0, 0, {0x7FFFFFFD, 1}},
        // FoxLock is Default
        RangeRow{"FoxRecord5IndexOpen", kFox, Kind::kRecordIndexOpen, 5, 546, 120, {0x7FFFFFF9, 1}},
        RangeRow{"FoxRecord5NoIndex", kFox, Kind::kRecordNoIndex, 5, 546, 120, {0x40000402, 1}},
        RangeRow{"FoxAppend", kFox, Kind::kAppend, 0, 0, 0, {0x7FFFFFFE, 1}},
        RangeRow{"FoxIndex", kFox, Kind::kIndex, 0, 0, 0, {0x7FFFFFFD, 1}},
        // DB4Lock: the same record offset with or without an index
        RangeRow{"Db4Record5IndexOpen",
                 kDb4,
                 Kind::kRecordIndexOpen,
                 5,
                 546,
                 120,
                 {0xEFFFFFFF - 5 - 1, 1}},
        RangeRow{"Db4Record5NoIndex", kDb4, Kind::kRecordNoIndex, 5, 546, 120, {0xEFFFFFF9, 1}},
        RangeRow{"Db4Record1", kDb4, Kind::kRecordNoIndex, 1, 546, 120, {0xEFFFFFFD, 1}},
        RangeRow{"Db4Append", kDb4, Kind::kAppend, 0, 0, 0, {0xEFFFFFFF, 1}},
        RangeRow{"Db4IndexIsTwoBytes", kDb4, Kind::kIndex, 0, 0, 0, {0xEFFFFFFE, 2}},
        // ClipLock: decimal offsets
        RangeRow{
            "ClipRecord5IndexOpen", kClip, Kind::kRecordIndexOpen, 5, 546, 120, {1000000005, 1}},
        RangeRow{"ClipRecord5NoIndex", kClip, Kind::kRecordNoIndex, 5, 546, 120, {1000000005, 1}},
        RangeRow{
            "ClipRecord123456", kClip, Kind::kRecordNoIndex, 123456, 546, 120, {1000123456, 1}},
        RangeRow{"ClipAppend", kClip, Kind::kAppend, 0, 0, 0, {1000000000, 1}},
        RangeRow{"ClipIndex", kClip, Kind::kIndex, 0, 0, 0, {1000000000, 1}},
        // 32-bit arithmetic: offsets wrap like the other programs' (high part 0)
        RangeRow{"DefaultNoIndexWrapsAt32Bits",
                 kDefault,
                 Kind::kRecordNoIndex,
                 9000000,
                 546,
                 4000,
                 {static_cast<uint32_t>(0x40000000ull + 546 + 8999999ull * 4000), 1}}),
    [](const auto& info) { return info.param.name; });

TEST(LockProtocol, IndexLockRetryPolicyIsHundredTriesFiftyMsApart) {
  EXPECT_EQ(kIndexLockAttempts, 100);
  EXPECT_EQ(kIndexLockPauseMs, 50);
}

}  // namespace
}  // namespace dbf
