#include "store/printer_settings.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "dbf/process_test_support.h"
#include "store/ansi_text.h"
#include "store/file_in_place.h"
#include "store/recording_operator.h"
#include "store/temp_dir.h"

namespace store {
namespace {

using testing_support::RecordingOperator;
using testing_support::TempDir;

constexpr uid_t kNobody = 65534;

// Comments, CRLF line ends, blanks, quotes, another section and a key that
// only resembles a printer key: all of it must survive byte for byte.
const std::string kSettings =
    "; Korvana - nastaveni pokladny\r\n"
    "[Korvana]\r\n"
    "Korvana=0001\r\n"
    "  HlavniTiskarna = 3   \r\n"
    "HlavniTiskarnaStara=7\r\n"
    "CestaData=\"/srv/korvana/data/\"\r\n"
    "; tiskarna paragonu\r\n"
    "ParagonovaTiskarna=1\r\n"
    "\r\n"
    "[ExportSaldex]\r\n"
    "SalExpFil=25\r\n"
    "HlavniTiskarna=9\r\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

// Drops the privileges of root in a child, so that permissions count.
void BecomeNobody() {
  if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
    ::_exit(200);
  }
}

class PrinterSettingsTest : public ::testing::Test {
 protected:
  std::string Path() const { return dir_.path() + "Korvana.ini"; }
  struct stat Stat() const {
    struct stat info {};
    EXPECT_EQ(::stat(Path().c_str(), &info), 0);
    return info;
  }
  // Runs `write` with permissions counting: in a child without root's
  // privileges when running as root, else here. 0 written, 2 FileWriteError.
  int WriteWithoutPrivileges(const std::function<void()>& write) {
    auto body = [&] {
      try {
        write();
        return 0;
      } catch (const FileWriteError&) {
        return 2;
      }
    };
    if (::geteuid() != 0) return body();
    return dbf::testing::RunInChild([&] {
      BecomeNobody();
      return body();
    });
  }

  TempDir dir_;
};

TEST(PrinterSelection, AnIndexWithoutAPrinterSelectsNothing) {
  EXPECT_EQ(PrinterSelection(1, 1), -1);
  EXPECT_EQ(PrinterSelection(0, 1), 0);
  EXPECT_EQ(PrinterSelection(2, 3), 2);
  EXPECT_EQ(PrinterSelection(-1, 3), -1);
  EXPECT_EQ(PrinterSelection(0, 0), -1);
}

TEST(FixedPrinterList, GivesItsNamesInOrder) {
  const FixedPrinterList list({"Laser", "Jehličková"});
  EXPECT_EQ(list.Names(), (std::vector<std::string>{"Laser", "Jehličková"}));
}

TEST_F(PrinterSettingsTest, OnlyTheTwoPrinterLinesChange) {
  dir_.WriteFile("Korvana.ini", kSettings);
  WritePrinterKeys(Path(), -1, 1);
  std::string expected =
      Replaced(kSettings, "  HlavniTiskarna = 3   \r\n", "HlavniTiskarna=-1\r\n");
  EXPECT_EQ(dir_.ReadFile("Korvana.ini"), expected);
}

TEST_F(PrinterSettingsTest, MissingKeysAreAddedToTheSectionAndAMissingFileIsCreated) {
  dir_.WriteFile("Korvana.ini", "[Korvana]\nKorvana=0002\n\n[ExportSaldex]\nSalExpFil=\n");
  WritePrinterKeys(Path(), 0, 2);
  EXPECT_EQ(dir_.ReadFile("Korvana.ini"),
            "[Korvana]\nKorvana=0002\nHlavniTiskarna=0\nParagonovaTiskarna=2\n\n"
            "[ExportSaldex]\nSalExpFil=\n");
  std::filesystem::remove(Path());
  WritePrinterKeys(Path(), 1, 1);
  EXPECT_EQ(dir_.ReadFile("Korvana.ini"), "[Korvana]\nHlavniTiskarna=1\nParagonovaTiskarna=1\n");
}

TEST_F(PrinterSettingsTest, ADifferentlyCasedFileIsTheOneWritten) {
  dir_.WriteFile("KORVANA.INI", "[korvana]\nhlavnitiskarna=4\n");
  WritePrinterKeys(Path(), 2, 1);
  EXPECT_FALSE(dir_.Exists("Korvana.ini"));
  EXPECT_EQ(dir_.ReadFile("KORVANA.INI"), "[korvana]\nHlavniTiskarna=2\nParagonovaTiskarna=1\n");
}

TEST_F(PrinterSettingsTest, AReadOnlyProgramFolderWithAWritableFileIsNoObstacle) {
  dir_.WriteFile("Korvana.ini", kSettings);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(Path().c_str(), kNobody, kNobody), 0);
  }
  ASSERT_EQ(::chmod(Path().c_str(), 0644), 0);
  ASSERT_EQ(::chmod(dir_.path().c_str(), 0555), 0);
  const struct stat before = Stat();

  const int result = WriteWithoutPrivileges([&] { WritePrinterKeys(Path(), 0, 1); });
  ASSERT_EQ(::chmod(dir_.path().c_str(), 0755), 0);

  EXPECT_EQ(result, 0);
  EXPECT_EQ(dir_.ReadFile("Korvana.ini"),
            Replaced(kSettings, "  HlavniTiskarna = 3   \r\n", "HlavniTiskarna=0\r\n"));
  const struct stat after = Stat();
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(PrinterSettingsTest, OwnerGroupAndPermissionsStay) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "changing the owner needs root";
  }
  dir_.WriteFile("Korvana.ini", kSettings);
  ASSERT_EQ(::chown(Path().c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(::chmod(Path().c_str(), 0640), 0);
  WritePrinterKeys(Path(), 2, 1);
  const struct stat after = Stat();
  EXPECT_EQ(after.st_uid, kNobody);
  EXPECT_EQ(after.st_gid, kNobody);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
}

TEST_F(PrinterSettingsTest, AFileThatCannotBeWrittenKeepsFileAndMemory) {
  dir_.WriteFile("Korvana.ini", kSettings);
  ASSERT_EQ(::chmod(Path().c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir_.path().c_str(), 0555), 0);
  const int result = WriteWithoutPrivileges([&] { WritePrinterKeys(Path(), 0, 1); });
  ASSERT_EQ(::chmod(dir_.path().c_str(), 0755), 0);
  EXPECT_EQ(result, 2);
  EXPECT_EQ(dir_.ReadFile("Korvana.ini"), kSettings);
}

TEST_F(PrinterSettingsTest, SaveMainPrinterShowsACzechMessageAndKeepsTheOldIndex) {
  std::filesystem::create_directory(Path());  // not a file: nobody can write it
  Settings settings(dir_.path());
  settings.ProgramDir = dir_.path();
  settings.HlavniTiskarna = 1;
  settings.ParagonovaTiskarna = 1;
  RecordingOperator op;
  EXPECT_FALSE(SaveMainPrinter(settings, -1, op));
  EXPECT_EQ(settings.HlavniTiskarna, 1);
  ASSERT_EQ(op.messages.size(), 1u);
  EXPECT_EQ(op.messages[0].text, "Nastavení tiskáren nelze zapsat do souboru " +
                                     settings.SettingsFilePath() + " (je to složka).");
}

TEST_F(PrinterSettingsTest, SaveMainPrinterChangesMemoryAndFileTogether) {
  dir_.WriteFile("Korvana.ini", kSettings);
  Settings settings(dir_.path());
  settings.ProgramDir = dir_.path();
  settings.HlavniTiskarna = 3;
  settings.ParagonovaTiskarna = 1;
  RecordingOperator op;
  EXPECT_TRUE(SaveMainPrinter(settings, -1, op));
  EXPECT_EQ(settings.HlavniTiskarna, -1);
  EXPECT_TRUE(op.messages.empty());
  EXPECT_EQ(dir_.ReadFile("Korvana.ini"),
            Replaced(kSettings, "  HlavniTiskarna = 3   \r\n", "HlavniTiskarna=-1\r\n"));
}

TEST(FileErrorReason, NamesCommonCausesInCzech) {
  EXPECT_EQ(FileErrorReason(EACCES), Ansi("přístup odepřen"));
  EXPECT_EQ(FileErrorReason(EROFS), Ansi("disk je jen pro čtení"));
  EXPECT_EQ(FileErrorReason(ENOSPC), Ansi("na disku není místo"));
}

}  // namespace
}  // namespace store
