#include "store/store_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dbf/charset_tables.h"
#include "store/rebuild_catalogue.h"

namespace store {
namespace {

using dbf::Cp1250ToUtf8;

const StoreTable& Table(const char* component) {
  const StoreTable* table = FindStoreTable(component);
  if (table == nullptr) ADD_FAILURE() << component << " is not a store table";
  return table ? *table : StoreTables().front();
}

const DeclaredField& Field(const char* component, const char* name) {
  for (const DeclaredField& field : DeclaredFieldsOf(component)) {
    if (field.name == name) return field;
  }
  ADD_FAILURE() << component << "." << name << " is not declared";
  static const DeclaredField none;
  return none;
}

TEST(StoreTables, CatalogueInDeclarationOrder) {
  const auto& tables = StoreTables();
  ASSERT_EQ(tables.size(), 77u);
  EXPECT_EQ(tables.front().component, "Sklad");
  EXPECT_EQ(tables.back().component, "DobVolHla");
  std::set<std::string> names;
  for (const StoreTable& table : tables) {
    EXPECT_TRUE(names.insert(table.component).second) << table.component;
  }
  EXPECT_EQ(FindStoreTable("Pohledavky"), nullptr);
}

TEST(StoreTables, NamesFollowStoreCodeOrTheSharedCode) {
  EXPECT_EQ(Table("Faktury").TableName("0002"), "Fak0002");
  EXPECT_EQ(Table("Odberatele").TableName("0002"), "Ext0002");
  EXPECT_EQ(Table("Vlastnik").TableName("0002"), "Vla0000");
  EXPECT_EQ(Table("Uzivatele").TableName("0002"), "Usr0000");
  EXPECT_EQ(Table("SlevaSkupina").TableName("0002"), "SLS0000");
  EXPECT_EQ(Table("ObjHlav").TableName("0002"), "OBJ0002");
  EXPECT_EQ(Table("TypPlatby").TableName("0001"), "Bpt0000");
  EXPECT_EQ(Table("InvePol").TableName("0001"), "IPl0001");
  for (const StoreTable& table : StoreTables()) {
    const std::string name = table.TableName("0009");
    EXPECT_EQ(name.size(), 7u) << table.component;
    EXPECT_EQ(name.substr(3), table.per_store ? "0009" : kSharedStoreCode) << table.component;
  }
}

TEST(StoreTables, OnlyFreeFormCreditNotesUseTheDefaultLockProtocol) {
  for (const StoreTable& table : StoreTables()) {
    EXPECT_EQ(table.lock_protocol, table.component == "DobVolHla" ? dbf::LockProtocol::kDefault
                                                                  : dbf::LockProtocol::kClipLock)
        << table.component;
  }
}

TEST(StoreTables, CommonDataSetSettings) {
  const StoreDataSetSettings settings;
  EXPECT_TRUE(settings.translate_ascii);
  EXPECT_FALSE(settings.exclusive);
  EXPECT_FALSE(settings.use_deleted);
  EXPECT_TRUE(settings.large_integer_as_integer);
  EXPECT_FALSE(settings.auto_flush);
  EXPECT_EQ(settings.user_id, 0);
}

TEST(StoreTables, StatusHandlers) {
  EXPECT_EQ(Table("Faktury").status_handler, "FakturyStatus");
  EXPECT_EQ(Table("PodklHlav").status_handler, "DenikStatus");
  EXPECT_EQ(Table("FakNajem").status_handler, "FakOdproStatus");
  EXPECT_FALSE(Table("SkladPujc").HasStatusHandler());
  EXPECT_FALSE(Table("Ciselnik").HasStatusHandler());
  EXPECT_TRUE(Table("UziPrava").HasStatusHandler());
}

TEST(StoreTables, DeclaredFieldListsMatchTheirCounts) {
  const char* read_or_written[] = {"Faktury",  "Odberatele", "Vypisy",   "TypPlatby", "Uzivatele",
                                   "Vlastnik", "Ciselnik",   "Poznamky", "Denik",     "UziPrava"};
  for (const char* component : read_or_written) {
    const StoreTable& table = Table(component);
    EXPECT_EQ(table.Fields().size(), static_cast<size_t>(table.declared_field_count)) << component;
    std::set<std::string> names;
    for (const DeclaredField& field : table.Fields()) {
      EXPECT_TRUE(names.insert(field.name).second) << component << "." << field.name;
      EXPECT_EQ(field.size > 0, field.kind == DeclaredKind::kString) << field.name;
      EXPECT_EQ(field.label.find('?'), std::string::npos) << field.name;
    }
  }
  EXPECT_TRUE(Table("Sklad").Fields().empty());
}

TEST(StoreTables, InvoiceFields) {
  const auto& fields = DeclaredFieldsOf("Faktury");
  ASSERT_EQ(fields.size(), 35u);
  EXPECT_EQ(fields.front().name, "HLA_DAT");
  EXPECT_EQ(fields.back().name, "HLA_BPL");
  const DeclaredField& dat = Field("Faktury", "HLA_DAT");
  EXPECT_EQ(dat.kind, DeclaredKind::kDate);
  EXPECT_EQ(dat.label, "Vystaveno");
  EXPECT_EQ(dat.display_format, "dd.mm.yyyy");
  const DeclaredField& do1 = Field("Faktury", "HLA_DO1");
  EXPECT_EQ(do1.kind, DeclaredKind::kString);
  EXPECT_EQ(do1.size, 10u);
  EXPECT_EQ(do1.label, "Faktura");
  const DeclaredField& nac = Field("Faktury", "HLA_NAC");
  EXPECT_EQ(nac.size, 30u);
  EXPECT_EQ(Cp1250ToUtf8(nac.label), "Název odběratele");
  const DeclaredField& cuh = Field("Faktury", "HLA_CUH");
  EXPECT_EQ(cuh.kind, DeclaredKind::kFloat);
  EXPECT_EQ(cuh.display_format, "#,##0.00");
  const DeclaredField& pla = Field("Faktury", "HLA_PLA");
  EXPECT_EQ(pla.kind, DeclaredKind::kBoolean);
  EXPECT_EQ(pla.display_format, "Ano;Ne");
  EXPECT_EQ(Cp1250ToUtf8(Field("Faktury", "HLA_DZP").label), "Dat.zd.plň.");
  EXPECT_EQ(Field("Faktury", "HLA_SLE").display_format, "");
}

TEST(StoreTables, FieldKindsOfTheOtherTables) {
  EXPECT_EQ(Field("Odberatele", "EXT_CIS").kind, DeclaredKind::kSmallInt);
  EXPECT_EQ(Field("Odberatele", "EXT_SPL").kind, DeclaredKind::kInteger);
  EXPECT_EQ(Field("Odberatele", "EXT_SPL").label, "");
  EXPECT_EQ(Field("Odberatele", "EXT_POZ").size, 255u);
  EXPECT_EQ(Field("Vypisy", "VYP_HOD").kind, DeclaredKind::kFloat);
  EXPECT_EQ(Field("Vypisy", "VYP_KOE").kind, DeclaredKind::kSmallInt);
  EXPECT_EQ(Field("Ciselnik", "CIS_ODB").kind, DeclaredKind::kInteger);
  EXPECT_EQ(Cp1250ToUtf8(Field("Ciselnik", "CIS_ODB").label), "Odběratelé");
  EXPECT_EQ(Field("Ciselnik", "CIS_FAL").size, 10u);
  EXPECT_EQ(Field("Vlastnik", "VLA_UMP").kind, DeclaredKind::kBoolean);
  EXPECT_EQ(Field("Vlastnik", "VLA_ZAP").size, 60u);
  EXPECT_EQ(Field("Denik", "DEN_DAT").display_format, "dd.mm.yyyy");
  EXPECT_EQ(Field("Uzivatele", "USR_LNA").size, 10u);
  EXPECT_EQ(Field("UziPrava", "URS_URS").kind, DeclaredKind::kSmallInt);
  EXPECT_EQ(Field("Poznamky", "POZ_TEX").size, 75u);
}

TEST(StoreTables, LabelsKeepTheirBlanks) {
  EXPECT_EQ(Field("TypPlatby", "BPT_NAC").label, "Popis ");
  EXPECT_EQ(Cp1250ToUtf8(Field("Ciselnik", "CIS_ZVY").label), "Zakázky  výdejky");
  EXPECT_EQ(Cp1250ToUtf8(Field("Uzivatele", "USR_NAC").label), "Příjmení, jméno,tit.");
}

TEST(StoreTables, RebuildTablesWithoutStatusHandlerShowNoProgress) {
  size_t without = 0;
  for (const RebuildTable& table : RebuildCatalogue()) {
    if (!Table(table.component.c_str()).HasStatusHandler()) ++without;
  }
  EXPECT_GE(without, 1u);
  EXPECT_FALSE(Table("SkladPujc").HasStatusHandler());
}

}  // namespace
}  // namespace store
