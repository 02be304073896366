// A store in a directory whose name has Czech letters: "Korvana.ini" holds the
// directories in code page 1250, the file system names them in UTF-8. Start-up,
// tables, index files, the rebuild, the batch export and the messages must all
// reach and show the same directory.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "dbf/charset_tables.h"
#include "dbf/system_path.h"
#include "saldex_tables.h"
#include "store/demo_store.h"
#include "store/sign_in_name.h"
#include "support/run_command.h"

namespace store {
namespace {

using testing_support::DemoStoreTest;
using testing_support::RunTool;

class CzechDirectoryTest : public DemoStoreTest {
 protected:
  void SetUp() override {
    user_ = dbf::Cp1250ToUtf8(AutomaticSignInName(OperatingSystemUserName()));
    MakeStore(user_);
    czech_ = dir_.path() + "účetnictví/";  // UTF-8, as the file system names it
    czech_layout_ = demo::KorvanaLayout(czech_);
    std::filesystem::create_directories(czech_);
    std::filesystem::copy(layout_.data_dir, czech_layout_.data_dir,
                          std::filesystem::copy_options::recursive);
    demo::WriteSaldexDirectory(czech_layout_.export_dir, czech_layout_.data_dir);
    demo::WriteKorvanaSettings(czech_layout_);
  }
  // The same directory as the program composes paths: code page 1250.
  static std::string Ansi(const std::string& utf8) { return dbf::Utf8ToCp1250(utf8); }

  std::string user_, czech_;
  demo::KorvanaDirectory czech_layout_;
};

TEST_F(CzechDirectoryTest, SettingsFileHoldsTheDirectoriesInCodePage1250) {
  std::ifstream in(czech_layout_.settings_file, std::ios::binary);
  const std::string ini((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(ini.find("CestaData=" + Ansi(czech_layout_.data_dir) + "\r\n"), std::string::npos);
  EXPECT_NE(ini.find("\xFA\xE8"
                     "etnictv\xED"),
            std::string::npos);  // "účetnictví" in 1250
}

TEST_F(CzechDirectoryTest, StartUpTablesIndexesAndRebuildReachTheDirectory) {
  TData data(op_, Ansi(czech_));
  data.set_user_name_source([this] { return dbf::Utf8ToCp1250(user_); });
  data.DataCreate();
  EXPECT_TRUE(data.settings_read());
  EXPECT_TRUE(data.data_available());
  EXPECT_FALSE(data.terminate_requested());
  EXPECT_EQ(data.settings.CestaData, Ansi(czech_layout_.data_dir));
  EXPECT_TRUE(op_.messages.empty()) << op_.messages.front().text;
  ASSERT_TRUE(data.OpenFak("DO1"));
  EXPECT_GT(data.Faktury().RecordCount(), 0u);
  ASSERT_TRUE(data.OpenOdb(0, "KOD"));
  data.CloseOdb();

  std::filesystem::remove(czech_layout_.data_dir + "Fak0001.cdx");
  EXPECT_TRUE(data.Index());
  EXPECT_TRUE(data.failed_tables().empty());
  EXPECT_GT(data.store_tables_found(), 0);
  EXPECT_TRUE(op_.messages.empty()) << op_.messages.front().text;
  EXPECT_TRUE(std::filesystem::exists(czech_layout_.data_dir + "Fak0001.cdx"));
  EXPECT_EQ(data.Faktury().index_name(), "DO1");  // open again with its tag
}

TEST_F(CzechDirectoryTest, MessagesShowTheDirectory) {
  std::filesystem::remove(czech_layout_.data_dir + "Usr0000.dbf");
  TData data(op_, Ansi(czech_));
  data.DataCreate();
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Data nejsou dostupná v adresáři " + czech_layout_.data_dir);

  std::filesystem::remove(czech_layout_.settings_file);
  const auto missing = RunTool("saldex-export", {"--ini-dir", czech_, "--reindex"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Konfigurační soubor " + czech_ + "/Korvana.ini nenalezen !"),
            std::string::npos)
      << missing.err;
}

TEST_F(CzechDirectoryTest, BatchRebuildAndExportWork) {
  const auto reindex = RunTool("saldex-export", {"--ini-dir", czech_, "--reindex"});
  EXPECT_EQ(reindex.status, 0) << reindex.err;
  EXPECT_EQ(reindex.err.find("Nenalezen soubor"), std::string::npos) << reindex.err;
  const auto exported = RunTool("saldex-export", {"--ini-dir", czech_, "--export"});
  EXPECT_EQ(exported.status, 0) << exported.err << exported.out;
  EXPECT_NE(exported.out.find("převedeno do Saldex 2"), std::string::npos) << exported.out;
}

}  // namespace
}  // namespace store
