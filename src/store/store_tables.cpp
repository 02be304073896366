#include "store/store_tables.h"

#include <array>

namespace store {
namespace {

struct TableRow {
  const char* component;
  const char* prefix;
  bool per_store;
  int declared_field_count;
  const char* status_handler;
};

// Component, name prefix (whole name when shared), declared fields, status handler.
constexpr std::array kTableRows{
    TableRow{"Sklad", "Skl", true, 10, "SkladStatus"},
    TableRow{"Denik", "Den", true, 15, "DenikStatus"},
    TableRow{"Sortiment", "Sor", true, 35, "SortimentStatus"},
    TableRow{"Ciselnik", "Cis", true, 37, ""},
    TableRow{"Dodavatele", "Dod", true, 16, "DodavateleStatus"},
    TableRow{"Dodavky", "Prd", true, 11, "DodavkyStatus"},
    TableRow{"Vlastnik", "Vla0000", false, 28, ""},
    TableRow{"Korvany", "Org0000", false, 9, "KorvanyStatus"},
    TableRow{"Vydejky", "Vyd", true, 11, "VydejkyStatus"},
    TableRow{"TypVydeje", "Typ0000", false, 2, ""},
    TableRow{"Faktury", "Fak", true, 35, "FakturyStatus"},
    TableRow{"Odberatele", "Ext", true, 37, "OdberateleStatus"},
    TableRow{"OdbPob", "Exp", true, 28, "OdbPobStatus"},
    TableRow{"Maska", "Mas0000", false, 10, ""},
    TableRow{"SlevaSkupina", "SLS0000", false, 6, "SlevaSkupinaStatus"},
    TableRow{"SlevaKarta", "SLK0000", false, 6, "SlevaKartaStatus"},
    TableRow{"SortiSkup", "SSK0000", false, 4, ""},
    TableRow{"Ceniky", "CEN0000", false, 5, ""},
    TableRow{"FormaUhrady", "FUH0000", false, 5, ""},
    TableRow{"FormaDopravy", "FDO0000", false, 2, ""},
    TableRow{"Dobropisy", "Dob", true, 36, "DobropisyStatus"},
    TableRow{"Prijemky", "Pri", true, 11, "PrijemkyStatus"},
    TableRow{"Pokladna", "Pla", true, 12, "PokladnaStatus"},
    TableRow{"FinOperace", "Fin0000", false, 3, ""},
    TableRow{"Uctenky", "Uce", true, 26, "UctenkyStatus"},
    TableRow{"Proformy", "Prf", true, 28, "ProformyStatus"},
    TableRow{"BlokacePolozky", "Blo", true, 11, "BlokacePolozkyStatus"},
    TableRow{"Vratky", "Vrd", true, 10, "VratkyStatus"},
    TableRow{"Vypisy", "Vyp", true, 8, "VypisyStatus"},
    TableRow{"Poznamky", "Poz", true, 2, "PoznamkyStatus"},
    TableRow{"PrecHlav", "Prh", true, 11, "PrecHlavStatus"},
    TableRow{"PrecPol", "Prp", true, 25, "PrecPolStatus"},
    TableRow{"Vycetky", "Vct", true, 19, "VycetkyStatus"},
    TableRow{"Uzivatele", "Usr0000", false, 8, ""},
    TableRow{"Hlasky", "Msg0000", false, 3, "HlaskyStatus"},
    TableRow{"SortiDruh", "SDR0000", false, 3, ""},
    TableRow{"SortiPodSkp", "SPK0000", false, 3, ""},
    TableRow{"SortiVyrobce", "Svr0000", false, 3, ""},
    TableRow{"MjeJed", "Mje0000", false, 2, ""},
    TableRow{"TypOdberatele", "Esk0000", false, 3, ""},
    TableRow{"TypSlevOdb", "ESL0000", false, 3, ""},
    TableRow{"UzivSkup", "Ugr0000", false, 2, ""},
    TableRow{"UziPopPrav", "Urt0000", false, 3, ""},
    TableRow{"UziPrava", "Urs0000", false, 3, "UziPravaStatus"},
    TableRow{"InveHlav", "Ihl", true, 19, "InveHlavStatus"},
    TableRow{"InvePol", "IPl", true, 11, "InvePolStatus"},
    TableRow{"InveTyp", "Int0000", false, 2, ""},
    TableRow{"InveSkl", "Ips", true, 7, "InveSklStatus"},
    TableRow{"ObjHlav", "OBJ", true, 29, "ObjHlavStatus"},
    TableRow{"ObjPol", "OBP", true, 11, "ObjPolStatus"},
    TableRow{"DenikPujc", "Dep", true, 15, "DenikPujcStatus"},
    TableRow{"DodavkyPujc", "Ppd", true, 11, "DodavkyPujcStatus"},
    TableRow{"VydejkyPujc", "Vpu", true, 11, "VydejkyPujcStatus"},
    TableRow{"PrijemkyPujc", "Ppu", true, 11, "PrijemkyPujcStatus"},
    TableRow{"VratkyPujc", "Vrp", true, 10, "VratkyPujcStatus"},
    TableRow{"SkladPujc", "Skp", true, 7, ""},
    TableRow{"ZapujDen", "ZAP", true, 10, "ZapujDenStatus"},
    TableRow{"Pujcky", "PUJ", true, 15, "PujckyStatus"},
    TableRow{"ZapVratky", "VRA", true, 15, "ZapVratkyStatus"},
    TableRow{"FakOdpro", "FAO", true, 28, "FakOdproStatus"},
    TableRow{"FakNajem", "FAN", true, 30, "FakOdproStatus"},
    TableRow{"PodklHlav", "POD", true, 15, "DenikStatus"},
    TableRow{"PodklPol", "POP", true, 11, "DenikStatus"},
    TableRow{"FakNajemInt", "FAI", true, 30, "FakOdproStatus"},
    TableRow{"FaktSlevy", "FAS", true, 9, "FakOdproStatus"},
    TableRow{"TypySlevFaktura", "FTS0000", false, 10, ""},
    TableRow{"ZakVydejky", "VMA", true, 19, "FakturyStatus"},
    TableRow{"Obchodnici", "OBC", true, 5, ""},
    TableRow{"FakZakazky", "Fma", true, 37, "FakturyStatus"},
    TableRow{"FakZakInt", "Fmi", true, 37, "FakturyStatus"},
    TableRow{"TypPlatby", "Bpt0000", false, 2, ""},
    TableRow{"NabHlav", "Nah", true, 15, ""},
    TableRow{"NabPol", "Nap", true, 13, ""},
    TableRow{"FakVolHla", "FAL", true, 35, "FakturyStatus"},
    TableRow{"FakVolPol", "FAP", true, 7, ""},
    TableRow{"DelProv", "DPR", true, 5, ""},
    TableRow{"DobVolHla", "DOL", true, 35, "FakturyStatus"},
};

// Free-form credit notes are written by a program that uses the default protocol.
constexpr const char* kDefaultProtocolTable = "DobVolHla";

std::vector<StoreTable> BuildTables() {
  std::vector<StoreTable> tables;
  tables.reserve(kTableRows.size());
  for (const TableRow& row : kTableRows) {
    StoreTable table;
    table.component = row.component;
    table.prefix = row.prefix;
    table.per_store = row.per_store;
    table.declared_field_count = row.declared_field_count;
    table.status_handler = row.status_handler;
    table.lock_protocol = table.component == kDefaultProtocolTable ? dbf::LockProtocol::kDefault
                                                                   : dbf::LockProtocol::kClipLock;
    tables.push_back(std::move(table));
  }
  return tables;
}

}  // namespace

std::string StoreTable::TableName(const std::string& store_code) const {
  return per_store ? prefix + store_code : prefix;
}

const std::vector<DeclaredField>& StoreTable::Fields() const {
  return DeclaredFieldsOf(component);
}

const std::vector<StoreTable>& StoreTables() {
  static const std::vector<StoreTable> tables = BuildTables();
  return tables;
}

const StoreTable* FindStoreTable(std::string_view component) {
  for (const StoreTable& table : StoreTables()) {
    if (table.component == component) return &table;
  }
  return nullptr;
}

}  // namespace store
