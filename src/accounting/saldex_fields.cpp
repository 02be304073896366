#include "accounting/saldex_fields.h"

namespace accounting {
namespace {

using K = dbf::FieldKind;

SaldexField Text(const char* name, int width) {
  return {name, K::kString, width};
}
SaldexField Of(const char* name, K kind) {
  return {name, kind, 0};
}

}  // namespace

const std::vector<SaldexField>& ReceivableFields() {
  static const std::vector<SaldexField> fields = {
      Of("CISLO", K::kLargeInt),
      Of("TYPDOKLADU", K::kSmallInt),
      Of("CISDOKLADU", K::kLargeInt),
      Of("VARIABILNI", K::kLargeInt),
      Of("DATUMVYSTA", K::kDate),
      Of("DATUMSPLAT", K::kDate),
      Of("DATUMPLNEN", K::kDate),
      Text("ZPUS_UCTOV", 6),
      Text("POZNAMKA", 40),
      Text("POZNAMKA1", 60),
      Text("ICO", 10),
      Text("DIC", 15),
      Of("CASTKA", K::kFloat),
      Of("PLATBA", K::kFloat),
      Of("NEUHRAZENO", K::kFloat),
      Of("ZALOHA", K::kFloat),
      Of("ZAKLAD_N", K::kFloat),
      Of("ZAKLAD_0", K::kFloat),
      Of("ZAKLAD_0Z", K::kFloat),
      Of("ZAKLAD_0S", K::kFloat),
      Of("ZAKLAD_0M", K::kFloat),
      Of("ZAKLAD_S", K::kFloat),
      Of("ZAKLAD_Z", K::kFloat),
      Of("DPH_S", K::kFloat),
      Of("DPH_Z", K::kFloat),
      Of("SPOTR_DAN", K::kFloat),
      Of("PROVOZ", K::kSmallInt),
      Of("CINNOST", K::kSmallInt),
      Of("PROSTREDEK", K::kInteger),
      Of("ZAKAZKA", K::kLargeInt),
      Of("OPRAVA", K::kLargeInt),
      Text("MENA", 3),
      Of("MNOZSTVI", K::kSmallInt),
      Of("KURS", K::kFloat),
      Of("DEVHODNOTA", K::kFloat),
      Of("UCTOVANO", K::kBoolean),
      Of("VYBER", K::kBoolean),
      Text("PECET", 68),
  };
  return fields;
}

const std::vector<SaldexField>& AddressFields() {
  static const std::vector<SaldexField> fields = {
      Text("OSLOVENI", 19),
      Text("TITUL", 10),
      Text("JMENO", 15),
      Text("PRIJMENI", 18),
      Text("TITUL1", 10),
      Text("NAZEV", 22),
      Text("NAZEV1", 22),
      Text("NAZEV2", 22),
      Text("ULICE", 22),
      Text("MESTO", 22),
      Text("MESTO1", 22),
      Text("PSC", 6),
      Text("ZAHR_PSC", 22),
      Text("STAT", 22),
      Text("TELEFON", 22),
      Text("MOBIL", 22),
      Text("FAX", 22),
      Text("E_MAIL", 30),
      Text("WWW", 30),
      Of("RODNECISLO", K::kInteger),
      Text("ICO", 10),
      Text("DIC", 15),
      Text("PROVOZOVNA", 2),
      Of("FYZICKA", K::kBoolean),
      Of("PLATCE_DPH", K::kBoolean),
      Text("POBOCKAPUS", 20),
      Text("CISLOUCTU", 20),
      Text("NAZEVPENUS", 20),
      Text("KODBANKY", 4),
      Text("KONSTANTNI", 4),
      Text("VARIABILNI", 10),
      Text("SPECIFICKY", 10),
      Text("POZNAMKA", 60),
      Text("ZKRATKA", 10),
      Of("SKUPINA", K::kSmallInt),
      Text("KOMPLETACE", 3),
      Of("NEPLATIC", K::kBoolean),
      Of("KONFLIKTNI", K::kBoolean),
      Text("OBCH_VZTAH", 1),
      Of("PENALE", K::kFloat),
      Of("MARZERABAT", K::kFloat),
      Of("LIMIT", K::kFloat),
      Of("NAKUPY", K::kFloat),
      Of("PRODEJE", K::kFloat),
      Of("SPLATNOST", K::kSmallInt),
      Of("VZDALENOST", K::kFloat),
      Of("KOD_CENY", K::kSmallInt),
      Of("OBDOBISLEV", K::kSmallInt),
      Of("CASTKA1", K::kFloat),
      Of("CASTKA2", K::kFloat),
      Of("CASTKA3", K::kFloat),
      Of("CASTKA4", K::kFloat),
      Of("CASTKA5", K::kFloat),
      Of("BYT", K::kInteger),
      Of("DUM", K::kInteger),
      Text("MISTOODBER", 16),
      Text("ZPUSOBDOPR", 16),
      Text("MISTODODAN", 16),
      Of("TYPUDOKLAD", K::kSmallInt),
      Of("CISUDOKLAD", K::kInteger),
      Of("DATUMUVYST", K::kDate),
      Of("VARUDOKLAD", K::kInteger),
      Of("VYBER", K::kBoolean),
      Text("PECET", 68),
  };
  return fields;
}

const std::vector<SaldexField>& CounterFields() {
  static const std::vector<SaldexField> fields = {Of("POHLEDAVKY", K::kInteger)};
  return fields;
}

}  // namespace accounting
