#include "index/key_collation_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "dbf/charset_tables.h"

namespace idx {
namespace {

// Code page 852 bytes of a UTF-8 text.
std::string Oem(const char* utf8) {
  return dbf::Utf8ToCp852(utf8);
}

TEST(KeyCollationTable, IsAPermutationWithLowBytesUnchanged) {
  const auto& weights = KeyCollationTable::Weights();
  std::set<int> seen(weights.begin(), weights.end());
  EXPECT_EQ(seen.size(), 256u);
  for (int b = 0; b <= 0x40; ++b) EXPECT_EQ(weights[b], b);
}

TEST(KeyCollationTable, OrdersTheCzechAndSlovakAlphabet) {
  const char* order[] = {"A", "a", "Á", "á", "Ä", "ä", "B", "b", "C", "c", "Č", "č", "D", "d",
                         "Ď", "ď", "E", "e", "É", "é", "Ě", "ě", "Ë", "ë", "F", "f", "G", "g",
                         "H", "h", "I", "i", "Í", "í", "J", "j", "K", "k", "L", "l", "Ĺ", "ĺ",
                         "Ľ", "ľ", "M", "m", "N", "n", "Ň", "ň", "O", "o", "Ó", "ó", "Ô", "ô",
                         "Ö", "ö", "P", "p", "Q", "q", "R", "r", "Ŕ", "ŕ", "Ř", "ř", "S", "s",
                         "Š", "š", "T", "t", "Ť", "ť", "U", "u", "Ú", "ú", "Ů", "ů", "Ü", "ü",
                         "V", "v", "W", "w", "X", "x", "Y", "y", "Ý", "ý", "Z", "z", "Ž", "ž"};
  int previous = 0x40;
  for (const char* letter : order) {
    const std::string byte = Oem(letter);
    ASSERT_EQ(byte.size(), 1u) << letter;
    const int weight = KeyCollationTable::Weight(static_cast<uint8_t>(byte[0]));
    EXPECT_EQ(weight, previous + 1) << letter;
    previous = weight;
  }
  EXPECT_EQ(previous, 0xA2);  // the letters take weights 0x41..0xA2; symbols follow
}

TEST(KeyCollationTable, CapaComesBeforeCap) {
  EXPECT_LT(KeyCollationTable::Compare(Oem("CAPA"), Oem("ČÁP")), 0);
  EXPECT_GT(KeyCollationTable::Compare(Oem("ČÁP"), Oem("CAPA")), 0);
  // Raw bytes would put ČÁP (0xAC...) after CAPA too, but Á (0xB5) after Z: check one that
  // raw byte order gets wrong.
  EXPECT_LT(KeyCollationTable::Compare(Oem("ÁMOS"), Oem("BOB")), 0);
  EXPECT_LT(KeyCollationTable::Compare(Oem("a"), Oem("Á")), 0);
  EXPECT_GT(KeyCollationTable::Compare(Oem("a"), Oem("A")), 0);
}

TEST(KeyCollationTable, PrefixRules) {
  EXPECT_EQ(KeyCollationTable::CompareCommonLength("AB", "ABC"), 0);
  EXPECT_LT(KeyCollationTable::Compare("AB", "ABC"), 0);
  EXPECT_GT(KeyCollationTable::Compare("ABC", "AB"), 0);
  EXPECT_EQ(KeyCollationTable::Compare("ABC", "ABC"), 0);
  EXPECT_LT(KeyCollationTable::Compare("", "A"), 0);
  // The weight decides before the length does.
  EXPECT_GT(KeyCollationTable::Compare("B", "AZZ"), 0);
}

TEST(KeyCollationTable, SortsNamesLikeACzechDirectory) {
  std::vector<std::string> names = {Oem("Šťastný"), Oem("Sýkora"), Oem("Čermák"), Oem("Cibulka"),
                                    Oem("Zeman"),   Oem("Žák"),    Oem("Řezník"), Oem("Rybář"),
                                    Oem("Chalupa"), Oem("Hora")};
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return KeyCollationTable::Compare(a, b) < 0;
  });
  std::vector<std::string> utf8;
  for (const std::string& name : names) utf8.push_back(dbf::Cp852ToUtf8(name));
  // "Ch" is not a letter of its own here: it sorts under C, before "Ci".
  EXPECT_EQ(utf8, (std::vector<std::string>{"Chalupa", "Cibulka", "Čermák", "Hora", "Rybář",
                                            "Řezník", "Sýkora", "Šťastný", "Zeman", "Žák"}));
}

TEST(KeyBytes, CompareAsUnsigned) {
  EXPECT_LT(CompareBytes(std::string("\x7F"), std::string("\x80")), 0);
  EXPECT_LT(CompareBytes(std::string("\xBF\xF0"), std::string("\xBF\xF0\x01")), 0);
  EXPECT_EQ(CompareBytesCommonLength(std::string("\xBF\xF0"), std::string("\xBF\xF0\x01")), 0);
  // Weights would order these the other way round (0x81 ü weighs 0x94, 0x82 é 0x54).
  EXPECT_LT(CompareBytes(std::string("\x81"), std::string("\x82")), 0);
  EXPECT_GT(KeyCollationTable::Compare(std::string("\x81"), std::string("\x82")), 0);
}

}  // namespace
}  // namespace idx
