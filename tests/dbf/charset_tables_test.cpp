#include "dbf/charset_tables.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <set>
#include <string>

namespace dbf {
namespace {

std::string AllBytes() {
  std::string bytes(256, '\0');
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<char>(i);
  return bytes;
}

std::array<uint8_t, 256> Identity() {
  std::array<uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(i);
  return table;
}

struct CzechLetter {
  const char* utf8;
  uint8_t ansi;
  uint8_t oem;
};

constexpr CzechLetter kCzechLetters[] = {
    {"á", 0xE1, 0xA0}, {"č", 0xE8, 0x9F}, {"ď", 0xEF, 0xD4}, {"é", 0xE9, 0x82}, {"ě", 0xEC, 0xD8},
    {"í", 0xED, 0xA1}, {"ň", 0xF2, 0xE5}, {"ó", 0xF3, 0xA2}, {"ř", 0xF8, 0xFD}, {"š", 0x9A, 0xE7},
    {"ť", 0x9D, 0x9C}, {"ú", 0xFA, 0xA3}, {"ů", 0xF9, 0x85}, {"ý", 0xFD, 0xEC}, {"ž", 0x9E, 0xA7},
    {"Á", 0xC1, 0xB5}, {"Č", 0xC8, 0xAC}, {"Ď", 0xCF, 0xD2}, {"É", 0xC9, 0x90}, {"Ě", 0xCC, 0xB7},
    {"Í", 0xCD, 0xD6}, {"Ň", 0xD2, 0xD5}, {"Ó", 0xD3, 0xE0}, {"Ř", 0xD8, 0xFC}, {"Š", 0x8A, 0xE6},
    {"Ť", 0x8D, 0x9B}, {"Ú", 0xDA, 0xE9}, {"Ů", 0xD9, 0xDE}, {"Ý", 0xDD, 0xED}, {"Ž", 0x8E, 0xA6},
};

TEST(CharsetTables, CzechLettersTranslateBothWays) {
  const CharsetTables& tables = CharsetTables::Get();
  for (const CzechLetter& letter : kCzechLetters) {
    SCOPED_TRACE(letter.utf8);
    EXPECT_EQ(tables.ToOem(letter.ansi), letter.oem);
    EXPECT_EQ(tables.ToAnsi(letter.oem), letter.ansi);
    EXPECT_EQ(Utf8ToCp1250(letter.utf8), std::string(1, static_cast<char>(letter.ansi)));
    EXPECT_EQ(Utf8ToCp852(letter.utf8), std::string(1, static_cast<char>(letter.oem)));
    EXPECT_EQ(Cp852ToUtf8(std::string(1, static_cast<char>(letter.oem))), letter.utf8);
  }
}

TEST(CharsetTables, ControlBytesAndSpaceAreFixed) {
  const CharsetTables& tables = CharsetTables::Get();
  for (int c = 0; c <= 32; ++c) {
    EXPECT_EQ(tables.ToOem(static_cast<uint8_t>(c)), c);
    EXPECT_EQ(tables.ToAnsi(static_cast<uint8_t>(c)), c);
  }
  for (int c = 33; c < 128; ++c) EXPECT_EQ(tables.ToOem(static_cast<uint8_t>(c)), c) << c;
}

TEST(CharsetTables, AnsiToOemIsPermutationUndoneByOemToAnsi) {
  const CharsetTables& tables = CharsetTables::Get();
  std::set<int> values;
  for (int c = 33; c < 256; ++c) {
    const int oem = tables.ToOem(static_cast<uint8_t>(c));
    EXPECT_GE(oem, 33) << c;
    EXPECT_TRUE(values.insert(oem).second) << "two bytes translate to " << oem;
    EXPECT_EQ(tables.ToAnsi(static_cast<uint8_t>(oem)), c);
  }
  EXPECT_EQ(values.size(), 223u);
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(tables.ToOem(tables.ToAnsi(static_cast<uint8_t>(c))), c);
  }
}

TEST(CharsetTables, EveryByteSurvivesRoundTrips) {
  const CharsetTables& tables = CharsetTables::Get();
  std::string text = AllBytes();
  for (int round = 0; round < 3; ++round) text = tables.ToAnsi(tables.ToOem(text));
  EXPECT_EQ(text, AllBytes());
  EXPECT_EQ(tables.ToOem(tables.ToAnsi(AllBytes())), AllBytes());
}

TEST(CharsetTables, AgreesWithPlatformWhereItRoundTrips) {
  const CharsetTables& tables = CharsetTables::Get();
  const auto to_oem = PlatformAnsiToOem();
  const auto to_ansi = PlatformOemToAnsi();
  int agreed = 0;
  for (int c = 33; c < 256; ++c) {
    if (to_ansi[to_oem[c]] != c) continue;
    EXPECT_EQ(tables.ToOem(static_cast<uint8_t>(c)), to_oem[c]) << c;
    ++agreed;
  }
  EXPECT_GT(agreed, 150);  // ASCII plus the Central European letters
}

TEST(CharsetTables, PlatformConversionGivesQuestionMarkForMissingCharacters) {
  EXPECT_EQ(PlatformAnsiToOem()[0x80], '?');   // euro sign: no such character in 852
  EXPECT_EQ(PlatformAnsiToOem()[0x81], '?');   // unassigned in 1250
  EXPECT_EQ(PlatformOemToAnsi()[0xB0], '?');   // light shade: no such character in 1250
  EXPECT_EQ(PlatformAnsiToOem()[0xA0], 0xFF);  // no-break space
}

TEST(CharsetTables, TranslateKeepsLengthAndWorksInPlace) {
  const CharsetTables& tables = CharsetTables::Get();
  std::string text("\x8A\xED\xF8ka\0x", 7);  // "Šíř", "ka", a zero byte, "x"
  const std::string original = text;
  tables.Translate(text.data(), text.data(), text.size(), true);
  EXPECT_EQ(text.size(), original.size());
  EXPECT_EQ(text.substr(0, 5), "\xE6\xA1\xFDka");
  tables.Translate(text.data(), text.data(), text.size(), false);
  EXPECT_EQ(text, original);

  std::string copy(original.size(), 'z');
  tables.Translate(original.data(), copy.data(), original.size(), true, false);
  EXPECT_EQ(copy, original);
}

TEST(CharsetTablesBuild, IdentityPlatformGivesIdentityTables) {
  const CharsetTables tables = CharsetTables::Build(Identity(), Identity());
  EXPECT_EQ(tables.ansi_to_oem(), Identity());
  EXPECT_EQ(tables.oem_to_ansi(), Identity());
}

TEST(CharsetTablesBuild, BytesWithoutRoundTripKeepTheirValueWhenFree) {
  std::array<uint8_t, 256> to_oem{};
  std::array<uint8_t, 256> to_ansi = Identity();
  to_oem.fill('?');
  for (int c = 0; c < 128; ++c) to_oem[c] = static_cast<uint8_t>(c);
  const CharsetTables tables = CharsetTables::Build(to_oem, to_ansi);
  EXPECT_EQ(tables.ansi_to_oem(), Identity());
  EXPECT_EQ(tables.oem_to_ansi(), Identity());
}

TEST(CharsetTablesBuild, TakenValuesGoToTheSmallestFreeValueInOrder) {
  std::array<uint8_t, 256> to_oem = Identity();
  std::array<uint8_t, 256> to_ansi = Identity();
  // 150 and 151 round-trip to OEM 50 and 51; 50 and 51 themselves do not round-trip.
  to_oem[150] = 50;
  to_ansi[50] = 150;
  to_oem[151] = 51;
  to_ansi[51] = 151;
  const CharsetTables tables = CharsetTables::Build(to_oem, to_ansi);
  EXPECT_EQ(tables.ToOem(150), 50);
  EXPECT_EQ(tables.ToOem(151), 51);
  // 50 and 51 are taken, so ANSI 50 gets the smallest free value (150), then 51 gets 151.
  EXPECT_EQ(tables.ToOem(50), 150);
  EXPECT_EQ(tables.ToOem(51), 151);
  EXPECT_EQ(tables.ToAnsi(150), 50);
  EXPECT_EQ(tables.ToAnsi(50), 150);
}

TEST(CharsetTablesBuild, SmallestFreeValueIsTakenAsTheTableFills) {
  std::array<uint8_t, 256> to_oem = Identity();
  std::array<uint8_t, 256> to_ansi = Identity();
  // ANSI 200 and 201 take OEM 40 and 41; ANSI 40 and 41 do not round-trip and go, in
  // ascending order, to the smallest values still free: 200, then 201.
  to_oem[200] = 40;
  to_ansi[40] = 200;
  to_oem[201] = 41;
  to_ansi[41] = 201;
  to_oem[40] = 77;  // does not convert back: 77 returns 77
  const CharsetTables tables = CharsetTables::Build(to_oem, to_ansi);
  EXPECT_EQ(tables.ToOem(40), 200);
  EXPECT_EQ(tables.ToOem(41), 201);
  EXPECT_EQ(tables.ToOem(77), 77);
}

TEST(CharsetTablesBuild, ConversionIntoFixedBytesIsNotKept) {
  std::array<uint8_t, 256> to_oem = Identity();
  std::array<uint8_t, 256> to_ansi = Identity();
  to_oem[60] = 10;  // would make ANSI 60 and the line feed the same OEM byte
  to_ansi[10] = 60;
  const CharsetTables tables = CharsetTables::Build(to_oem, to_ansi);
  EXPECT_EQ(tables.ToOem(60), 60);
  EXPECT_EQ(tables.ToOem(10), 10);
  EXPECT_EQ(tables.ToAnsi(10), 10);
}

TEST(CharsetTablesBuild, ArbitraryPlatformTablesStillGiveAPermutation) {
  std::array<uint8_t, 256> to_oem{};
  std::array<uint8_t, 256> to_ansi{};
  uint32_t seed = 12345;
  for (int i = 0; i < 256; ++i) {
    seed = seed * 1103515245u + 12345u;
    to_oem[i] = static_cast<uint8_t>(seed >> 16);
    seed = seed * 1103515245u + 12345u;
    to_ansi[i] = static_cast<uint8_t>(seed >> 16);
  }
  const CharsetTables tables = CharsetTables::Build(to_oem, to_ansi);
  std::set<int> values;
  for (int c = 33; c < 256; ++c) values.insert(tables.ToOem(static_cast<uint8_t>(c)));
  EXPECT_EQ(values.size(), 223u);
  EXPECT_EQ(*values.begin(), 33);
  for (int c = 0; c < 256; ++c) EXPECT_EQ(tables.ToAnsi(tables.ToOem(static_cast<uint8_t>(c))), c);
}

TEST(CharsetUtf8, PangramRoundTripsThroughBothCodePages) {
  const std::string utf8 = "Příliš žluťoučký kůň úpěl ďábelské ódy";
  const std::string ansi = Utf8ToCp1250(utf8);
  EXPECT_EQ(ansi.size(), 38u);
  EXPECT_EQ(Cp1250ToUtf8(ansi), utf8);
  EXPECT_EQ(Cp852ToUtf8(Utf8ToCp852(utf8)), utf8);
  EXPECT_EQ(CharsetTables::Get().ToOem(ansi), Utf8ToCp852(utf8));
}

TEST(CharsetUtf8, CharactersTheCodePageLacksBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1250("a\xE2\x82\xAC"), "a\x80");         // euro sign exists in 1250
  EXPECT_EQ(Utf8ToCp852("a\xE2\x82\xAC"), "a?");             // but not in 852
  EXPECT_EQ(Utf8ToCp1250("\xE6\x97\xA5"), "?");              // CJK
  EXPECT_EQ(Utf8ToCp1250("\xF0\x9F\x98\x80!"), "?!");        // outside the BMP
  EXPECT_EQ(Cp1250ToUtf8("\x81\x83\x88\x90\x98"), "?????");  // unassigned bytes of 1250
  EXPECT_EQ(Cp852ToUtf8("\xB0"), "\xE2\x96\x91");
  EXPECT_EQ(Cp1250ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

struct InvalidUtf8Case {
  const char* name;
  std::string input;
  std::string expected;
};

TEST(CharsetUtf8, EachIllFormedSequenceBecomesOneQuestionMark) {
  const InvalidUtf8Case cases[] = {
      {"truncated two-byte", "a\xC3", "a?"},
      {"truncated three-byte before ASCII",
       "\xE2\x82"
       "A",
       "?A"},
      {"stray continuation", "\x80x", "?x"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"overlong three-byte", "\xE0\x80\xAF", "???"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"invalid lead F5", "\xF5\x80", "??"},
      {"lead FF", "\xFF", "?"},
      {"valid after invalid", "\xC3\xC3\xA1", "?\xE1"},
      {"empty", "", ""},
  };
  for (const InvalidUtf8Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToCp1250(c.input), c.expected);
  }
}

// Converts one byte with the C library's iconv; nullopt when it refuses.
std::optional<char32_t> IconvToUnicode(iconv_t cd, uint8_t byte) {
  char in = static_cast<char>(byte);
  char32_t out = 0;
  char* in_ptr = &in;
  char* out_ptr = reinterpret_cast<char*>(&out);
  size_t in_left = 1, out_left = sizeof(out);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<size_t>(-1)) {
    return std::nullopt;
  }
  return out;
}

void CompareWithIconv(const char* code_page, const std::array<char16_t, 256>& map) {
  iconv_t cd = iconv_open("UTF-32LE", code_page);
  if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "iconv lacks " << code_page;
  for (int byte = 0; byte < 256; ++byte) {
    const std::optional<char32_t> expected = IconvToUnicode(cd, static_cast<uint8_t>(byte));
    if (expected) {
      EXPECT_EQ(static_cast<char32_t>(map[byte]), *expected) << code_page << " byte " << byte;
    } else {
      EXPECT_EQ(map[byte], 0) << code_page << " byte " << byte;
    }
  }
  iconv_close(cd);
}

TEST(CharsetInterop, CompiledMapsAgreeWithIconv) {
  CompareWithIconv("CP852", Cp852ToUnicode());
  CompareWithIconv("CP1250", Cp1250ToUnicode());
}

}  // namespace
}  // namespace dbf
