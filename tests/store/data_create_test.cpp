#include <gtest/gtest.h>

#include <filesystem>

#include "dbf/clock.h"
#include "store/demo_store.h"
#include "store/integer_text.h"

namespace store {
namespace {

using testing_support::DemoStoreTest;

// The demo journal's last entry is dated 30.12.2025.
const dbf::LocalTime kAfterJournal{2026, 1, 5, 9, 0, 0, 0};
const dbf::LocalTime kDayBeforeJournal{2025, 12, 29, 9, 0, 0, 0};

class DataCreateTest : public DemoStoreTest {
 protected:
  void SetUp() override {
    dbf::SetClockForTesting(kAfterJournal);
    MakeStore("ABCDEFGHIJ");
  }
  void TearDown() override { dbf::SetClockForTesting(std::nullopt); }

  // Replaces `from` by `to` in Korvana.ini.
  void EditSettings(const std::string& from, const std::string& to) {
    std::string ini;
    {
      std::ifstream in(layout_.settings_file, std::ios::binary);
      ini.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_NE(ini.find(from), std::string::npos);
    ini.replace(ini.find(from), from.size(), to);
    std::ofstream(layout_.settings_file, std::ios::binary | std::ios::trunc) << ini;
  }
  // Answers the login dialog with a name and a password (UTF-8).
  void Type(const std::string& name, const std::string& password) {
    op_.QueueLogin(LoginEntry{dbf::Utf8ToCp1250(name), dbf::Utf8ToCp1250(password)});
  }
  std::string Utf8(const std::string& ansi) { return dbf::Cp1250ToUtf8(ansi); }
};

TEST_F(DataCreateTest, ThirteenCharacterUserNameSignsInByItsFirstTenInUpperCase) {
  TData& data = FreshModule("abcdefghijklm");
  data.DataCreate();

  EXPECT_EQ(op_.login_dialogs, 0);
  EXPECT_TRUE(op_.messages.empty());
  EXPECT_FALSE(data.terminate_requested());
  EXPECT_EQ(data.settings.UserCode, "005");
  EXPECT_EQ(Utf8(data.settings.OperatorName), "Předváděcí účet");
  EXPECT_EQ(data.settings.OperatorInitials, "DE");
  EXPECT_EQ(data.settings.UserGroup, "ADM");
  EXPECT_FALSE(data.Uzivatele().active());
  EXPECT_FALSE(data.Denik().active());
  EXPECT_EQ(data.rebuild_count(), 0);
}

TEST_F(DataCreateTest, AutomaticSignInUpperCasesLettersWithDiacritics) {
  TData& data = FreshModule("šťastný");
  data.DataCreate();
  EXPECT_EQ(op_.login_dialogs, 0);
  EXPECT_EQ(data.settings.UserCode, "004");
}

TEST_F(DataCreateTest, UnknownUserSignsInThroughTheDialogAndTheJournalCheckStillRuns) {
  dbf::SetClockForTesting(kDayBeforeJournal);
  Type("novak", "  hESLO1  ");  // blanks around the password do not count
  TData& data = FreshModule("nobody");
  data.DataCreate();

  EXPECT_EQ(op_.login_dialogs, 1);
  EXPECT_EQ(data.settings.UserCode, "002");
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text,
            "Zápis ve skladovém deniků je (30.12.2025) tj. později než je systémové datum");
  EXPECT_TRUE(data.terminate_requested());
  EXPECT_FALSE(data.Denik().active());
  EXPECT_FALSE(data.Uzivatele().active());
}

TEST_F(DataCreateTest, StoredPasswordWithTrailingBlankMatchesTheUpperCaseLetters) {
  Type("svobodova", "KOCKA7");
  TData& data = FreshModule("nobody");
  data.DataCreate();
  EXPECT_EQ(data.settings.UserCode, "003");
  EXPECT_TRUE(op_.messages.empty());
  EXPECT_FALSE(data.terminate_requested());
}

TEST_F(DataCreateTest, WrongPasswordShowsItsMessageAndEndsTheProgram) {
  Type("novak", "heslo2");
  TData& data = FreshModule("nobody");
  data.DataCreate();
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Neplatné heslo !!!");
  EXPECT_TRUE(data.terminate_requested());
  EXPECT_EQ(data.settings.UserCode, "");
  EXPECT_FALSE(data.Uzivatele().active());
}

TEST_F(DataCreateTest, CancelledDialogAndUnknownLoginNameEndTheProgramSilently) {
  {
    TData& data = FreshModule("nobody");
    data.DataCreate();  // no answer queued: the dialog is cancelled
    EXPECT_TRUE(data.terminate_requested());
  }
  Type("nikdo", "x");
  TData& data = FreshModule("nobody");
  data.DataCreate();
  EXPECT_TRUE(data.terminate_requested());
  EXPECT_TRUE(op_.messages.empty());
  EXPECT_EQ(op_.login_dialogs, 2);
}

TEST_F(DataCreateTest, DialogConvertsOnlyAsciiLettersSoALowerCaseDiacriticDoesNotMatch) {
  Type("šťastný", "zeli");
  TData& data = FreshModule("nobody");
  data.DataCreate();
  EXPECT_TRUE(data.terminate_requested());
  EXPECT_EQ(data.settings.UserCode, "");

  Type("ŠŤASTNÝ", "zeli");
  TData& again = FreshModule("nobody");
  again.DataCreate();
  EXPECT_FALSE(again.terminate_requested());
  EXPECT_EQ(again.settings.UserCode, "004");
}

TEST_F(DataCreateTest, LoginFormShowsTheDialogSkipsTheJournalAndKeepsUsersOpen) {
  EditSettings("LoginForm=0", "LoginForm=1");
  dbf::SetClockForTesting(kDayBeforeJournal);
  Type("abcdefghij", "demo");
  TData& data = FreshModule("abcdefghij");
  data.DataCreate();
  EXPECT_EQ(op_.login_dialogs, 1);
  EXPECT_TRUE(op_.messages.empty());
  EXPECT_FALSE(data.terminate_requested());
  EXPECT_EQ(data.settings.UserCode, "005");
  EXPECT_TRUE(data.Uzivatele().active());
}

TEST_F(DataCreateTest, DirectoryWithoutUsersTableStopsWithItsMessage) {
  Remove("Usr0000.dbf");
  TData& data = FreshModule("abcdefghij");
  data.DataCreate();
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Data nejsou dostupná v adresáři " + layout_.data_dir);
  EXPECT_EQ(data.settings.UserCode, "");
  EXPECT_FALSE(data.terminate_requested());
  EXPECT_EQ(op_.login_dialogs, 0);
}

TEST_F(DataCreateTest, MissingJournalStartsTheIndexRebuildAfterTheSignIn) {
  Remove("Den0001.dbf");
  TData& data = FreshModule("abcdefghij");
  data.DataCreate();
  EXPECT_EQ(data.rebuild_count(), 1);
  EXPECT_EQ(data.settings.UserCode, "005");
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Nenalezen soubor " + layout_.data_dir + "/Den0001.dbf");
  EXPECT_FALSE(data.terminate_requested());
}

TEST_F(DataCreateTest, MissingSettingsFileLeavesEveryTableWhereItWas) {
  std::filesystem::remove(layout_.settings_file);
  TData& data = FreshModule("abcdefghij");
  data.DataCreate();
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_FALSE(data.settings_read());
  EXPECT_EQ(data.Faktury().table_name(), "");
  EXPECT_EQ(data.Faktury().database_name(), "");
}

TEST_F(DataCreateTest, ConversionErrorInTheSettingsLeavesDataCreateBeforeAnyTableIsLocated) {
  EditSettings("Korvana=0001", "Korvana=0001\r\nDan22=dvacet");
  TData& data = FreshModule("abcdefghij");
  EXPECT_THROW(data.DataCreate(), ConversionError);
  EXPECT_EQ(data.settings.StoreCode, "0001");
  EXPECT_EQ(data.Faktury().table_name(), "");
  EXPECT_EQ(data.settings.UserCode, "");
  EXPECT_EQ(op_.login_dialogs, 0);
}

TEST_F(DataCreateTest, StoreCode0002NamesPerStoreTablesAndKeepsSharedOnes) {
  EditSettings("Korvana=0001", "Korvana=0002");
  std::filesystem::rename(DataFile("Fak0001.dbf"), DataFile("FAK0002.DBF"));

  TData& data = FreshModule("abcdefghij");
  data.DataCreate();
  // The journal Den0002 is missing, so the rebuild has opened (and named) the tables.
  EXPECT_EQ(data.Faktury().table_name().substr(0, 7), "Fak0002");
  EXPECT_EQ(data.Vlastnik().table_name(), "Vla0000");
  EXPECT_EQ(data.Faktury().ResolvedDirectory(), layout_.data_dir);
  // The upper-case file is found for the mixed-case table name.
  data.Faktury().Open();
  EXPECT_GT(data.Faktury().RecordCount(), 0u);
}

}  // namespace
}  // namespace store
