#include <gtest/gtest.h>

#include <filesystem>

#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "dbf/process_test_support.h"
#include "store/demo_store.h"
#include "store/sign_in_name.h"
#include "support/run_command.h"

namespace store {
namespace {

using testing_support::DemoStoreTest;
using testing_support::RunTool;

class SaldexExportTest : public DemoStoreTest {
 protected:
  // The user running the tests signs in automatically.
  void SetUp() override {
    MakeStore(dbf::Cp1250ToUtf8(AutomaticSignInName(OperatingSystemUserName())));
  }
  testing_support::CommandResult Reindex() {
    return RunTool("saldex-export", {"--ini-dir", dir_.path(), "--reindex"});
  }
};

TEST_F(SaldexExportTest, ReindexRebuildsEveryIndexAndPrintsEachTag) {
  std::filesystem::remove(DataFile("Fak0001.cdx"));
  const auto result = Reindex();
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("Vydané faktury - dle dokladu"), std::string::npos);
  EXPECT_NE(result.err.find("Podklady příjemky od dodavatele - dle kódu dod.listu"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(DataFile("Fak0001.cdx")));
}

TEST_F(SaldexExportTest, ReindexFailsWhenATableIsHeldElsewhere) {
  testing_support::CommandResult result;
  {
    testing_support::TableHeldElsewhere holder(DataFile("Ext0001.dbf"));
    result = Reindex();
  }
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Tabulka faktur nelze otevřít ve výhradním režimu !"),
            std::string::npos);
}

TEST_F(SaldexExportTest, MissingSettingsFileAndMissingOptionsFail) {
  std::filesystem::remove(layout_.settings_file);
  const auto missing = Reindex();
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Korvana.ini nenalezen !"), std::string::npos);

  const auto usage = RunTool("saldex-export", {"--bogus"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_NE(usage.err.find("usage: saldex-export"), std::string::npos);
}

}  // namespace
}  // namespace store
