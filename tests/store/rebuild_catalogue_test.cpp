#include "store/rebuild_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "dbf/charset_tables.h"
#include "store/store_tables.h"

namespace store {
namespace {

using dbf::Cp1250ToUtf8;

const std::string kDir = "/srv/korvana/data/";

std::vector<std::string> TagNames(const RebuildTable& table) {
  std::vector<std::string> names;
  for (const RebuildTag& tag : table.tags) names.push_back(tag.name);
  return names;
}

const RebuildTable& Table(const char* component) {
  const RebuildTable* table = FindRebuildTable(component);
  if (table == nullptr) ADD_FAILURE() << component << " is not in the catalogue";
  return table ? *table : RebuildCatalogue().front();
}

TEST(RebuildCatalogue, HoldsFiftyFiveTablesWith212TagsInRebuildOrder) {
  const auto& catalogue = RebuildCatalogue();
  ASSERT_EQ(catalogue.size(), 55u);
  size_t tags = 0;
  for (const RebuildTable& table : catalogue) {
    EXPECT_FALSE(table.tags.empty()) << table.component;
    tags += table.tags.size();
  }
  EXPECT_EQ(tags, 212u);
  EXPECT_EQ(catalogue[0].component, "Sklad");
  EXPECT_EQ(catalogue[2].component, "Denik");
  EXPECT_EQ(catalogue[15].component, "Faktury");
  EXPECT_EQ(catalogue[27].component, "Odberatele");
  EXPECT_EQ(catalogue[54].component, "PodklHlav");
}

TEST(RebuildCatalogue, EveryTableIsAStoreTable) {
  std::set<std::string> seen;
  for (const RebuildTable& table : RebuildCatalogue()) {
    EXPECT_NE(FindStoreTable(table.component), nullptr) << table.component;
    EXPECT_TRUE(seen.insert(table.component).second) << table.component << " twice";
  }
}

TEST(RebuildCatalogue, InvoiceIndexHoldsExactlyTheSevenTags) {
  const RebuildTable& faktury = Table("Faktury");
  EXPECT_EQ(TagNames(faktury),
            (std::vector<std::string>{"DO1", "NAC", "DAT", "ODB", "DO2", "DO3", "DLU"}));
  const RebuildTag& do1 = faktury.tags[0];
  EXPECT_EQ(do1.key, "HLA_DO1");
  EXPECT_TRUE(do1.unique);
  EXPECT_FALSE(do1.descending);
  EXPECT_EQ(Cp1250ToUtf8(do1.label), "Vydané faktury - dle dokladu ");
  EXPECT_EQ(faktury.tags[1].key, "UPPER(HLA_NAC)");
  EXPECT_EQ(faktury.tags[3].key, "HLA_ODB+HLA_ODP");
  const RebuildTag& dlu = faktury.tags[6];
  EXPECT_EQ(dlu.key, "HLA_ODB+HLA_ODP");
  EXPECT_EQ(dlu.for_condition, "NOT HLA_PLA");
  EXPECT_FALSE(dlu.unique);
  EXPECT_EQ(Cp1250ToUtf8(dlu.label), "Vydané faktury - nezaplacené dle odběratele ");
  for (size_t i = 0; i + 1 < faktury.tags.size(); ++i) {
    EXPECT_EQ(faktury.tags[i].for_condition, "") << faktury.tags[i].name;
  }
}

TEST(RebuildCatalogue, CustomerIndexTags) {
  const RebuildTable& odberatele = Table("Odberatele");
  EXPECT_EQ(TagNames(odberatele), (std::vector<std::string>{"KOD", "NAC", "ALI", "ICO", "TYP"}));
  EXPECT_EQ(odberatele.tags[0].key, "EXT_KOD");
  EXPECT_TRUE(odberatele.tags[0].unique);
  EXPECT_EQ(odberatele.tags[4].key, "EXT_TYP+EXT_NAC");
  EXPECT_EQ(Cp1250ToUtf8(odberatele.tags[2].label), "Odběratelé - dle aliasu odběratelé ");
}

TEST(RebuildCatalogue, ConditionsOnlyWhereTheCatalogueHasThem) {
  std::vector<std::pair<std::string, std::string>> with_condition;
  for (const RebuildTable& table : RebuildCatalogue()) {
    for (const RebuildTag& tag : table.tags) {
      if (!tag.for_condition.empty()) {
        with_condition.emplace_back(table.component + "." + tag.name, tag.for_condition);
      }
    }
  }
  EXPECT_EQ(with_condition, (std::vector<std::pair<std::string, std::string>>{
                                {"SkladPujc.PUJ", "SKL_STA >0"},
                                {"FakVolHla.DLU", "NOT HLA_PLA"},
                                {"DobVolHla.DLU", "NOT HLA_PLA"},
                                {"Faktury.DLU", "NOT HLA_PLA"},
                                {"FakZakazky.DLU", "NOT HLA_PLA"},
                                {"FakZakInt.DLU", "NOT HLA_PLA"},
                                {"BlokacePolozky.KAV", "(BLO_KUS-BLO_VYD)>0"},
                                {"ObjPol.KAV", "(BLO_KUS-BLO_VYD)>0"},
                            }));
}

TEST(RebuildCatalogue, PrecPolKavIsTheOnlyDescendingTag) {
  std::vector<std::string> descending;
  for (const RebuildTable& table : RebuildCatalogue()) {
    for (const RebuildTag& tag : table.tags) {
      if (tag.descending) descending.push_back(table.component + "." + tag.name);
    }
  }
  EXPECT_EQ(descending, std::vector<std::string>{"PrecPol.KAV"});
  EXPECT_EQ(Table("PrecPol").tags[0].key, "PRP_KAV + PRP_IND + PRP_DO1");
}

TEST(RebuildCatalogue, FirstTagsNamedDo1KavOrKodAreUniqueExceptTheListedOnes) {
  const std::set<std::string> duplicates_admitted = {
      "Denik",   "FaktSlevy", "DelProv",  "BlokacePolozky", "PodklPol", "NabPol",
      "ObjPol",  "FakVolPol", "Vypisy",   "Poznamky",       "PrecHlav", "PrecPol",
      "InvePol", "InveSkl",   "ZapujDen", "DenikPujc"};
  for (const RebuildTable& table : RebuildCatalogue()) {
    const RebuildTag& first = table.tags.front();
    if (first.name != "DO1" && first.name != "KAV" && first.name != "KOD") continue;
    EXPECT_EQ(first.unique, duplicates_admitted.count(table.component) == 0) << table.component;
  }
  EXPECT_FALSE(Table("Vypisy").tags[0].unique);
}

TEST(RebuildCatalogue, OnlyFirstTagsAreUnique) {
  for (const RebuildTable& table : RebuildCatalogue()) {
    for (size_t i = 1; i < table.tags.size(); ++i) {
      EXPECT_FALSE(table.tags[i].unique) << table.component << "." << table.tags[i].name;
    }
  }
}

TEST(RebuildCatalogue, TagNamesAreUniqueWithinATable) {
  for (const RebuildTable& table : RebuildCatalogue()) {
    std::set<std::string> names;
    for (const RebuildTag& tag : table.tags) {
      EXPECT_TRUE(names.insert(tag.name).second) << table.component << "." << tag.name;
    }
  }
}

TEST(RebuildCatalogue, EveryTextSurvivesCodePage1250) {
  for (const RebuildTable& table : RebuildCatalogue()) {
    EXPECT_EQ(table.exclusive_failure_message.find('?'), std::string::npos) << table.component;
    for (const RebuildTag& tag : table.tags) {
      EXPECT_EQ(tag.label.find('?'), std::string::npos) << table.component << "." << tag.name;
      EXPECT_EQ(dbf::Utf8ToCp1250(Cp1250ToUtf8(tag.label)), tag.label);
    }
  }
}

TEST(RebuildCatalogue, FileNamesKeepTheirSpellingAndSeparators) {
  const RebuildTable& denik = Table("Denik");
  EXPECT_EQ(denik.data_file.Compose(kDir, "0002"), "/srv/korvana/data//Den0002.dbf");
  EXPECT_EQ(denik.index_file.Compose(kDir, "0002"), "/srv/korvana/data//den0002.cdx");
  EXPECT_EQ(denik.NotFoundMessage(kDir, "0002"), "Nenalezen soubor /srv/korvana/data//Den0002.dbf");

  const RebuildTable& sklad = Table("Sklad");
  EXPECT_EQ(sklad.data_file.Compose(kDir, "0001"), "/srv/korvana/data//Skl0001.dbf");
  EXPECT_EQ(sklad.index_file.Compose(kDir, "0001"), "/srv/korvana/data//Skl0001.cdx");
  EXPECT_EQ(sklad.NotFoundMessage(kDir, "0001"), "Nenalezen soubor /srv/korvana/data/Skl0001.dbf");

  const RebuildTable& korvany = Table("Korvany");
  EXPECT_EQ(korvany.data_file.Compose(kDir, "0002"), "/srv/korvana/data//Org0000.dbf");
  EXPECT_EQ(korvany.NotFoundMessage(kDir, "0002"),
            "Nenalezen soubor /srv/korvana/data/Org0000.dbf");

  const RebuildTable& fal = Table("FakVolHla");
  EXPECT_EQ(fal.data_file.Compose(kDir, "0001"), "/srv/korvana/data//FAL0001.dbf");
  EXPECT_EQ(fal.NotFoundMessage(kDir, "0001"), "Nenalezen soubor /srv/korvana/data/Fal0001.dbf");

  const RebuildTable& podkl = Table("PodklPol");
  EXPECT_EQ(podkl.data_file.Compose(kDir, "0001"), "/srv/korvana/data//POP0001.dbf");
  EXPECT_EQ(podkl.index_file.Compose(kDir, "0001"), "/srv/korvana/data//Pop0001.cdx");

  EXPECT_EQ(Table("ZapujDen").NotFoundMessage(kDir, "0001"),
            "Nenalezen soubor /srv/korvana/data//Zap0001.dbf");
  EXPECT_EQ(Table("DenikPujc").index_file.Compose(kDir, "0001"), "/srv/korvana/data//dep0001.cdx");
  EXPECT_EQ(Table("UziPrava").data_file.Compose(kDir, "0001"), "/srv/korvana/data//Urs0000.dbf");
  EXPECT_EQ(Table("Faktury").index_file.Compose(kDir, "0002"), "/srv/korvana/data//Fak0002.cdx");
}

TEST(RebuildCatalogue, EveryDataAndIndexFileHasASeparator) {
  for (const RebuildTable& table : RebuildCatalogue()) {
    EXPECT_TRUE(table.data_file.separator) << table.component;
    EXPECT_TRUE(table.index_file.separator) << table.component;
    EXPECT_EQ(table.data_file.extension, ".dbf");
    EXPECT_EQ(table.index_file.extension, ".cdx");
  }
}

TEST(RebuildCatalogue, LabelsWithTheirBlanksAndSlips) {
  EXPECT_EQ(Cp1250ToUtf8(Table("Sklad").tags[0].label), "Tabulka stavů skladu");
  EXPECT_EQ(Cp1250ToUtf8(Table("Vycetky").tags[0].label), "Vyčetky - dle čísla dokladu ");
  EXPECT_EQ(Cp1250ToUtf8(Table("FakVolHla").tags[1].label),
            "Vydané faktury spc.- dle dle názvu odběratele ");
  EXPECT_EQ(Cp1250ToUtf8(Table("Sortiment").tags[5].label),
            "Tabulka položek sortimentu - dle ceny");
  EXPECT_EQ(Table("InveSkl").tags[0].key, "IPS_DO1 + IPS_KAV+ IPS_IND");
}

struct ExclusiveMessage {
  const char* component;
  const char* text;
};

constexpr ExclusiveMessage kExclusiveMessages[] = {
    {"Sklad", "Tabulka skladu nelze otevřít ve výhradním režimu !"},
    {"SkladPujc", "Tabulka skladu pujcovny nelze otevřít ve výhradním režimu !"},
    {"Denik", "Tabulka deniku nelze otevřít ve výhradním režimu !"},
    {"Sortiment", "Tabulka sortimentu nelze otevřít ve výhradním režimu !"},
    {"Dodavatele", "Tabulka dodavatelů nelze otevřít ve výhradním režimu !"},
    {"Dodavky", "Tabulka přijmu od dodavatelů nelze otevřít ve výhradním režimu !"},
    {"Vratky", "Tabulka vratek dodavatelům nelze otevřít ve výhradním režimu !"},
    {"VratkyPujc", "Tabulka vratek dodavatelům půjčovna nelze otevřít ve výhradním režimu !"},
    {"Vydejky", "Tabulka převodů na jiný sklad nelze otevřít ve výhradním režimu !"},
    {"VydejkyPujc", "Tabulka převodů půjčovny na jiný sklad nelze otevřít ve výhradním režimu !"},
    {"Korvany", "Tabulka vnitřních jednotek nelze otevřít ve výhradním režimu !"},
    {"Prijemky", "Tabulka převodů z jiného skladu nelze otevřít ve výhradním režimu !"},
    {"PrijemkyPujc",
     "Tabulka půjčovny převodů z jiného skladu nelze otevřít ve výhradním režimu !"},
    {"FakVolHla", "Tabulka faktur spc. nelze otevřít ve výhradním režimu !"},
    {"DobVolHla", "Tabulka dobropisů spc. nelze otevřít ve výhradním režimu !"},
    {"Faktury", "Tabulka faktur nelze otevřít ve výhradním režimu !"},
    {"FakZakazky", "Tabulka faktur zakázky (FMA) nelze otevřít ve výhradním režimu !"},
    {"FakZakInt", "Tabulka faktur zakázky (FMI) nelze otevřít ve výhradním režimu !"},
    {"FakOdpro", "Tabulka faktur odprodeje nelze otevřít ve výhradním režimu !"},
    {"FakNajem", "Tabulka faktur nájmů nelze otevřít ve výhradním režimu !"},
    {"FakNajemInt", "Tabulka int. faktur nájmů nelze otevřít ve výhradním režimu !"},
    {"FaktSlevy", "Tabulka slev faktur nelze otevřít ve výhradním režimu !"},
    {"DelProv", "Tabulka rozdělení provizí otevřít ve výhradním režimu !"},
    {"Pujcky", "Tabulka zápujčních dokladů nelze otevřít ve výhradním režimu !"},
    {"ZakVydejky", "Tabulka dokladů  výdejky na zakázku nelze otevřít ve výhradním režimu !"},
    {"ZapVratky", "Tabulka dokladů vráčení zápůjček nelze otevřít ve výhradním režimu !"},
    {"Dobropisy", "Tabulka dobropisů nelze otevřít ve výhradním režimu !"},
    {"Odberatele", "Tabulka faktur nelze otevřít ve výhradním režimu !"},
    {"OdbPob", "Tabulka faktur nelze otevřít ve výhradním režimu !"},
    {"SlevaKarta", "Tabulka ind. slev na kartu nelze otevřít ve výhradním režimu !"},
    {"SlevaSkupina", "Tabulka ind. slev na skupinu nelze otevřít ve výhradním režimu !"},
    {"Pokladna", "Tabulka pokladny nelze otevřít ve výhradním režimu !"},
    {"Uctenky", "Tabulka účtenek nelze otevřít ve výhradním režimu !"},
    {"Proformy", "Tabulka proforem nelze otevřít ve výhradním režimu !"},
    {"ObjHlav", "Tabulka proforem nelze otevřít ve výhradním režimu !"},
    {"NabHlav", "Tabulka NAH hlaviček nabídek otevřít ve výhradním režimu !"},
    {"BlokacePolozky", "Tabulka položek proforem nelze otevřít ve výhradním režimu !"},
    {"PodklPol", "Tabulka položek podkladů nelze otevřít ve výhradním režimu !"},
    {"NabPol", "Tabulka položek nabídky vydané nelze otevřít ve výhradním režimu !"},
    {"ObjPol", "Tabulka položek objednávek nelze otevřít ve výhradním režimu !"},
    {"FakVolPol", "Tabulka položek faktur spc. nelze otevřít ve výhradním režimu !"},
    {"Vypisy", "Tabulka uhrady dokladů nelze otevřít ve výhradním režimu !"},
    {"Poznamky", "Tabulka poznámky k dokladům nelze otevřít ve výhradním režimu !"},
    {"Hlasky", "Tabulka poznámky k dokladům nelze otevřít ve výhradním režimu !"},
    {"PrecHlav", "Tabulka hlaviček přecenění nelze otevřít ve výhradním režimu !"},
    {"PrecPol", "Tabulka položek přecenění nelze otevřít ve výhradním režimu !"},
    {"Vycetky", "Tabulka výčetek nelze otevřít ve výhradním režimu !"},
    {"UziPrava", "Tabulka pravidel přístupu otevřít ve výhradním režimu !"},
    {"InveHlav", "Tabulka hlaviček inventur nelze otevřít ve výhradním režimu !"},
    {"InvePol", "Tabulka položek inventru nelze otevřít ve výhradním režimu !"},
    {"InveSkl", "Tabulka položek inventru nelze otevřít ve výhradním režimu !"},
    {"ZapujDen", "Tabulka deniku půjčovny nelze otevřít ve výhradním režimu !"},
    {"DenikPujc", "Tabulka deniku půjčovny nelze otevřít ve výhradním režimu !"},
    {"DodavkyPujc", "Tabulka přijmu od dodavatelů půjčovny nelze otevřít ve výhradním režimu !"},
    {"PodklHlav", "Tabulka podkladů přijmu od dodavatelů nelze otevřít ve výhradním režimu !"},
};

TEST(RebuildCatalogue, ExclusiveFailureMessagesAreExact) {
  const auto& catalogue = RebuildCatalogue();
  ASSERT_EQ(std::size(kExclusiveMessages), catalogue.size());
  for (size_t i = 0; i < catalogue.size(); ++i) {
    EXPECT_EQ(catalogue[i].component, kExclusiveMessages[i].component);
    EXPECT_EQ(Cp1250ToUtf8(catalogue[i].exclusive_failure_message), kExclusiveMessages[i].text)
        << catalogue[i].component;
  }
}

}  // namespace
}  // namespace store
