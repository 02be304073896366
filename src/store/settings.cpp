#include "store/settings.h"

#include "dbf/ansi_case.h"
#include "dbf/file_names.h"
#include "dbf/format_settings.h"
#include "store/ansi_text.h"
#include "store/integer_text.h"
#include "store/printer_settings.h"
#include "store/profile_file.h"
#include "store/program_dir.h"

namespace store {
namespace {

constexpr const char* kKorvanaSection = "Korvana";
constexpr const char* kExportSection = "ExportSaldex";

// Used only when no settings file says otherwise.
constexpr const char* kBuiltInDataDir = "/opt/korvana/data/";
constexpr const char* kBuiltInPrivateDir = "/opt/korvana/private/";
constexpr const char* kBuiltInExportDir = "/opt/korvana/export/";
constexpr const char* kBuiltInImportDir = "/opt/korvana/import/";

// Reads keys of one section with the conversions of the settings file.
class SectionReader {
 public:
  SectionReader(const ProfileFile& file, const char* section) : file_(file), section_(section) {}

  std::string String(const char* key, std::string_view default_value) const {
    return file_.ReadString(section_, key, default_value);
  }
  // The text (or the default text) as a whole number; ConversionError otherwise.
  int32_t Integer(const char* key, std::string_view default_value) const {
    return StrToInt(String(key, default_value));
  }
  // 0 is false, any other number true; a missing or non-numeric value gives the default.
  bool Boolean(const char* key, bool default_value) const {
    const auto number = ParseInteger(String(key, ""));
    return number ? *number != 0 : default_value;
  }

 private:
  const ProfileFile& file_;
  const char* section_;
};

}  // namespace

Settings::Settings(std::string executable_dir) : executable_dir_(std::move(executable_dir)) {}

void Settings::ApplyStartUpPresets() {
  Dan22 = 22;
  Dan05 = 5;
  Dan00 = 0;
  UserRequestType = 0;
  OperatorName = Ansi(kLoggedOutOperator);
  PocetTiskuFaktury = PocetTiskuDodaku = PocetTiskuDobropisu = PocetTiskuVydejky = 1;
  PocetTiskuPrijemky = PocetTiskuDodavky = PocetTiskuPreceneni = PocetTiskuInventury = 1;
  PocetTiskuProformy = PocetTiskuObjednavky = 1;
  MatrixPrinter = true;
}

std::string Settings::SettingsFilePath() const {
  return ProgramDir + "/" + kFileName;
}

bool Settings::IniPrepare(Operator& op) {
  VersionText = kVersionText;
  dbf::Formats().short_date_format = "dd.mm.yyyy";
  CestaData = kBuiltInDataDir;
  CestaPrivate = kBuiltInPrivateDir;
  ExportDirectory = kBuiltInExportDir;
  CestaImport = kBuiltInImportDir;
  ProgramDir = executable_dir_.empty() ? ExecutableDirectory() : executable_dir_;
  StoreCode = "0001";
  MainX = 10;
  MainY = 10;
  PosunParagonu = 0;

  const std::string path = SettingsFilePath();
  const auto found = dbf::FindFileIgnoringCase(path);
  if (!found) {
    op.ShowMessage(Ansi("Konfigurační soubor ") + path + " nenalezen !", kApplicationTitle);
    return false;
  }
  const ProfileFile file = ProfileFile::Load(*found);
  const SectionReader korvana(file, kKorvanaSection);
  StoreCode = korvana.String("Korvana", "0001");
  Dan22 = korvana.Integer("Dan22", "22");
  Dan05 = korvana.Integer("Dan05", "5");
  Dan00 = korvana.Integer("Dan00", "0");
  UserRequestType = korvana.Integer("UserRequestType", "0");
  ExportDirectory = korvana.String("CestaExport", kBuiltInExportDir);
  CestaImport = korvana.String("CestaImport", kBuiltInImportDir);
  MainX = korvana.Integer("MainX", "10");
  MainY = korvana.Integer("MainY", "10");
  HlavniTiskarna = korvana.Integer("HlavniTiskarna", "1");
  ParagonovaTiskarna = korvana.Integer("ParagonovaTiskarna", "1");
  TypImportu = korvana.String("TypImportu", "AVD");
  PocetTiskuFaktury = korvana.Integer("PocetTiskuFaktury", "1");
  PocetTiskuDodaku = korvana.Integer("PocetTiskuDodaku", "1");
  PocetTiskuDobropisu = korvana.Integer("PocetTiskuDobropisu", "1");
  PocetTiskuVydejky = korvana.Integer("PocetTiskuVydejky", "1");
  PocetTiskuPrijemky = korvana.Integer("PocetTiskuPrijemky", "1");
  PocetTiskuDodavky = korvana.Integer("PocetTiskuDodavky", "1");
  PocetTiskuPreceneni = korvana.Integer("PocetTiskuPreceneni", "1");
  PocetTiskuInventury = korvana.Integer("PocetTiskuInventury", "1");
  PocetTiskuProformy = korvana.Integer("PocetTiskuProformy", "1");
  PocetTiskuObjednavky = korvana.Integer("PocetTiskuObjednavky", "1");
  PosunParagonu = korvana.Integer("PosunParagonu", "0");
  UctKodInt = korvana.String("UctKodInt", "2301");
  UctKodExt = korvana.String("UctKodExt", "2302");
  PricesWithVatMode =
      dbf::AnsiUpperCase(korvana.String("ZakladniCenySDPH", "Ano")) == "ANO" ? 2 : 1;
  CestaData = korvana.String("CestaData", ProgramDir + "/data/");
  CestaPrivate = korvana.String("CestaPrivate", ProgramDir + "/Private/");
  ExportDirectory = korvana.String("CestaExport", ProgramDir + "/Export/");
  CestaImport = korvana.String("CestaImport", ProgramDir + "/Import/");
  LoginForm = korvana.Boolean("LoginForm", false);
  MatrixPrinter = korvana.Boolean("MatrixPrinter", true);
  const SectionReader export_saldex(file, kExportSection);
  ExportPrefix = export_saldex.String("SalExpFil", "");
  CestaXls = export_saldex.String("CestaXls", "");
  return true;
}

void Settings::ZapisNastaveniTiskaren() const {
  WritePrinterKeys(SettingsFilePath(), HlavniTiskarna, ParagonovaTiskarna);
}

}  // namespace store
