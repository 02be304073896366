#include <array>
#include <map>
#include <span>

#include "store/ansi_text.h"
#include "store/store_tables.h"

namespace store {
namespace {

using K = DeclaredKind;

// Name, kind, string width, label, display format. Texts are UTF-8 here and
// code page 1250 once built.
struct FieldRow {
  const char* name;
  DeclaredKind kind;
  uint32_t size;
  const char* label;
  const char* display_format;
};

constexpr std::array kFakturyFields{
    FieldRow{"HLA_DAT", K::kDate, 0, "Vystaveno", "dd.mm.yyyy"},
    FieldRow{"HLA_DO1", K::kString, 10, "Faktura", ""},
    FieldRow{"HLA_DO2", K::kString, 10, "Objednávka", ""},
    FieldRow{"HLA_DO3", K::kString, 10, "Proforma", ""},
    FieldRow{"HLA_ODB", K::kString, 7, "ID Odběr.", ""},
    FieldRow{"HLA_ODP", K::kString, 3, "Pob.", ""},
    FieldRow{"HLA_NAC", K::kString, 30, "Název odběratele", ""},
    FieldRow{"HLA_CUH", K::kFloat, 0, "Celkem PC", "#,##0.00"},
    FieldRow{"HLA_FHV", K::kFloat, 0, "Hal.vyr.", "#,##0.00"},
    FieldRow{"HLA_PCA", K::kFloat, 0, "Celk.bez slev", "#,##0.00"},
    FieldRow{"HLA_NCA", K::kFloat, 0, "Celkem NC", "#,##0.00"},
    FieldRow{"HLA_DVS", K::kDate, 0, "Dat.vyst.", "dd.mm.yyyy"},
    FieldRow{"HLA_DZP", K::kDate, 0, "Dat.zd.plň.", "dd.mm.yyyy"},
    FieldRow{"HLA_DSP", K::kDate, 0, "Dat.splat.", "dd.mm.yyyy"},
    FieldRow{"HLA_FUH", K::kString, 1, "For.uhr.", ""},
    FieldRow{"HLA_SBD", K::kFloat, 0, "Fin.slevy", "#,##0.00"},
    FieldRow{"HLA_FDO", K::kString, 1, "For.dop.", ""},
    FieldRow{"HLA_Z00", K::kFloat, 0, "Základ 0%", "#,##0.00"},
    FieldRow{"HLA_Z05", K::kFloat, 0, "Zaklad 5%", "#,##0.00"},
    FieldRow{"HLA_Z22", K::kFloat, 0, "Základ 22%", "#,##0.00"},
    FieldRow{"HLA_D05", K::kFloat, 0, "Daň 5%", "#,##0.00"},
    FieldRow{"HLA_D22", K::kFloat, 0, "Daň 22%", "#,##0.00"},
    FieldRow{"HLA_PLA", K::kBoolean, 0, "Plac.", "Ano;Ne"},
    FieldRow{"HLA_EDT", K::kBoolean, 0, "Edt.", "Ano;Ne"},
    FieldRow{"HLA_PRN", K::kBoolean, 0, "Přen.", "Ano;Ne"},
    FieldRow{"HLA_REF", K::kString, 2, "Ref.", ""},
    FieldRow{"HLA_SLE", K::kFloat, 0, "Sleva", ""},
    FieldRow{"HLA_CEN", K::kString, 1, "Cen.", ""},
    FieldRow{"HLA_TSK", K::kBoolean, 0, "Tisk.", "Ano;Ne"},
    FieldRow{"HLA_OBC", K::kString, 3, "Obch.", ""},
    FieldRow{"HLA_DO4", K::kString, 10, "Zakázka", ""},
    FieldRow{"HLA_PRV", K::kFloat, 0, "Prov. Kč", ""},
    FieldRow{"HLA_DO5", K::kString, 10, "Prov. dok.", ""},
    FieldRow{"HLA_BDP", K::kDate, 0, "Zapl. dne", "dd.mm.yyyy"},
    FieldRow{"HLA_BPL", K::kFloat, 0, "Zapl. Kč", "#,##0.00"},
};

constexpr std::array kOdberateleFields{
    FieldRow{"EXT_KOD", K::kString, 7, "ID Odb.", ""},
    FieldRow{"EXT_CIS", K::kSmallInt, 0, "Čis.", ""},
    FieldRow{"EXT_POB", K::kString, 4, "Pob.", ""},
    FieldRow{"EXT_ICO", K::kString, 8, "IČO", ""},
    FieldRow{"EXT_ALI", K::kString, 40, "Alias", ""},
    FieldRow{"EXT_DIC", K::kString, 15, "DIČ", ""},
    FieldRow{"EXT_NAC", K::kString, 40, "Název odběratele", ""},
    FieldRow{"EXT_ULI", K::kString, 40, "Ulice", ""},
    FieldRow{"EXT_MES", K::kString, 40, "Město", ""},
    FieldRow{"EXT_PSC", K::kString, 6, "PSČ", ""},
    FieldRow{"EXT_UCE", K::kString, 40, "Účet", ""},
    FieldRow{"EXT_BAN", K::kString, 40, "Banka", ""},
    FieldRow{"EXT_TEL", K::kString, 40, "Telefon", ""},
    FieldRow{"EXT_FAX", K::kString, 40, "Fax", ""},
    FieldRow{"EXT_EML", K::kString, 40, "E Mail", ""},
    FieldRow{"EXT_MOB", K::kString, 40, "Mob.telef.", ""},
    FieldRow{"EXT_WWW", K::kString, 40, "stránka www", ""},
    FieldRow{"EXT_POR", K::kDate, 0, "Pořízeno", ""},
    FieldRow{"EXT_AKT", K::kDate, 0, "Aktualizace", ""},
    FieldRow{"EXT_VLA", K::kString, 2, "Ref.", ""},
    FieldRow{"EXT_POZ", K::kString, 255, "Poznámka", ""},
    FieldRow{"EXT_TYP", K::kString, 3, "Typ", ""},
    FieldRow{"EXT_SPL", K::kInteger, 0, "", ""},
    FieldRow{"EXT_CEN", K::kString, 1, "", ""},
    FieldRow{"EXT_TY1", K::kString, 3, "", ""},
    FieldRow{"EXT_TY2", K::kString, 3, "", ""},
    FieldRow{"EXT_FUH", K::kString, 1, "", ""},
    FieldRow{"EXT_FDO", K::kString, 1, "", ""},
    FieldRow{"EXT_OLD", K::kString, 1, "Vyřazeno", ""},
    FieldRow{"EXT_KO1", K::kString, 30, "", ""},
    FieldRow{"EXT_KO2", K::kString, 30, "", ""},
    FieldRow{"EXT_UVM", K::kFloat, 0, "", ""},
    FieldRow{"EXT_DLU", K::kFloat, 0, "", ""},
    FieldRow{"EXT_SLE", K::kFloat, 0, "", ""},
    FieldRow{"EXT_KAL", K::kString, 1, "Typ.Kal.", ""},
    FieldRow{"EXT_STR", K::kString, 4, "", ""},
    FieldRow{"EXT_CEP", K::kString, 1, "Ceník pron.", ""},
};

constexpr std::array kVypisyFields{
    FieldRow{"VYP_DO2", K::kString, 10, "Bav.Vyp.", ""},
    FieldRow{"VYP_DVS", K::kDate, 0, "Vystaven", ""},
    FieldRow{"VYP_TYP", K::kString, 3, "Typ", ""},
    FieldRow{"VYP_HOD", K::kFloat, 0, "Hodnota", "#,##0.00"},
    FieldRow{"VYP_PRN", K::kBoolean, 0, "Prn.", ""},
    FieldRow{"VYP_DO1", K::kString, 10, "Doklad", ""},
    FieldRow{"VYP_DAT", K::kDate, 0, "Zápis", ""},
    FieldRow{"VYP_KOE", K::kSmallInt, 0, "", ""},
};

constexpr std::array kTypPlatbyFields{
    FieldRow{"BPT_KOD", K::kString, 3, "Kód", ""},
    FieldRow{"BPT_NAC", K::kString, 30, "Popis ", ""},
};

constexpr std::array kUzivateleFields{
    FieldRow{"USR_KOD", K::kString, 3, "Kód", ""},
    FieldRow{"USR_LNA", K::kString, 10, "Přihl.jméno", ""},
    FieldRow{"USR_PSW", K::kString, 10, "Heslo", ""},
    FieldRow{"USR_INI", K::kString, 2, "Inic.", ""},
    FieldRow{"USR_GRP", K::kString, 3, "Skup.", ""},
    FieldRow{"USR_NAC", K::kString, 20, "Příjmení, jméno,tit.", ""},
    FieldRow{"USR_TEL", K::kString, 40, "Telefon", ""},
    FieldRow{"USR_EML", K::kString, 40, "E Mail", ""},
};

constexpr std::array kVlastnikFields{
    FieldRow{"VLA_KOD", K::kString, 6, "kód", ""},
    FieldRow{"VLA_ICO", K::kString, 8, "IČO", ""},
    FieldRow{"VLA_DIC", K::kString, 15, "DIČ", ""},
    FieldRow{"VLA_JED", K::kString, 4, "Korvana", ""},
    FieldRow{"VLA_FIR", K::kString, 35, "Firma", ""},
    FieldRow{"VLA_NAC", K::kString, 30, "Oddělení", ""},
    FieldRow{"VLA_ULI", K::kString, 30, "Ulice", ""},
    FieldRow{"VLA_MES", K::kString, 30, "Město", ""},
    FieldRow{"VLA_PSC", K::kString, 6, "PSČ", ""},
    FieldRow{"VLA_STA", K::kString, 30, "Stát", ""},
    FieldRow{"VLA_TEL", K::kString, 30, "Telefon", ""},
    FieldRow{"VLA_FAX", K::kString, 30, "Fax", ""},
    FieldRow{"VLA_EML", K::kString, 30, "E Mail", ""},
    FieldRow{"VLA_JME", K::kString, 30, "Kontaktní jméno", ""},
    FieldRow{"VLA_MOB", K::kString, 30, "Mobilní telefon", ""},
    FieldRow{"VLA_KRA", K::kString, 15, "", ""},
    FieldRow{"VLA_UCE", K::kString, 20, "", ""},
    FieldRow{"VLA_BAN", K::kString, 20, "", ""},
    FieldRow{"VLA_ZAP", K::kString, 60, "", ""},
    FieldRow{"VLA_POC", K::kDate, 0, "", ""},
    FieldRow{"VLA_UNA", K::kString, 30, "", ""},
    FieldRow{"VLA_UUL", K::kString, 30, "", ""},
    FieldRow{"VLA_UME", K::kString, 30, "", ""},
    FieldRow{"VLA_UPS", K::kString, 6, "", ""},
    FieldRow{"VLA_UMP", K::kBoolean, 0, "Užití pokladní tiskárny", ""},
    FieldRow{"VLA_PR1", K::kSmallInt, 0, "", ""},
    FieldRow{"VLA_PR2", K::kSmallInt, 0, "", ""},
    FieldRow{"VLA_KOS", K::kString, 4, "Konst.sym", ""},
};

constexpr std::array kCiselnikFields{
    FieldRow{"CIS_ODB", K::kInteger, 0, "Odběratelé", ""},
    FieldRow{"CIS_DEN", K::kInteger, 0, "Deník", ""},
    FieldRow{"CIS_PRD", K::kString, 10, "Dodávky", ""},
    FieldRow{"CIS_VYD", K::kString, 10, "Výdejky", ""},
    FieldRow{"CIS_PRI", K::kString, 10, "Příjemky", ""},
    FieldRow{"CIS_FAK", K::kString, 10, "Faktury", ""},
    FieldRow{"CIS_SML", K::kString, 10, "", ""},
    FieldRow{"CIS_FIN", K::kString, 10, "", ""},
    FieldRow{"CIS_UCE", K::kString, 10, "Učtenky", ""},
    FieldRow{"CIS_VCT", K::kString, 10, "Výčetky", ""},
    FieldRow{"CIS_PRF", K::kString, 10, "", ""},
    FieldRow{"CIS_DOB", K::kString, 10, "", ""},
    FieldRow{"CIS_VRD", K::kString, 10, "Vratky", ""},
    FieldRow{"CIS_PRC", K::kString, 10, "Přecenění", ""},
    FieldRow{"CIS_INV", K::kString, 10, "Inventury", ""},
    FieldRow{"CIS_OBJ", K::kString, 10, "Objednávky", ""},
    FieldRow{"CIS_DEP", K::kInteger, 0, "", ""},
    FieldRow{"CIS_PPD", K::kString, 10, "", ""},
    FieldRow{"CIS_VPU", K::kString, 10, "", ""},
    FieldRow{"CIS_PPU", K::kString, 10, "", ""},
    FieldRow{"CIS_VRP", K::kString, 10, "", ""},
    FieldRow{"CIS_ZPD", K::kInteger, 0, "", ""},
    FieldRow{"CIS_PUJ", K::kString, 10, "", ""},
    FieldRow{"CIS_VRA", K::kString, 10, "", ""},
    FieldRow{"CIS_FAO", K::kString, 10, "Odprodej", ""},
    FieldRow{"CIS_FAN", K::kString, 10, "Nájem", ""},
    FieldRow{"CIS_POD", K::kString, 10, "Podklady", ""},
    FieldRow{"CIS_FAI", K::kString, 10, "Fakt inter.", ""},
    FieldRow{"CIS_ZVY", K::kString, 10, "Zakázky  výdejky", ""},
    FieldRow{"CIS_ZFA", K::kString, 10, "Zakázky faktury", ""},
    FieldRow{"CIS_ZFI", K::kString, 10, "Zakázky fak. int.", ""},
    FieldRow{"CIS_PIN", K::kString, 10, "Půjčovna inv.", ""},
    FieldRow{"CIS_PPR", K::kString, 10, "Půjčovna přec.", ""},
    FieldRow{"CIS_FAL", K::kString, 10, "Faktury volné", ""},
    FieldRow{"CIS_NAB", K::kString, 10, "Nabídky", ""},
    FieldRow{"CIS_OBD", K::kString, 10, "Obj.dodav.", ""},
    FieldRow{"CIS_DOL", K::kString, 10, "Dobropisy volne", ""},
};

constexpr std::array kPoznamkyFields{
    FieldRow{"POZ_DOK", K::kString, 10, "", ""},
    FieldRow{"POZ_TEX", K::kString, 75, "", ""},
};

constexpr std::array kDenikFields{
    FieldRow{"DEN_RAD", K::kInteger, 0, "ID Kod", ""},
    FieldRow{"DEN_DAT", K::kDate, 0, "Datum", "dd.mm.yyyy"},
    FieldRow{"DEN_KDY", K::kString, 5, "Čas", ""},
    FieldRow{"DEN_DOK", K::kString, 10, "Doklad", ""},
    FieldRow{"DEN_KAV", K::kString, 6, "Karta", ""},
    FieldRow{"DEN_IND", K::kString, 3, "Var.", ""},
    FieldRow{"DEN_OPE", K::kString, 3, "Ope.", ""},
    FieldRow{"DEN_KUS", K::kInteger, 0, "Kusy", ""},
    FieldRow{"DEN_HPC", K::kFloat, 0, "Hod. PC", "#,##0.00"},
    FieldRow{"DEN_HNC", K::kFloat, 0, "Hod. NC", "#,##0.00"},
    FieldRow{"DEN_DAN", K::kFloat, 0, "DPH", ""},
    FieldRow{"DEN_ZAS", K::kFloat, 0, "Zásoba", ""},
    FieldRow{"DEN_REF", K::kString, 2, "Ref.", ""},
    FieldRow{"DEN_POZ", K::kFloat, 0, "Pozn.", ""},
    FieldRow{"DEN_PRN", K::kString, 1, "Přen.", ""},
};

constexpr std::array kUziPravaFields{
    FieldRow{"URS_KOD", K::kString, 3, "Uživatel", ""},
    FieldRow{"URS_URT", K::kString, 3, "Úloha", ""},
    FieldRow{"URS_URS", K::kSmallInt, 0, "Stat.", ""},
};

std::vector<DeclaredField> Build(std::span<const FieldRow> rows) {
  std::vector<DeclaredField> fields;
  fields.reserve(rows.size());
  for (const FieldRow& row : rows) {
    fields.push_back({row.name, row.kind, row.size, Ansi(row.label), row.display_format});
  }
  return fields;
}

using FieldLists = std::map<std::string, std::vector<DeclaredField>, std::less<>>;

FieldLists BuildFieldLists() {
  FieldLists lists;
  lists.emplace("Faktury", Build(kFakturyFields));
  lists.emplace("Odberatele", Build(kOdberateleFields));
  lists.emplace("Vypisy", Build(kVypisyFields));
  lists.emplace("TypPlatby", Build(kTypPlatbyFields));
  lists.emplace("Uzivatele", Build(kUzivateleFields));
  lists.emplace("Vlastnik", Build(kVlastnikFields));
  lists.emplace("Ciselnik", Build(kCiselnikFields));
  lists.emplace("Poznamky", Build(kPoznamkyFields));
  lists.emplace("Denik", Build(kDenikFields));
  lists.emplace("UziPrava", Build(kUziPravaFields));
  return lists;
}

}  // namespace

const std::vector<DeclaredField>& DeclaredFieldsOf(std::string_view component) {
  static const FieldLists lists = BuildFieldLists();
  static const std::vector<DeclaredField> none;
  const auto found = lists.find(component);
  return found == lists.end() ? none : found->second;
}

}  // namespace store
