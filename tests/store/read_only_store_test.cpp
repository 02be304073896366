// Jobs that only read work on a store the user may only read (files 444,
// folders 555): the tables open read-only and no index rebuild is tried.

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>

#include <gtest/gtest.h>

#include "saldex_tables.h"
#include "store/demo_store.h"
#include "store/unprivileged_user.h"

namespace store {
namespace {

class ReadOnlyStoreTest : public testing_support::DemoStoreTest {
 protected:
  void SetUp() override {
    if (!testing_support::CanSwitchUser()) GTEST_SKIP() << "needs the super-user to switch users";
    MakeStore("NOBODY");  // the user the jobs run as signs in automatically
    demo::WriteSaldexDirectory(layout_.export_dir, layout_.data_dir);
    ::chmod(work_.path().c_str(), 0777);
    before_ = Snapshot();
    testing_support::SetTreeMode(dir_.path(), /*writable=*/false);
  }
  void TearDown() override { testing_support::SetTreeMode(dir_.path(), /*writable=*/true); }

  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_.path())) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      files[entry.path().string()] = {std::istreambuf_iterator<char>(in), {}};
    }
    return files;
  }
  testing_support::CommandResult RunAsNobody(std::vector<std::string> args) {
    args.insert(args.begin(), {"--ini-dir", dir_.path()});
    return testing_support::RunToolAsNobody("saldex-export", args, work_.path());
  }

  testing_support::TempDir work_;  // the jobs' working directory, writable
  std::map<std::string, std::string> before_;
};

TEST_F(ReadOnlyStoreTest, OverviewEndsWithStatusZeroAndChangesNothing) {
  const auto result = RunAsNobody({"--overview", "01.01.2000", "31.12.2030"});
  EXPECT_EQ(result.status, 0) << result.err << result.out;
  EXPECT_NE(result.out.find("Přehled faktur od 01.01.2000 do 31.12.2030: "), std::string::npos)
      << result.out;
  EXPECT_EQ(result.err.find("výhradním režimu"), std::string::npos) << result.err;
  EXPECT_TRUE(work_.Exists("PrehledPrijemek.txt"));
  EXPECT_EQ(Snapshot(), before_);
}

TEST_F(ReadOnlyStoreTest, ExportDryRunEndsWithStatusZeroAndChangesNothing) {
  const auto result = RunAsNobody({"--export", "--dry-run"});
  EXPECT_EQ(result.status, 0) << result.err << result.out;
  EXPECT_NE(result.out.find("Zkouška exportu, nic se nezapíše:"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Souhrn exportu:"), std::string::npos);
  EXPECT_EQ(result.err.find("výhradním režimu"), std::string::npos) << result.err;
  EXPECT_EQ(Snapshot(), before_);
}

}  // namespace
}  // namespace store
