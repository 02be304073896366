#include "store/settings.h"

#include <gtest/gtest.h>

#include "dbf/charset_tables.h"
#include "dbf/format_settings.h"
#include "store/integer_text.h"
#include "store/recording_operator.h"
#include "store/temp_dir.h"

namespace store {
namespace {

using testing_support::RecordingOperator;
using testing_support::TempDir;

class SettingsTest : public ::testing::Test {
 protected:
  // Writes Korvana.ini (code page 1250 bytes given as UTF-8) and reads it.
  bool Prepare(const std::string& ini_utf8) {
    dir_.WriteFile("Korvana.ini", dbf::Utf8ToCp1250(ini_utf8));
    return Read();
  }
  bool Read() {
    settings_.ApplyStartUpPresets();
    return settings_.IniPrepare(op_);
  }
  std::string Dir() const { return dir_.path(); }

  TempDir dir_;
  Settings settings_{dir_.path()};
  RecordingOperator op_;
};

TEST_F(SettingsTest, MissingFileShowsOneMessageWithDoubledSeparatorAndKeepsPresets) {
  dbf::Formats().short_date_format = "m/d/yy";
  EXPECT_FALSE(Read());
  ASSERT_EQ(op_.messages.size(), 1u);
  EXPECT_EQ(op_.messages[0].text, "Konfigurační soubor " + Dir() + "/Korvana.ini nenalezen !");
  EXPECT_EQ(op_.messages[0].caption, "Exportni modul pro Saldex 2");
  EXPECT_NE(op_.messages[0].text.find("//Korvana.ini"), std::string::npos);
  EXPECT_EQ(settings_.ProgramDir, Dir());
  EXPECT_EQ(settings_.StoreCode, "0001");
  EXPECT_EQ(settings_.CestaData, "/opt/korvana/data/");
  EXPECT_EQ(settings_.ExportDirectory, "/opt/korvana/export/");
  EXPECT_EQ(settings_.Dan22, 22);
  EXPECT_EQ(settings_.MainX, 10);
  EXPECT_EQ(settings_.MainY, 10);
  EXPECT_EQ(settings_.HlavniTiskarna, 0);
  EXPECT_TRUE(settings_.MatrixPrinter);
  EXPECT_EQ(settings_.VersionText, "2.974");
  EXPECT_EQ(dbf::Formats().short_date_format, "dd.mm.yyyy");
}

TEST_F(SettingsTest, StartUpPresetsHoldThePlaceholderOperatorAndPrintCounts) {
  settings_.ApplyStartUpPresets();
  EXPECT_EQ(settings_.OperatorName.size(), 19u);
  EXPECT_EQ(dbf::Cp1250ToUtf8(settings_.OperatorName), "Operátor neznámý...");
  EXPECT_EQ(settings_.PocetTiskuFaktury, 1);
  EXPECT_EQ(settings_.PocetTiskuObjednavky, 1);
  EXPECT_EQ(settings_.Dan05, 5);
  EXPECT_EQ(settings_.Dan00, 0);
}

TEST_F(SettingsTest, EmptySectionGivesTheDefaults) {
  ASSERT_TRUE(Prepare("[Korvana]\n"));
  EXPECT_TRUE(op_.messages.empty());
  EXPECT_EQ(settings_.StoreCode, "0001");
  EXPECT_EQ(settings_.CestaData, Dir() + "/data/");
  EXPECT_NE(settings_.CestaData.find("//data/"), std::string::npos);
  EXPECT_EQ(settings_.CestaPrivate, Dir() + "/Private/");
  EXPECT_EQ(settings_.ExportDirectory, Dir() + "/Export/");
  EXPECT_EQ(settings_.CestaImport, Dir() + "/Import/");
  EXPECT_EQ(settings_.HlavniTiskarna, 1);
  EXPECT_EQ(settings_.ParagonovaTiskarna, 1);
  EXPECT_FALSE(settings_.LoginForm);
  EXPECT_TRUE(settings_.MatrixPrinter);
  EXPECT_EQ(settings_.ExportPrefix, "");
  EXPECT_EQ(settings_.Dan22, 22);
  EXPECT_EQ(settings_.Dan05, 5);
  EXPECT_EQ(settings_.TypImportu, "AVD");
  EXPECT_EQ(settings_.UctKodInt, "2301");
  EXPECT_EQ(settings_.UctKodExt, "2302");
  EXPECT_EQ(settings_.PricesWithVatMode, 2);
  EXPECT_EQ(settings_.PosunParagonu, 0);
}

TEST_F(SettingsTest, EveryKeyIsReadIntoItsValue) {
  ASSERT_TRUE(Prepare(
      "[Korvana]\nKorvana=0002\nDan22=21\nDan05=15\nDan00=1\nUserRequestType=3\n"
      "MainX=40\nMainY=50\nHlavniTiskarna=2\nParagonovaTiskarna=3\nTypImportu=XYZ\n"
      "PocetTiskuFaktury=2\nPocetTiskuDodaku=3\nPocetTiskuDobropisu=4\nPocetTiskuVydejky=5\n"
      "PocetTiskuPrijemky=6\nPocetTiskuDodavky=7\nPocetTiskuPreceneni=8\n"
      "PocetTiskuInventury=9\nPocetTiskuProformy=10\nPocetTiskuObjednavky=11\n"
      "PosunParagonu=-2\nUctKodInt=311\nUctKodExt=312\nZakladniCenySDPH=Ne\n"
      "CestaData=/srv/data/\nCestaPrivate=/srv/private/\nCestaExport=/srv/saldex/\n"
      "CestaImport=/srv/import/\nLoginForm=1\nMatrixPrinter=0\n"
      "[ExportSaldex]\nSalExpFil=FV\n"));
  EXPECT_EQ(settings_.StoreCode, "0002");
  EXPECT_EQ(settings_.Dan22, 21);
  EXPECT_EQ(settings_.Dan05, 15);
  EXPECT_EQ(settings_.Dan00, 1);
  EXPECT_EQ(settings_.UserRequestType, 3);
  EXPECT_EQ(settings_.MainX, 40);
  EXPECT_EQ(settings_.MainY, 50);
  EXPECT_EQ(settings_.HlavniTiskarna, 2);
  EXPECT_EQ(settings_.ParagonovaTiskarna, 3);
  EXPECT_EQ(settings_.TypImportu, "XYZ");
  EXPECT_EQ(settings_.PocetTiskuFaktury, 2);
  EXPECT_EQ(settings_.PocetTiskuDodaku, 3);
  EXPECT_EQ(settings_.PocetTiskuDobropisu, 4);
  EXPECT_EQ(settings_.PocetTiskuVydejky, 5);
  EXPECT_EQ(settings_.PocetTiskuPrijemky, 6);
  EXPECT_EQ(settings_.PocetTiskuDodavky, 7);
  EXPECT_EQ(settings_.PocetTiskuPreceneni, 8);
  EXPECT_EQ(settings_.PocetTiskuInventury, 9);
  EXPECT_EQ(settings_.PocetTiskuProformy, 10);
  EXPECT_EQ(settings_.PocetTiskuObjednavky, 11);
  EXPECT_EQ(settings_.PosunParagonu, -2);
  EXPECT_EQ(settings_.UctKodInt, "311");
  EXPECT_EQ(settings_.UctKodExt, "312");
  EXPECT_EQ(settings_.PricesWithVatMode, 1);
  EXPECT_EQ(settings_.CestaData, "/srv/data/");
  EXPECT_EQ(settings_.CestaPrivate, "/srv/private/");
  EXPECT_EQ(settings_.ExportDirectory, "/srv/saldex/");
  EXPECT_EQ(settings_.CestaImport, "/srv/import/");
  EXPECT_TRUE(settings_.LoginForm);
  EXPECT_FALSE(settings_.MatrixPrinter);
  EXPECT_EQ(settings_.ExportPrefix, "FV");
}

TEST_F(SettingsTest, ValueWithBlanksAndQuotesIsReadWithoutThem) {
  ASSERT_TRUE(
      Prepare("[Korvana]\n   CestaData   =   \"/srv/korvana data/\"   \n"
              "CestaExport='/srv/saldex/'\n"));
  EXPECT_EQ(settings_.CestaData, "/srv/korvana data/");
  EXPECT_EQ(settings_.ExportDirectory, "/srv/saldex/");
}

TEST_F(SettingsTest, NamesIgnoreCaseAndTheFirstKeyWins) {
  ASSERT_TRUE(Prepare("[KORVANA]\nkorvana=0003\nKORVANA=0004\n[exportsaldex]\nsalexpfil=X\n"));
  EXPECT_EQ(settings_.StoreCode, "0003");
  EXPECT_EQ(settings_.ExportPrefix, "X");
}

TEST_F(SettingsTest, SettingsFileNameIsFoundWithoutRegardToCase) {
  dir_.WriteFile("KORVANA.INI", "[Korvana]\nKorvana=0007\n");
  ASSERT_TRUE(Read());
  EXPECT_EQ(settings_.StoreCode, "0007");
}

TEST_F(SettingsTest, LongValueIsCutTo2047Characters) {
  ASSERT_TRUE(Prepare("[ExportSaldex]\nSalExpFil=" + std::string(3000, 'A') + "\n"));
  EXPECT_EQ(settings_.ExportPrefix, std::string(2047, 'A'));
}

TEST_F(SettingsTest, ExportDirectoryAndImportDirectoryKeepTheSecondRead) {
  ASSERT_TRUE(Prepare("[Korvana]\nCestaImport=/in/\n"));
  EXPECT_EQ(settings_.CestaImport, "/in/");
  EXPECT_EQ(settings_.ExportDirectory, Dir() + "/Export/");
}

TEST_F(SettingsTest, KeysInAnotherSectionAreNotRead) {
  ASSERT_TRUE(Prepare("[Jine]\nKorvana=0009\nSalExpFil=FV\n[Korvana]\n"));
  EXPECT_EQ(settings_.StoreCode, "0001");
  EXPECT_EQ(settings_.ExportPrefix, "");
}

TEST_F(SettingsTest, CzechTextStaysCodePage1250) {
  ASSERT_TRUE(Prepare("[Korvana]\nCestaData=/data/Účetnictví/\n"));
  EXPECT_EQ(settings_.CestaData, dbf::Utf8ToCp1250("/data/Účetnictví/"));
}

struct PricesModeCase {
  const char* name;
  const char* line;
  int mode;
};

class PricesModeTest : public SettingsTest, public ::testing::WithParamInterface<PricesModeCase> {};

TEST_P(PricesModeTest, ModeIsTwoOnlyForAno) {
  ASSERT_TRUE(Prepare(std::string("[Korvana]\n") + GetParam().line + "\n"));
  EXPECT_EQ(settings_.PricesWithVatMode, GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PricesModeTest,
    ::testing::Values(PricesModeCase{"LowerCaseAno", "ZakladniCenySDPH=ano", 2},
                      PricesModeCase{"UpperCaseAno", "ZakladniCenySDPH=ANO", 2},
                      PricesModeCase{"AnoWithBlanks", "ZakladniCenySDPH =  Ano ", 2},
                      PricesModeCase{"Ne", "ZakladniCenySDPH=Ne", 1},
                      PricesModeCase{"Empty", "ZakladniCenySDPH=", 1},
                      PricesModeCase{"AnoWithSuffix", "ZakladniCenySDPH=Ano!", 1},
                      PricesModeCase{"Absent", "", 2}),
    [](const auto& info) { return std::string(info.param.name); });

struct BooleanCase {
  const char* name;
  const char* lines;
  bool login_form;
  bool matrix_printer;
};

class BooleanKeyTest : public SettingsTest, public ::testing::WithParamInterface<BooleanCase> {};

TEST_P(BooleanKeyTest, WholeNumbersDecideAndAnythingElseGivesTheDefault) {
  ASSERT_TRUE(Prepare(std::string("[Korvana]\n") + GetParam().lines));
  EXPECT_EQ(settings_.LoginForm, GetParam().login_form);
  EXPECT_EQ(settings_.MatrixPrinter, GetParam().matrix_printer);
}

INSTANTIATE_TEST_SUITE_P(
    Values, BooleanKeyTest,
    ::testing::Values(BooleanCase{"Two", "LoginForm=2\nMatrixPrinter=2\n", true, true},
                      BooleanCase{"Zero", "LoginForm=0\nMatrixPrinter=0\n", false, false},
                      BooleanCase{"Negative", "LoginForm=-1\n", true, true},
                      BooleanCase{"Letter", "LoginForm=a\nMatrixPrinter=x\n", false, true},
                      BooleanCase{"Empty", "LoginForm=\nMatrixPrinter=\n", false, true},
                      BooleanCase{"Fraction", "LoginForm=1.5\nMatrixPrinter=0.0\n", false, true},
                      BooleanCase{"Quoted", "LoginForm=\"1\"\nMatrixPrinter='0'\n", true, false},
                      BooleanCase{"Absent", "", false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, LettersInAnIntegerKeyStopTheReadingThere) {
  settings_.ApplyStartUpPresets();
  dir_.WriteFile("Korvana.ini",
                 "[Korvana]\nKorvana=0002\nDan22=abc\nDan05=7\nMainX=99\nHlavniTiskarna=4\n"
                 "CestaData=/srv/data/\n[ExportSaldex]\nSalExpFil=FV\n");
  try {
    settings_.IniPrepare(op_);
    FAIL() << "no conversion error";
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "'abc' is not a valid integer value");
  }
  EXPECT_TRUE(op_.messages.empty());
  EXPECT_EQ(settings_.StoreCode, "0002");
  EXPECT_EQ(settings_.Dan22, 22);
  EXPECT_EQ(settings_.Dan05, 5);
  EXPECT_EQ(settings_.MainX, 10);
  EXPECT_EQ(settings_.HlavniTiskarna, 0);
  EXPECT_EQ(settings_.CestaData, "/opt/korvana/data/");
  EXPECT_EQ(settings_.ExportPrefix, "");
}

TEST_F(SettingsTest, AnEmptyIntegerValueIsAConversionError) {
  dir_.WriteFile("Korvana.ini", "[Korvana]\nMainY=\n");
  settings_.ApplyStartUpPresets();
  EXPECT_THROW(settings_.IniPrepare(op_), ConversionError);
  EXPECT_EQ(settings_.MainX, 10);
}

TEST_F(SettingsTest, AnIntegerBeyond32BitsIsAConversionError) {
  dir_.WriteFile("Korvana.ini", "[Korvana]\nHlavniTiskarna=4294967297\n");
  settings_.ApplyStartUpPresets();
  EXPECT_THROW(settings_.IniPrepare(op_), ConversionError);
}

TEST_F(SettingsTest, PrinterWriteChangesOnlyTheTwoPrinterLines) {
  const std::string before =
      "; Korvana - nastavení pokladny\r\n"
      "[Korvana]\r\n"
      "Korvana=0002\r\n"
      "  hlavnitiskarna = 1   \r\n"
      "; tiskárna účtenek\r\n"
      "ParagonovaTiskarna=\"1\"\r\n"
      "CestaData=\"/srv/data/\"\r\n"
      "\r\n"
      "[ExportSaldex]\r\n"
      "SalExpFil=FV\r\n"
      "HlavniTiskarna=9";
  dir_.WriteFile("Korvana.ini", dbf::Utf8ToCp1250(before));
  ASSERT_TRUE(Read());
  settings_.HlavniTiskarna = 3;
  settings_.ParagonovaTiskarna = 12;
  settings_.ZapisNastaveniTiskaren();
  const std::string after =
      "; Korvana - nastavení pokladny\r\n"
      "[Korvana]\r\n"
      "Korvana=0002\r\n"
      "HlavniTiskarna=3\r\n"
      "; tiskárna účtenek\r\n"
      "ParagonovaTiskarna=12\r\n"
      "CestaData=\"/srv/data/\"\r\n"
      "\r\n"
      "[ExportSaldex]\r\n"
      "SalExpFil=FV\r\n"
      "HlavniTiskarna=9";
  EXPECT_EQ(dir_.ReadFile("Korvana.ini"), dbf::Utf8ToCp1250(after));
}

TEST_F(SettingsTest, PrinterWriteAddsMissingKeysToTheSection) {
  dir_.WriteFile("Korvana.ini", "[Korvana]\nKorvana=0002\n\n[ExportSaldex]\nSalExpFil=FV\n");
  settings_.ProgramDir = Dir();
  settings_.HlavniTiskarna = 2;
  settings_.ParagonovaTiskarna = 0;
  settings_.ZapisNastaveniTiskaren();
  EXPECT_EQ(dir_.ReadFile("Korvana.ini"),
            "[Korvana]\nKorvana=0002\nHlavniTiskarna=2\nParagonovaTiskarna=0\n\n"
            "[ExportSaldex]\nSalExpFil=FV\n");
}

TEST_F(SettingsTest, PrinterWriteCreatesAMissingFile) {
  settings_.ProgramDir = Dir();
  settings_.HlavniTiskarna = 2;
  settings_.ParagonovaTiskarna = 1;
  settings_.ZapisNastaveniTiskaren();
  EXPECT_EQ(dir_.ReadFile("Korvana.ini"), "[Korvana]\nHlavniTiskarna=2\nParagonovaTiskarna=1\n");
}

TEST_F(SettingsTest, PrinterWriteGoesToTheFileFoundWithoutRegardToCase) {
  dir_.WriteFile("korvana.ini", "[Korvana]\nHlavniTiskarna=1\n");
  settings_.ProgramDir = Dir();
  settings_.HlavniTiskarna = 5;
  settings_.ParagonovaTiskarna = 1;
  settings_.ZapisNastaveniTiskaren();
  EXPECT_EQ(dir_.ReadFile("korvana.ini"), "[Korvana]\nHlavniTiskarna=5\nParagonovaTiskarna=1\n");
  EXPECT_FALSE(dir_.Exists("Korvana.ini"));
}

}  // namespace
}  // namespace store
