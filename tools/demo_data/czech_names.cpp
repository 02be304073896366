#include "czech_names.h"

#include <array>

namespace demo {
namespace {

constexpr std::array<std::string_view, 24> kCompanies = {
    "Žluťoučký kůň",        "Pekárna Čáp a syn", "Řeznictví Ďáblice",   "Stavebniny Úvaly",
    "Květinářství Šťastná", "Elektro Hýbl",      "Truhlářství Šebesta", "Autodíly Říha",
    "Zahradnictví Jiřička", "Kovovýroba Němec",  "Papírnictví Růžička", "Instalatérství Dvořák",
    "Pila Ševčík",          "Textil Nováčková",  "Mlékárna Kunín",      "Pivovar Žatec",
    "Lékárna U Anděla",     "Sklárna Křížek",    "Tiskárna Pospíšil",   "Obuv Škoda",
    "Hračky Čtvrtník",      "Vinařství Löffler", "Potraviny Hůlka",     "Úklidové služby Bílý"};
constexpr std::array<std::string_view, 5> kLegalForms = {", s.r.o.", " a.s.", ", v.o.s.", "",
                                                         " s.r.o."};
constexpr std::array<std::string_view, 16> kSurnames = {
    "Novák", "Svobodová", "Dvořák",  "Černý",   "Procházková", "Kučera",    "Veselý",  "Horáková",
    "Němec", "Marková",   "Pokorný", "Hájková", "Král",        "Jelínková", "Růžička", "Beneš"};
constexpr std::array<std::string_view, 12> kFirstNames = {"Jiří",   "Jana",   "Petr",   "Marie",
                                                          "Tomáš",  "Lucie",  "Václav", "Eva",
                                                          "Ondřej", "Zdeňka", "Luboš",  "Šárka"};
constexpr std::array<std::string_view, 14> kTowns = {
    "Praha 4", "Brno",           "Ostrava",        "Plzeň",     "Olomouc", "České Budějovice",
    "Liberec", "Hradec Králové", "Ústí nad Labem", "Pardubice", "Zlín",    "Jihlava",
    "Třebíč",  "Kroměříž"};
constexpr std::array<std::string_view, 12> kStreets = {
    "Náměstí Míru", "Husova", "Žižkova",   "Palackého",     "Masarykova", "Nádražní",
    "U Pošty",      "Dlouhá", "Křižíkova", "Třída Svobody", "Šumavská",   "Jiráskova"};
constexpr std::array<std::string_view, 20> kProducts = {
    "Šroub M8 pozinkovaný", "Hřebík 60 mm",     "Barva vnitřní bílá",    "Štětec plochý 50",
    "Lepidlo na dlažbu",    "Sádrokarton 12,5", "Žárovka LED 9 W",       "Kabel CYKY 3x2,5",
    "Vrtačka příklepová",   "Řezný kotouč 125", "Hadice zahradní 19 mm", "Rukavice pracovní",
    "Těsnicí páska",        "Kolečko zahradní", "Žebřík hliníkový",      "Úhelník ocelový",
    "Čisticí prostředek",   "Síťka na okno",    "Dlažba terakota",       "Lak na dřevo"};
constexpr std::array<std::string_view, 6> kNotes = {
    "Dodáno na stavbu v Úvalech", "Zákazník žádá dodací list", "Platba po dodání zboží",
    "Sleva dohodnuta s vedoucím", "Faktura zaslána e-mailem",  "Převzal p. Šťastný"};

}  // namespace

std::span<const std::string_view> CompanyNames() {
  return kCompanies;
}
std::span<const std::string_view> LegalForms() {
  return kLegalForms;
}
std::span<const std::string_view> Surnames() {
  return kSurnames;
}
std::span<const std::string_view> FirstNames() {
  return kFirstNames;
}
std::span<const std::string_view> Towns() {
  return kTowns;
}
std::span<const std::string_view> Streets() {
  return kStreets;
}
std::span<const std::string_view> Products() {
  return kProducts;
}
std::span<const std::string_view> Notes() {
  return kNotes;
}

}  // namespace demo
