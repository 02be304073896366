#include "dbf/ascii_text.h"

#include <gtest/gtest.h>

#include "dbf/charset_tables.h"

namespace dbf {
namespace {

TEST(AsciiUpperCase, ConvertsOnlyAsciiLetters) {
  EXPECT_EQ(Cp1250ToUtf8(AsciiUpperCase(Utf8ToCp1250("novák"))), "NOVáK");
}

TEST(Trim, RemovesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(Trim("\t\r\n  a b \x01\x1F "), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(EqualsIgnoringCase, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(EqualsIgnoringCase("Default Directory", "DEFAULT directory"));
  EXPECT_FALSE(EqualsIgnoringCase("HLA_DO1", "HLA_DO"));
  // Accented letters are never folded, whatever the process locale says.
  EXPECT_FALSE(EqualsIgnoringCase(Utf8ToCp1250("č"), Utf8ToCp1250("Č")));
  EXPECT_FALSE(EqualsIgnoringCase("@", "`"));
}

}  // namespace
}  // namespace dbf
