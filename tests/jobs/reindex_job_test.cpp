#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>

#include <filesystem>
#include <fstream>

#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "dbf/process_test_support.h"
#include "store/demo_store.h"
#include "store/sign_in_name.h"
#include "store/unprivileged_user.h"
#include "support/run_command.h"

namespace store {
namespace {

using testing_support::DemoStoreTest;
using testing_support::RunTool;

class ReindexJobTest : public DemoStoreTest {
 protected:
  // The user running the tests signs in automatically.
  void SetUp() override {
    MakeStore(dbf::Cp1250ToUtf8(AutomaticSignInName(OperatingSystemUserName())));
  }
  testing_support::CommandResult Reindex() {
    return RunTool("saldex-export", {"--ini-dir", dir_.path(), "--reindex"});
  }
};

TEST_F(ReindexJobTest, ReindexRebuildsEveryIndexAndPrintsEachTag) {
  std::filesystem::remove(DataFile("Fak0001.cdx"));
  const auto result = Reindex();
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("Vydané faktury - dle dokladu"), std::string::npos);
  EXPECT_NE(result.err.find("Podklady příjemky od dodavatele - dle kódu dod.listu"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(DataFile("Fak0001.cdx")));
}

TEST_F(ReindexJobTest, ReindexFailsWhenATableIsHeldElsewhere) {
  testing_support::CommandResult result;
  {
    testing_support::TableHeldElsewhere holder(DataFile("Ext0001.dbf"));
    result = Reindex();
  }
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Tabulka faktur nelze otevřít ve výhradním režimu !"),
            std::string::npos);
}

TEST_F(ReindexJobTest, ReindexFailsWhenTheDataAreUnavailable) {
  std::filesystem::remove_all(layout_.data_dir);
  const auto result = Reindex();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Data nejsou dostupná v adresáři " + layout_.data_dir),
            std::string::npos)
      << result.err;
}

TEST_F(ReindexJobTest, ReindexFailsWhenNoTableOfTheStoreExists) {
  std::string ini = dir_.ReadFile("Korvana.ini");
  ini.replace(ini.find("Korvana=0001"), 12, "Korvana=x9y8");
  dir_.WriteFile("Korvana.ini", ini);
  const auto result = Reindex();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Nenalezen soubor " + layout_.data_dir + "Fakx9y8.dbf"),
            std::string::npos)
      << result.err;
}

TEST_F(ReindexJobTest, ReindexWarnsAboutACutTableAndEndsWithStatusOne) {
  const std::string path = DataFile("Fak0001.dbf");
  std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1);
  std::ofstream(path, std::ios::app | std::ios::binary) << std::string(30, ' ');
  const auto result = Reindex();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Fak0001.dbf končí neúplným záznamem"), std::string::npos)
      << result.err;
  EXPECT_TRUE(std::filesystem::exists(DataFile("Fak0001.cdx")));
}

// Mounts a small file system over `directory`, in a mount namespace of this
// process's own, so that nothing outside it ever sees the mount (it ends
// with the process). False when this process may not do so.
bool MountSmallDisk(const std::string& directory) {
  return ::unshare(CLONE_NEWNS) == 0 &&
         ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount("tmpfs", directory.c_str(), "tmpfs", 0, "size=16m") == 0;
}

// Writes a filler file until the file system refuses another byte.
void FillUp(const std::string& directory) {
  std::FILE* filler = std::fopen((directory + "filler").c_str(), "wb");
  std::setvbuf(filler, nullptr, _IONBF, 0);
  const std::string block(4096, 'x');
  while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
  }
  while (std::fputc('x', filler) != EOF) {
  }
  std::fclose(filler);
}

TEST_F(ReindexJobTest, ReindexOnAFullDiskNamesTheSystemsReason) {
  namespace fs = std::filesystem;
  constexpr int kCannotMount = 77;
  const std::string tables = dir_.path() + "tables/";
  fs::rename(layout_.data_dir, tables);
  fs::create_directory(layout_.data_dir);
  // The store's tables without their index files on a disk with no room left.
  const int status = dbf::testing::RunInChild([&] {
    if (!MountSmallDisk(layout_.data_dir)) return kCannotMount;
    for (const auto& entry : fs::directory_iterator(tables)) {
      if (entry.path().extension() != ".cdx" && entry.path().extension() != ".CDX") {
        fs::copy_file(entry.path(), layout_.data_dir + entry.path().filename().string());
      }
    }
    FillUp(layout_.data_dir);
    const auto result = Reindex();
    dir_.WriteFile("reindex.err", result.err);
    return result.status;
  });
  if (status == kCannotMount) GTEST_SKIP() << "cannot mount a small file system here";

  EXPECT_EQ(status, 1);
  const std::string err = dir_.ReadFile("reindex.err");
  EXPECT_NE(err.find("Index " + layout_.data_dir + "/Fak0001.cdx nelze vytvořit: "),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("No space left on device"), std::string::npos);
  EXPECT_EQ(err.find("nelze otevřít ve výhradním režimu"), std::string::npos);
}

TEST_F(ReindexJobTest, ReindexOnAShareTheUserMayOnlyReadSaysSoOnce) {
  if (!testing_support::CanSwitchUser()) GTEST_SKIP() << "needs the super-user to switch users";
  std::filesystem::remove_all(layout_.data_dir);
  MakeStore("NOBODY");
  testing_support::SetTreeMode(dir_.path(), /*writable=*/false);
  const auto result = testing_support::RunToolAsNobody(
      "saldex-export", {"--ini-dir", dir_.path(), "--reindex"}, "/");
  testing_support::SetTreeMode(dir_.path(), /*writable=*/true);
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("Indexy datových souborů nelze obnovit, do adresáře " +
                            layout_.data_dir + " nelze zapisovat: Permission denied"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(result.err.find("výhradním režimu"), std::string::npos);
}

TEST_F(ReindexJobTest, MissingSettingsFileAndMissingOptionsFail) {
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
