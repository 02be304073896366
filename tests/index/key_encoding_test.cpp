#include "index/key_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "index/key_collation_table.h"

namespace idx {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes += static_cast<char>(v);
  return bytes;
}

TEST(NumberKey, ByteImages) {
  EXPECT_EQ(EncodeNumberKey(1.0, false), Bytes({0xBF, 0xF0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(EncodeNumberKey(1.0, true), Bytes({0xBF, 0xF0}));
  EXPECT_EQ(EncodeNumberKey(-1.0, false), Bytes({0x40, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(EncodeNumberKey(-1.0, true), EncodeNumberKey(-1.0, false));
  EXPECT_EQ(EncodeNumberKey(0.0, false), Bytes({0x80, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(EncodeNumberKey(0.0, true), Bytes({0x80}));
}

TEST(NumberKey, NegativeZeroHasAllBitsInverted) {
  EXPECT_EQ(EncodeNumberKey(-0.0, false), Bytes({0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(EncodeNumberKey(-0.0, true), EncodeNumberKey(-0.0, false));
  EXPECT_LT(CompareBytes(EncodeNumberKey(-0.0, true), EncodeNumberKey(0.0, true)), 0);
  EXPECT_TRUE(std::signbit(DecodeNumberKey(EncodeNumberKey(-0.0, true))));
}

TEST(NumberKey, DateKeyOf1980) {
  // 1980-01-01 is Julian day 2444240 = 0x4142A5E800000000 as a float.
  const std::string key =
      EncodeKey(KeyType::kDate, 8, KeyValue::JulianDay(2444240), /*trim=*/false);
  EXPECT_EQ(key, Bytes({0xC1, 0x42, 0xA5, 0xE8, 0, 0, 0, 0}));
  EXPECT_EQ(EncodeKey(KeyType::kDate, 8, KeyValue::JulianDay(2444240), true),
            Bytes({0xC1, 0x42, 0xA5, 0xE8}));
}

TEST(NumberKey, UnsignedByteOrderIsNumericOrder) {
  const std::vector<double> values = {-std::numeric_limits<double>::infinity(),
                                      -1e300,
                                      -12345.5,
                                      -1.0,
                                      -0.5,
                                      -1e-300,
                                      0.0,
                                      1e-300,
                                      0.5,
                                      1.0,
                                      2.0,
                                      12345.5,
                                      2444240.0,
                                      1e300,
                                      std::numeric_limits<double>::infinity()};
  for (size_t i = 0; i + 1 < values.size(); ++i) {
    for (bool trim : {false, true}) {
      EXPECT_LT(
          CompareBytes(EncodeNumberKey(values[i], trim), EncodeNumberKey(values[i + 1], trim)), 0)
          << values[i] << " vs " << values[i + 1] << (trim ? " trimmed" : "");
    }
  }
}

TEST(NumberKey, DecodeUndoesEncode) {
  for (double v : {0.0, 1.0, -1.0, 3.25, -1e-20, 1e200, 2444240.0}) {
    EXPECT_EQ(DecodeNumberKey(EncodeNumberKey(v, true)), v);
    EXPECT_EQ(DecodeNumberKey(EncodeNumberKey(v, false)), v);
  }
}

TEST(KeyEncoding, NumberTagsFromOtherKinds) {
  EXPECT_EQ(EncodeKey(KeyType::kNumber, 8, KeyValue::Float(1.0), true), Bytes({0xBF, 0xF0}));
  EXPECT_EQ(EncodeKey(KeyType::kNumber, 8, KeyValue::Logical(true), true), Bytes({0xBF, 0xF0}));
  EXPECT_EQ(EncodeKey(KeyType::kNumber, 8, KeyValue::Logical(false), true), Bytes({0x80}));
  EXPECT_EQ(EncodeKey(KeyType::kNumber, 8, KeyValue::JulianDay(2444240), true),
            Bytes({0xC1, 0x42, 0xA5, 0xE8}));
  EXPECT_EQ(EncodeKey(KeyType::kNumber, 8, KeyValue::Raw(Bytes({0xBF, 0xF0, 0, 0})), true),
            Bytes({0xBF, 0xF0}));
  EXPECT_THROW(EncodeKey(KeyType::kNumber, 8, KeyValue::Character("1"), true),
               std::invalid_argument);
}

TEST(KeyEncoding, CharacterTags) {
  EXPECT_EQ(EncodeKey(KeyType::kCharacter, 10, KeyValue::Character("DO1   "), true), "DO1");
  EXPECT_EQ(EncodeKey(KeyType::kCharacter, 10, KeyValue::Character("DO1   "), false), "DO1   ");
  EXPECT_EQ(EncodeKey(KeyType::kCharacter, 4, KeyValue::Character("ABCDEFG"), false), "ABCD");
  EXPECT_EQ(EncodeKey(KeyType::kCharacter, 1, KeyValue::Logical(true), true), "T");
  EXPECT_EQ(EncodeKey(KeyType::kCharacter, 1, KeyValue::Logical(false), true), "F");
  EXPECT_EQ(EncodeKey(KeyType::kCharacter, 20, KeyValue::Float(12.5), true), "12.5");
  EXPECT_EQ(EncodeKey(KeyType::kCharacter, 20, KeyValue::Float(800), true), "800");
  // Leading blanks are significant; only trailing ones are dropped.
  EXPECT_EQ(EncodeKey(KeyType::kCharacter, 10, KeyValue::Character("  A  "), true), "  A");
  // A date key of a C tag is the date's text (short date format "dd.mm.yyyy" at start).
  EXPECT_EQ(EncodeKey(KeyType::kCharacter, 10, KeyValue::JulianDay(2444240), true), "01.01.1980");
}

TEST(KeyEncoding, ShortestDecimalText) {
  struct Case {
    double value;
    const char* text;
  };
  for (const Case& c : {Case{12.5, "12.5"}, Case{800, "800"}, Case{0, "0"}, Case{1e-5, "1E-5"},
                        Case{-3.75, "-3.75"}, Case{0.1, "0.1"}, Case{1.0 / 3, "0.333333333333333"},
                        Case{1e20, "1E20"}}) {
    EXPECT_EQ(ShortestDecimalText(c.value), c.text) << c.text;
  }
}

TEST(KeyEncoding, TrimAndPad) {
  EXPECT_EQ(TrimKey("AB  ", KeyType::kCharacter), "AB");
  EXPECT_EQ(TrimKey(std::string("AB\0\0", 4), KeyType::kCharacter), std::string("AB\0\0", 4));
  EXPECT_EQ(TrimKey(std::string("AB\0\0", 4), KeyType::kNumber), "AB");
  EXPECT_EQ(TrimKey("   ", KeyType::kCharacter), "");
  EXPECT_EQ(PadKey("AB", KeyType::kCharacter, 5), "AB   ");
  EXPECT_EQ(PadKey("AB", KeyType::kDate, 4), std::string("AB\0\0", 4));
}

TEST(KeyValue, KindsAndValues) {
  EXPECT_EQ(KeyValue::Character("x").kind(), KeyKind::kCharacter);
  EXPECT_EQ(static_cast<int>(KeyValue::Float(2.5).kind()), 2);
  EXPECT_EQ(KeyValue::Float(2.5).AsFloat(), 2.5);
  EXPECT_EQ(KeyValue::JulianDay(2444240).AsInteger(), 2444240);
  EXPECT_EQ(KeyValue::JulianDay(2444240).length(), 4u);
  EXPECT_TRUE(KeyValue::Logical(true).AsLogical());
  EXPECT_EQ(static_cast<int>(KeyValue::Raw("ab").kind()), 5);
  EXPECT_EQ(KeyValue::Raw("ab"), KeyValue::Raw("ab"));
  EXPECT_NE(KeyValue::Raw("ab"), KeyValue::Character("ab"));
}

}  // namespace
}  // namespace idx
