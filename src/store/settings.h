#ifndef SALDEX_STORE_SETTINGS_H_
#define SALDEX_STORE_SETTINGS_H_

#include <cstdint>
#include <string>

#include "store/operator.h"

namespace store {

// The settings the store data module holds for the whole run, read from
// "Korvana.ini" beside the executable. Texts are code page 1250. Values the
// start-up does not preset start as zero, empty or false.
class Settings {
 public:
  static constexpr const char* kFileName = "Korvana.ini";
  static constexpr const char* kVersionText = "2.974";
  static constexpr const char* kLoggedOutOperator = "Operátor neznámý...";  // UTF-8

  // `executable_dir` (ending with '/') stands for the directory of the
  // running executable; empty means the real one.
  explicit Settings(std::string executable_dir = {});

  // The presets of the data module's creation: VAT rates, print counts,
  // the operator-name placeholder, MatrixPrinter.
  void ApplyStartUpPresets();

  // Presets ProgramDir, the directories, StoreCode and the other values
  // read below, sets the short date format "dd.mm.yyyy", and reads the
  // settings file. Missing file: shows "Konfigurační soubor " + ProgramDir +
  // "/Korvana.ini nenalezen !" and returns false with every preset kept.
  // An "int" key that is not a whole number throws ConversionError there;
  // the keys before it are set, the keys after it keep their presets.
  bool IniPrepare(Operator& op);

  // Writes "HlavniTiskarna" and "ParagonovaTiskarna" of section "Korvana"
  // into ProgramDir + "/Korvana.ini" in place; every other byte of the file,
  // its owner and its permissions stay. Throws FileWriteError (Czech text).
  void ZapisNastaveniTiskaren() const;

  // Path of the settings file as composed: ProgramDir + "/Korvana.ini".
  std::string SettingsFilePath() const;

  std::string ProgramDir;
  std::string CestaData;
  std::string CestaPrivate;
  std::string ExportDirectory;  // key "CestaExport"
  std::string CestaImport;
  std::string StoreCode;
  int32_t Dan22 = 0;
  int32_t Dan05 = 0;
  int32_t Dan00 = 0;
  int32_t UserRequestType = 0;
  int32_t MainX = 0;
  int32_t MainY = 0;
  int32_t HlavniTiskarna = 0;
  int32_t ParagonovaTiskarna = 0;
  std::string TypImportu;
  int32_t PocetTiskuFaktury = 0;
  int32_t PocetTiskuDodaku = 0;
  int32_t PocetTiskuDobropisu = 0;
  int32_t PocetTiskuVydejky = 0;
  int32_t PocetTiskuPrijemky = 0;
  int32_t PocetTiskuDodavky = 0;
  int32_t PocetTiskuPreceneni = 0;
  int32_t PocetTiskuInventury = 0;
  int32_t PocetTiskuProformy = 0;
  int32_t PocetTiskuObjednavky = 0;
  int32_t PosunParagonu = 0;
  std::string UctKodInt;
  std::string UctKodExt;
  int32_t PricesWithVatMode = 0;  // key "ZakladniCenySDPH": 2 for "ANO", else 1
  bool LoginForm = false;
  bool MatrixPrinter = false;
  std::string ExportPrefix;  // key "SalExpFil" of section "ExportSaldex"
  // Key "CestaXls" of section "ExportSaldex": directory of the overview's
  // workbook; empty means the user's documents folder.
  std::string CestaXls;
  std::string VersionText;

  // Identity of the signed-in user.
  std::string OperatorName;
  std::string OperatorInitials;
  std::string OperatorPhone;
  std::string OperatorEmail;
  std::string UserCode;
  std::string UserGroup;

 private:
  std::string executable_dir_;
};

}  // namespace store

#endif  // SALDEX_STORE_SETTINGS_H_
