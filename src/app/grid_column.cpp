#include "app/grid_column.h"

#include <initializer_list>
#include <utility>

#include "controls/qt_text.h"
#include "dbf/ascii_text.h"
#include "store/store_tables.h"

namespace app {
namespace {

using Widths = std::initializer_list<std::pair<const char*, int>>;

}  // namespace

std::vector<GridColumn> CatalogueColumns(
    std::string_view component, std::initializer_list<std::pair<const char*, int>> fields) {
  const std::vector<store::DeclaredField>& catalogue = store::DeclaredFieldsOf(component);
  std::vector<GridColumn> columns;
  for (const auto& [name, width] : fields) {
    GridColumn column{name, QString::fromLatin1(name), width, {}};
    for (const store::DeclaredField& field : catalogue) {
      if (field.name != name) continue;
      if (!field.label.empty()) column.title = controls::FromAnsi(field.label);
      column.display_format = controls::FromAnsi(field.display_format);
    }
    columns.push_back(std::move(column));
  }
  return columns;
}

QString CatalogueDisplayFormat(std::string_view component, std::string_view field) {
  for (const store::DeclaredField& declared : store::DeclaredFieldsOf(component)) {
    if (dbf::EqualsIgnoringCase(declared.name, field)) {
      return controls::FromAnsi(declared.display_format);
    }
  }
  return QString();
}

std::vector<GridColumn> InvoiceGridColumns() {
  static constexpr Widths kColumns = {
      {"HLA_DAT", -1}, {"HLA_DO1", -1}, {"HLA_DO2", -1}, {"HLA_DO3", -1}, {"HLA_NAC", 200},
      {"HLA_CUH", -1}, {"HLA_REF", -1}, {"HLA_DZP", -1}, {"HLA_DVS", -1}, {"HLA_DSP", -1},
      {"HLA_ODB", 64}, {"HLA_ODP", 64}, {"HLA_FHV", -1}, {"HLA_DO4", -1}, {"HLA_PCA", 64},
      {"HLA_NCA", -1}, {"HLA_FUH", 64}, {"HLA_SBD", -1}, {"HLA_FDO", 64}, {"HLA_Z00", -1},
      {"HLA_Z05", -1}, {"HLA_Z22", -1}, {"HLA_D05", -1}, {"HLA_D22", -1}, {"HLA_PLA", 64},
      {"HLA_EDT", 64}, {"HLA_PRN", 64}, {"HLA_SLE", -1}, {"HLA_CEN", 64}, {"HLA_TSK", 64},
      {"HLA_OBC", 64}, {"HLA_PRV", -1}, {"HLA_DO5", -1}, {"HLA_BDP", -1}, {"HLA_BPL", -1},
  };
  return CatalogueColumns("Faktury", kColumns);
}

std::vector<GridColumn> ReceivableGridColumns() {
  struct Titled {
    const char* field;
    const char* title;  // UTF-8
    int width;
  };
  static constexpr Titled kTitled[] = {
      {"CISLO", "Číslo", 46},          {"TYPDOKLADU", "Typ", 26},
      {"CISDOKLADU", "Doklad", 71},    {"VARIABILNI", "Variabilní", 77},
      {"DATUMVYSTA", "Vystaveno", -1}, {"DATUMSPLAT", "Splatno", -1},
      {"DATUMPLNEN", "Datum DZP", -1}, {"ZPUS_UCTOV", "Souvst.", -1},
  };
  static constexpr const char* kPlain[] = {
      "POZNAMKA",   "POZNAMKA1", "ICO",        "DIC",      "CASTKA",    "PLATBA",
      "NEUHRAZENO", "ZALOHA",    "ZAKLAD_N",   "ZAKLAD_0", "ZAKLAD_0Z", "ZAKLAD_0S",
      "ZAKLAD_0M",  "ZAKLAD_S",  "ZAKLAD_Z",   "DPH_S",    "DPH_Z",     "SPOTR_DAN",
      "PROVOZ",     "CINNOST",   "PROSTREDEK", "ZAKAZKA",  "OPRAVA",    "MENA",
      "MNOZSTVI",   "KURS",      "DEVHODNOTA", "UCTOVANO", "VYBER",     "PECET",
  };
  std::vector<GridColumn> columns;
  for (const Titled& t : kTitled) {
    columns.push_back({t.field, QString::fromUtf8(t.title), t.width, {}});
  }
  for (const char* name : kPlain) columns.push_back({name, QString::fromLatin1(name), -1, {}});
  return columns;
}

std::vector<GridColumn> AddressGridColumns() {
  static constexpr Widths kColumns = {
      {"NAZEV", 135},     {"NAZEV1", 82},     {"NAZEV2", 80},     {"ULICE", -1},
      {"MESTO", -1},      {"OSLOVENI", -1},   {"TITUL", -1},      {"JMENO", -1},
      {"PRIJMENI", -1},   {"TITUL1", -1},     {"MESTO1", -1},     {"PSC", -1},
      {"ZAHR_PSC", -1},   {"STAT", -1},       {"TELEFON", -1},    {"MOBIL", -1},
      {"FAX", -1},        {"E_MAIL", -1},     {"WWW", -1},        {"RODNECISLO", -1},
      {"ICO", -1},        {"DIC", -1},        {"PROVOZOVNA", -1}, {"FYZICKA", -1},
      {"PLATCE_DPH", -1}, {"POBOCKAPUS", -1}, {"CISLOUCTU", -1},  {"NAZEVPENUS", -1},
      {"KODBANKY", -1},   {"KONSTANTNI", -1}, {"VARIABILNI", -1}, {"SPECIFICKY", -1},
      {"POZNAMKA", -1},   {"ZKRATKA", -1},    {"SKUPINA", -1},    {"KOMPLETACE", -1},
      {"NEPLATIC", -1},   {"KONFLIKTNI", -1}, {"OBCH_VZTAH", -1}, {"PENALE", -1},
      {"MARZERABAT", -1}, {"LIMIT", -1},      {"NAKUPY", -1},     {"PRODEJE", -1},
      {"SPLATNOST", -1},  {"VZDALENOST", -1}, {"KOD_CENY", -1},   {"OBDOBISLEV", -1},
      {"CASTKA1", -1},    {"CASTKA2", -1},    {"CASTKA3", -1},    {"CASTKA4", -1},
      {"CASTKA5", -1},    {"BYT", -1},        {"DUM", -1},        {"MISTOODBER", -1},
      {"ZPUSOBDOPR", -1}, {"MISTODODAN", -1}, {"TYPUDOKLAD", -1}, {"CISUDOKLAD", -1},
      {"DATUMUVYST", -1}, {"VARUDOKLAD", -1}, {"VYBER", -1},      {"PECET", -1},
  };
  std::vector<GridColumn> columns;
  for (const auto& [name, width] : kColumns) {
    columns.push_back({name, QString::fromLatin1(name), width, {}});
  }
  return columns;
}

}  // namespace app
