#include "dbf/field_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dbf/errors.h"

namespace dbf {
namespace {

struct FixedCase {
  const char* name;
  double value;
  uint32_t decimals;
  const char* text;
};

class FormatFixedTest : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FormatFixedTest, RoundsTheCutExpansionHalfAwayFromZero) {
  EXPECT_EQ(codec::FormatFixed(GetParam().value, GetParam().decimals), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FormatFixedTest,
    ::testing::Values(FixedCase{"ExactHalfRoundsUp", 0.125, 2, "0.13"},
                      FixedCase{"BinaryBelowHalfRoundsDown", 2.675, 2, "2.67"},
                      FixedCase{"NegativeHalfAwayFromZero", -0.005, 2, "-0.01"},
                      FixedCase{"NegativeRoundingToZeroKeepsSign", -0.001, 2, "-0.00"},
                      FixedCase{"NegativeZeroHasNoSign", -0.0, 2, "0.00"},
                      FixedCase{"Zero", 0.0, 0, "0"}, FixedCase{"ZeroWithDecimals", 0.0, 2, "0.00"},
                      FixedCase{"HalfToOne", 0.5, 0, "1"}, FixedCase{"MinusHalf", -0.5, 0, "-1"},
                      FixedCase{"TwoAndHalf", 2.5, 0, "3"},
                      FixedCase{"CarryIntoNewDigit", 99.999, 2, "100.00"},
                      FixedCase{"NineNineNineFive", 9.995, 2, "9.99"},
                      FixedCase{"PaddedDecimals", 1234.5, 2, "1234.50"},
                      FixedCase{"EighteenSignificantDigits", 12345678.9, 2, "12345678.90"},
                      FixedCase{"LargeIntegerNotTruncated", 1e20, 0, "100000000000000000000"},
                      FixedCase{"ExpansionCutAt17Places", 0.1, 20, "0.10000000000000001000"},
                      FixedCase{"SmallPositive", 0.004, 2, "0.00"}),
    [](const auto& info) { return std::string(info.param.name); });

FieldDescriptor Field(const char* name, char type, uint32_t width, uint32_t decimals,
                      uint32_t offset = 1) {
  return FieldDescriptor{name, type, width, decimals, offset, 1};
}

TEST(FieldCodec, NumericTooBigLeavesFieldUnchanged) {
  const FieldDescriptor f = Field("CASTKA", 'N', 8, 2);
  std::string rec = " 12345.00";
  try {
    codec::EncodeNumeric(f, reinterpret_cast<uint8_t*>(rec.data()), 12345678.9);
    FAIL() << "no error";
  } catch (const DbfError& e) {
    EXPECT_STREQ(e.what(), "numeric value too big in field CASTKA - 12345678.90");
  }
  EXPECT_EQ(rec, " 12345.00");
}

TEST(FieldCodec, NumericIsRightJustifiedWithExactDecimals) {
  const FieldDescriptor f = Field("X", 'N', 6, 2);
  std::string rec(7, '#');
  auto* p = reinterpret_cast<uint8_t*>(rec.data());
  codec::EncodeNumeric(f, p, 1.5);
  EXPECT_EQ(rec, "#  1.50");
  codec::EncodeNumeric(f, p, -0.005);
  EXPECT_EQ(rec, "# -0.01");
  codec::EncodeNumeric(f, p, -0.001);
  EXPECT_EQ(rec, "# -0.00");
  codec::EncodeNumeric(f, p, 999.99);
  EXPECT_EQ(rec, "#999.99");
  EXPECT_THROW(codec::EncodeNumeric(f, p, 1000), DbfError);
  EXPECT_EQ(rec, "#999.99");
}

TEST(FieldCodec, DecodeNumeric) {
  const FieldDescriptor f = Field("CENA", 'N', 10, 2);
  auto decode = [&](std::string text) {
    text.insert(0, " ");
    return codec::DecodeNumeric(f, reinterpret_cast<const uint8_t*>(text.data()), "Fak0001");
  };
  EXPECT_DOUBLE_EQ(decode(" 1234.5   "), 1234.5);
  EXPECT_DOUBLE_EQ(decode("          "), 0.0);
  EXPECT_DOUBLE_EQ(decode("   -1.5e3 "), -1500.0);
  EXPECT_DOUBLE_EQ(decode("      +2.5"), 2.5);
  // Short plain decimals and long ones must read as the same doubles.
  EXPECT_EQ(decode("       0.1"), 0.1);
  EXPECT_EQ(decode("       -.5"), -0.5);
  EXPECT_EQ(decode("0.30000000"), 0.3);
  EXPECT_EQ(decode("1234567.89"), 1234567.89);
  const FieldDescriptor wide = Field("W", 'N', 20, 2);
  const std::string long_text = "  123456789012345.67";
  EXPECT_EQ(
      codec::DecodeNumeric(wide, reinterpret_cast<const uint8_t*>((" " + long_text).data()), "T"),
      123456789012345.67);
  try {
    decode("   1234,5 ");
    FAIL() << "no error";
  } catch (const DbfError& e) {
    EXPECT_STREQ(e.what(), "Invalid numeric value in field Fak0001->CENA (   1234,5)");
  }
  EXPECT_THROW(decode("   12 34  "), DbfError);
  EXPECT_THROW(decode("   -      "), DbfError);
  EXPECT_THROW(decode("**********"), DbfError);
  // Words the C library reads as numbers are not numbers in a table.
  for (const char* word :
       {"       nan", "       inf", "  infinity", "      -inf", "      +NaN", "  Infinity"}) {
    try {
      decode(word);
      FAIL() << word << ": no error";
    } catch (const DbfError& e) {
      EXPECT_EQ(e.what(),
                "Invalid numeric value in field Fak0001->CENA (" + std::string(word) + ")");
    }
  }
}

TEST(FieldCodec, DatesReadNullForBlankZeroAndImpossible) {
  const FieldDescriptor f = Field("DAT", 'D', 8, 0);
  auto decode = [&](const std::string& text) {
    const std::string rec = " " + text;
    return codec::DecodeDate(f, reinterpret_cast<const uint8_t*>(rec.data()));
  };
  EXPECT_EQ(decode("20240229"), (CivilDate{2024, 2, 29}));
  EXPECT_FALSE(decode("00000000"));
  EXPECT_FALSE(decode("        "));
  EXPECT_FALSE(decode("20050231"));
  EXPECT_FALSE(decode("2005-2-1"));
}

TEST(FieldCodec, LogicalTruthLetters) {
  const FieldDescriptor f = Field("PLA", 'L', 1, 0);
  for (char c : std::string("TtYyJj")) {
    const char rec[2] = {' ', c};
    EXPECT_TRUE(codec::DecodeLogical(f, reinterpret_cast<const uint8_t*>(rec))) << c;
  }
  for (char c : std::string("FfNn ?\0", 7)) {
    const char rec[2] = {' ', c};
    EXPECT_FALSE(codec::DecodeLogical(f, reinterpret_cast<const uint8_t*>(rec))) << int(c);
  }
}

TEST(FieldCodec, RawIsCutAndJustifiedByType) {
  std::string rec(6, '#');
  auto* p = reinterpret_cast<uint8_t*>(rec.data());
  codec::EncodeRaw(Field("C", 'C', 5, 0), p, "abcdefg");
  EXPECT_EQ(rec, "#abcde");
  codec::EncodeRaw(Field("C", 'C', 5, 0), p, "ab");
  EXPECT_EQ(rec, "#ab   ");
  codec::EncodeRaw(Field("N", 'N', 5, 0), p, "12");
  EXPECT_EQ(rec, "#   12");
  codec::EncodeRaw(Field("L", 'L', 5, 0), p, "T");
  EXPECT_EQ(rec, "#T    ");
}

TEST(FieldCodec, BlankRecordHoldsZeroInNumbersAndSpacesElsewhere) {
  const FieldDescriptor fields[] = {Field("A", 'N', 10, 0, 1), Field("B", 'N', 10, 2, 11),
                                    Field("C", 'C', 3, 0, 21), Field("D", 'D', 8, 0, 24),
                                    Field("E", 'L', 1, 0, 32), Field("F", 'F', 4, 1, 33)};
  std::string rec(37, '#');
  codec::BlankRecord(fields, 6, reinterpret_cast<uint8_t*>(rec.data()), 37, 0x03);
  EXPECT_EQ(rec,
            std::string(" ") + "         0" + "      0.00" + "   " + "        " + " " + " 0.0");
}

TEST(FieldCodec, VisualFoxProBinaryTypes) {
  const FieldDescriptor i = Field("I", 'I', 4, 0, 1);
  const FieldDescriptor b = Field("B", 'B', 8, 0, 5);
  const FieldDescriptor y = Field("Y", 'Y', 8, 0, 13);
  const FieldDescriptor t = Field("T", 'T', 8, 0, 21);
  const FieldDescriptor fields[] = {i, b, y, t};
  uint8_t rec[29];
  codec::BlankRecord(fields, 4, rec, sizeof rec, 0x30);
  EXPECT_EQ(rec[0], ' ');
  for (size_t k = 1; k < sizeof rec; ++k) EXPECT_EQ(rec[k], 0) << k;
  EXPECT_FALSE(codec::DecodeDateTime(t, rec));

  codec::EncodeNumber(i, rec, -2.9, 0x30);  // truncated
  EXPECT_EQ(codec::DecodeNumber(i, rec, "T", 0x30), -2);
  EXPECT_EQ(rec[1], 0xFE);
  EXPECT_EQ(rec[4], 0xFF);
  codec::EncodeNumber(b, rec, 3.25, 0x30);
  EXPECT_EQ(codec::DecodeNumber(b, rec, "T", 0x30), 3.25);
  codec::EncodeNumber(y, rec, 1.03125, 0x30);  // 10312.5 rounds to 10313
  EXPECT_EQ(rec[13], 10313 & 0xFF);
  EXPECT_EQ(rec[14], 10313 >> 8);
  EXPECT_DOUBLE_EQ(codec::DecodeNumber(y, rec, "T", 0x30), 1.0313);
  // 1980-01-01 12:00 is Julian day 2444240 and 43200000 ms.
  codec::EncodeDateTime(t, rec, DaysFromCivil({1980, 1, 1}) + 0.5);
  EXPECT_EQ(rec[21] | rec[22] << 8 | rec[23] << 16 | rec[24] << 24, 2444240);
  EXPECT_EQ(rec[25] | rec[26] << 8 | rec[27] << 16 | rec[28] << 24, 43200000);
  EXPECT_DOUBLE_EQ(*codec::DecodeDateTime(t, rec), DaysFromCivil({1980, 1, 1}) + 0.5);

  const char spaces[5] = {' ', ' ', ' ', ' ', ' '};
  EXPECT_EQ(codec::DecodeNumber(i, reinterpret_cast<const uint8_t*>(spaces), "T", 0x30), 0);
  EXPECT_THROW(codec::DecodeNumber(i, rec, "T", 0x03), DbfError);
  EXPECT_THROW(codec::EncodeNumber(Field("C", 'C', 4, 0), rec, 1, 0x30), DbfError);
}

TEST(FieldCodec, KnownTypesDependOnVersion) {
  EXPECT_TRUE(IsKnownFieldType('I', 0x30));
  EXPECT_FALSE(IsKnownFieldType('I', 0x03));
  EXPECT_TRUE(IsKnownFieldType('M', 0x83));
  EXPECT_FALSE(IsKnownFieldType('Q', 0x03));
}

}  // namespace
}  // namespace dbf
