#include "store/sign_in_name.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "dbf/charset_tables.h"

namespace store {
namespace {

using dbf::Cp1250ToUtf8;
using dbf::Utf8ToCp1250;

struct NameCase {
  const char* name;
  const char* os_name;  // UTF-8
  const char* sign_in;  // UTF-8
};

class AutomaticSignInNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(AutomaticSignInNameTest, CutToTenAndUpperCased) {
  EXPECT_EQ(Cp1250ToUtf8(AutomaticSignInName(Utf8ToCp1250(GetParam().os_name))),
            GetParam().sign_in);
}

INSTANTIATE_TEST_SUITE_P(
    Names, AutomaticSignInNameTest,
    ::testing::Values(NameCase{"Short", "novak", "NOVAK"},
                      NameCase{"ThirteenCharacters", "administrator", "ADMINISTRA"},
                      NameCase{"ExactlyTen", "dvoracekjj", "DVORACEKJJ"},
                      NameCase{"Diacritics", "šťastný", "ŠŤASTNÝ"},
                      NameCase{"LongWithDiacritics", "přemyslovcův", "PŘEMYSLOVC"},
                      // Blanks around do not count for the length, but the cut
                      // is taken from the untrimmed name.
                      NameCase{"TenWithBlanks", "  novakovaj  ", "  NOVAKOVAJ  "},
                      NameCase{"ElevenWithBlanks", "  novakovajka", "  NOVAKOVA"},
                      NameCase{"TrimmedTen", "  novakovajk", "  NOVAKOVAJK"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogSignInName, UpperCasesAsciiLettersOnly) {
  EXPECT_EQ(Cp1250ToUtf8(DialogSignInName(Utf8ToCp1250("šťastný"))), "šťASTNý");
  EXPECT_EQ(DialogSignInName("novak"), "NOVAK");
}

TEST(OperatingSystemUserName, IsNotEmptyAndIgnoresUserWhenThePasswordDatabaseKnowsUs) {
  const char* saved = ::getenv("USER");
  const std::string before = OperatingSystemUserName();
  EXPECT_FALSE(before.empty());
  ::setenv("USER", "zz-not-the-user", 1);
  const std::string after = OperatingSystemUserName();
  if (saved) {
    ::setenv("USER", saved, 1);
  } else {
    ::unsetenv("USER");
  }
  EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace store
