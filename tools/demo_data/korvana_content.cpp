#include "korvana_content.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <set>
#include <vector>

#include "czech_names.h"
#include "dbf/dates.h"

namespace demo {
namespace {

// The demo store's history runs over two whole years.
const dbf::CivilDate kFirstDay{2024, 1, 2};
const dbf::CivilDate kLastDay{2025, 12, 30};

std::string Format(const char* pattern, long long value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

double Round2(double value) {
  return std::round(value * 100.0) / 100.0;
}

template <typename T>
const T& Pick(std::span<const T> list, std::mt19937& random) {
  return list[std::uniform_int_distribution<size_t>(0, list.size() - 1)(random)];
}

// Sets a date field from days since 1899-12-30.
void SetDay(TableImage& table, std::string_view field, int64_t days) {
  const dbf::CivilDate date = dbf::CivilFromDays(days);
  table.SetDate(field, date.year, date.month, date.day);
}

// A registration number with a valid check digit (weights 8..2, modulo 11).
std::string Ico(int seed) {
  std::string digits = Format("%07lld", 2500000 + seed * 7919LL % 4000000);
  int sum = 0;
  for (int i = 0; i < 7; ++i) sum += (digits[i] - '0') * (8 - i);
  const int check = (11 - sum % 11) % 10;
  return digits + static_cast<char>('0' + check);
}

struct Customer {
  std::string code;
  std::string name;
  bool has_ico;
};

class Generator {
 public:
  Generator(std::map<std::string, TableImage>& tables, const KorvanaSize& size)
      : tables_(tables), size_(size), random_(20240102) {}

  TableImage* Table(const std::string& component) {
    auto it = tables_.find(component);
    return it == tables_.end() ? nullptr : &it->second;
  }

  void Customers() {
    TableImage* t = Table("Odberatele");
    if (!t) return;
    for (int i = 0; i < size_.customers; ++i) {
      const auto companies = CompanyNames();
      std::string name = std::string(companies[i % companies.size()]);
      if (i >= static_cast<int>(companies.size()))
        name += " " + std::string(Pick(Towns(), random_));
      name += Pick(LegalForms(), random_);
      const Customer customer{Format("%07lld", 1001 + i), name, i % 4 != 3};
      t->AddRecord();
      t->SetText("EXT_KOD", customer.code);
      t->SetNumber("EXT_CIS", i + 1);
      t->SetText("EXT_POB", "0001");
      if (customer.has_ico) {
        t->SetText("EXT_ICO", Ico(i));
        if (i % 7 != 5) t->SetText("EXT_DIC", "CZ" + Ico(i));
      }
      t->SetText("EXT_ALI", name.substr(0, name.find(' ')));
      t->SetText("EXT_NAC", name);
      t->SetText("EXT_ULI",
                 std::string(Pick(Streets(), random_)) + " " + std::to_string(1 + i % 97));
      t->SetText("EXT_MES", Pick(Towns(), random_));
      t->SetText("EXT_PSC", Format("%05lld", 10000 + i * 1373 % 80000));
      t->SetText("EXT_UCE", Format("%lld/0100", 1000000 + i * 7777LL));
      t->SetText("EXT_BAN", i % 2 ? "Komerční banka" : "Česká spořitelna");
      t->SetText("EXT_TEL", Format("+420 2%08lld", 1000000 + i * 3131LL));
      t->SetText("EXT_EML", Format("obchod%lld@example.cz", i + 1));
      SetDay(*t, "EXT_POR", dbf::DaysFromCivil(kFirstDay) - 400 + i);
      SetDay(*t, "EXT_AKT", dbf::DaysFromCivil(kFirstDay) + 3 * i);
      t->SetText("EXT_VLA", "01");
      t->SetText("EXT_TYP", i % 3 ? "VO" : "MO");
      t->SetNumber("EXT_SPL", i % 5 ? 14 : 30);
      t->SetText("EXT_CEN", "A");
      t->SetText("EXT_FUH", "P");
      t->SetText("EXT_FDO", "V");
      t->SetText("EXT_OLD", "N");
      t->SetText("EXT_KO1", std::string(Pick(FirstNames(), random_)) + " " +
                                std::string(Pick(Surnames(), random_)));
      t->SetText("EXT_KAL", "1");
      customers_.push_back(customer);
    }
  }

  void Invoices() {
    TableImage* t = Table("Faktury");
    TableImage* payments = Table("Vypisy");
    TableImage* notes = Table("Poznamky");
    if (!t || customers_.empty()) return;
    const int64_t first = dbf::DaysFromCivil(kFirstDay), last = dbf::DaysFromCivil(kLastDay);
    const int64_t span = last - first;
    int sequence = 0, year = 0;
    for (int k = 0; k < size_.invoices; ++k) {
      const int64_t day = first + span * k / std::max(1, size_.invoices - 1);
      const dbf::CivilDate date = dbf::CivilFromDays(day);
      if (date.year != year) year = date.year, sequence = 0;
      const std::string number = Format("%lld", (year % 100) * 100000LL + ++sequence);
      const Customer& customer = customers_[random_() % customers_.size()];
      const double base22 = Round2(std::uniform_real_distribution<double>(300, 60000)(random_));
      const double base05 = k % 5 == 0 ? Round2(base22 * 0.1) : 0.0;
      const double vat22 = Round2(base22 * 0.21), vat05 = Round2(base05 * 0.12);
      const double exact = base22 + base05 + vat22 + vat05;
      const double total = std::round(exact);
      const int64_t due = day + 14;
      const bool old = last - day > 60;
      const bool paid = old ? random_() % 10 != 0 : random_() % 3 == 0;
      const bool partly = !paid && random_() % 4 == 0;
      const int64_t paid_on =
          std::min<int64_t>(last, due - 5 + static_cast<int64_t>(random_() % 20));
      t->AddRecord();
      SetDay(*t, "HLA_DAT", day);
      t->SetText("HLA_DO1", number);
      if (k % 3 == 0) t->SetText("HLA_DO2", Format("OBJ%lld", 24000 + k));
      if (k % 11 == 0) t->SetText("HLA_DO3", Format("PF%lld", 240000 + k));
      t->SetText("HLA_ODB", customer.code);
      if (k % 6 == 0) t->SetText("HLA_ODP", "001");
      t->SetText("HLA_NAC", customer.name);
      t->SetNumber("HLA_CUH", total);
      t->SetNumber("HLA_FHV", Round2(total - exact));
      t->SetNumber("HLA_PCA", Round2(total * 1.03));
      t->SetNumber("HLA_NCA", Round2(total * 0.74));
      SetDay(*t, "HLA_DVS", day);
      SetDay(*t, "HLA_DZP", day);
      SetDay(*t, "HLA_DSP", due);
      t->SetText("HLA_FUH", k % 4 ? "P" : "H");
      t->SetNumber("HLA_SBD", 0);
      t->SetText("HLA_FDO", "V");
      t->SetNumber("HLA_Z00", 0);
      t->SetNumber("HLA_Z05", base05);
      t->SetNumber("HLA_Z22", base22);
      t->SetNumber("HLA_D05", vat05);
      t->SetNumber("HLA_D22", vat22);
      t->SetLogical("HLA_PLA", paid);
      t->SetLogical("HLA_EDT", false);
      t->SetLogical("HLA_PRN", old);
      t->SetText("HLA_REF", "01");
      t->SetNumber("HLA_SLE", k % 8 == 0 ? 3 : 0);
      t->SetText("HLA_CEN", "A");
      t->SetLogical("HLA_TSK", true);
      // The salesperson by user number: Saldex 2 takes it as a whole number.
      t->SetText("HLA_OBC", k % 2 ? "002" : "003");
      t->SetNumber("HLA_PRV", 0);
      if (paid || partly) {
        const double amount = paid ? total : std::round(total / 2);
        SetDay(*t, "HLA_BDP", paid_on);
        t->SetNumber("HLA_BPL", amount);
        if (payments) Payment(*payments, number, paid_on, amount, k);
      } else {
        t->SetNumber("HLA_BPL", 0);
      }
      if (notes && k % 9 == 0) {
        notes->AddRecord();
        notes->SetText("POZ_DOK", number);
        notes->SetText("POZ_TEX", Pick(Notes(), random_));
      }
      last_invoice_ = number;
    }
  }

  void Payment(TableImage& t, const std::string& invoice, int64_t day, double amount, int k) {
    const bool split = k % 7 == 0 && amount > 1000;
    const double first = split ? std::round(amount * 0.4) : amount;
    for (double part :
         split ? std::vector<double>{first, amount - first} : std::vector<double>{amount}) {
      const dbf::CivilDate date = dbf::CivilFromDays(day);
      t.AddRecord();
      t.SetText("VYP_DO2", Format("VYP%lld", date.year % 100 * 100LL + date.month));
      SetDay(t, "VYP_DVS", day);
      t.SetText("VYP_TYP", k % 4 ? "BAN" : "HOT");
      t.SetNumber("VYP_HOD", part);
      t.SetLogical("VYP_PRN", false);
      t.SetText("VYP_DO1", invoice);
      SetDay(t, "VYP_DAT", day + 1);
      t.SetNumber("VYP_KOE", 1);
      day = std::min(day + 10, dbf::DaysFromCivil(kLastDay));
    }
  }

  void PaymentTypes() {
    TableImage* t = Table("TypPlatby");
    if (!t) return;
    const std::pair<const char*, const char*> types[] = {{"BAN", "Bankovní převod"},
                                                         {"HOT", "Hotovost"},
                                                         {"KAR", "Platební karta"},
                                                         {"ZAP", "Zápočet pohledávek"},
                                                         {"DOB", "Dobírka České pošty"}};
    for (const auto& [code, name] : types) {
      t->AddRecord();
      t->SetText("BPT_KOD", code);
      t->SetText("BPT_NAC", name);
    }
    if (TableImage* forms = Table("FormaUhrady")) {
      const std::pair<const char*, const char*> kinds[] = {
          {"P", "Převodním příkazem"}, {"H", "Hotově"}, {"D", "Dobírkou"}};
      for (const auto& [code, name] : kinds) {
        forms->AddRecord();
        forms->SetText("FUH_KOD", code);
        forms->SetText("FUH_NAC", name);
      }
    }
  }

  void Users(const std::string& os_user) {
    TableImage* t = Table("Uzivatele");
    TableImage* rights = Table("UziPrava");
    if (!t) return;
    struct User {
      std::string code, login, password, initials, group, name;
    };
    std::vector<User> users = {{"001", "ADMIN", "ADMIN", "AD", "ADM", "Správce systému"},
                               {"002", "NOVAK", "Heslo1", "JN", "OBC", "Novák Jiří, Ing."},
                               {"003", "SVOBODOVA", "Kocka7 ", "ES", "OBC", "Svobodová Eva"},
                               {"004", "ŠŤASTNÝ", "Zeli", "LS", "SKL", "Šťastný Luboš"}};
    if (!os_user.empty() && os_user != "ADMIN" && os_user != "NOVAK" && os_user != "SVOBODOVA") {
      users.push_back({"005", os_user, "DEMO", "DE", "ADM", "Předváděcí účet"});
    }
    for (const User& user : users) {
      t->AddRecord();
      t->SetText("USR_KOD", user.code);
      t->SetText("USR_LNA", user.login);
      t->SetText("USR_PSW", user.password);
      t->SetText("USR_INI", user.initials);
      t->SetText("USR_GRP", user.group);
      t->SetText("USR_NAC", user.name);
      t->SetText("USR_TEL", "+420 222 333 " + user.code);
      t->SetText("USR_EML", "uzivatel" + user.code + "@zelezarstvi.example.cz");
      if (!rights) continue;
      for (const char* task : {"FAK", "EXP", "SYS"}) {
        rights->AddRecord();
        rights->SetText("URS_KOD", user.code);
        rights->SetText("URS_URT", task);
        rights->SetNumber("URS_URS", user.group == "ADM" ? 2 : 1);
      }
    }
  }

  void Owner() {
    TableImage* t = Table("Vlastnik");
    if (!t) return;
    t->AddRecord();
    t->SetText("VLA_KOD", "000001");
    t->SetText("VLA_ICO", Ico(4711));
    t->SetText("VLA_DIC", "CZ" + Ico(4711));
    t->SetText("VLA_JED", "0001");
    t->SetText("VLA_FIR", "Železářství U Kříže s.r.o.");
    t->SetText("VLA_NAC", "Prodejna Žižkov");
    t->SetText("VLA_ULI", "Táboritská 1284/23");
    t->SetText("VLA_MES", "Praha 3");
    t->SetText("VLA_PSC", "13000");
    t->SetText("VLA_STA", "Česká republika");
    t->SetText("VLA_TEL", "+420 222 781 450");
    t->SetText("VLA_FAX", "+420 222 781 451");
    t->SetText("VLA_EML", "prodejna@zelezarstvi.example.cz");
    t->SetText("VLA_JME", "Jiří Novák");
    t->SetText("VLA_MOB", "+420 603 112 233");
    t->SetText("VLA_KRA", "Hlavní město");
    t->SetText("VLA_UCE", "1928374655/0800");
    t->SetText("VLA_BAN", "Česká spořitelna");
    t->SetText("VLA_ZAP", "C 123456 vedená u Městského soudu v Praze");
    SetDay(*t, "VLA_POC", dbf::DaysFromCivil(kFirstDay));
    t->SetText("VLA_UNA", "Železářství U Kříže");
    t->SetText("VLA_UUL", "Táboritská 23");
    t->SetText("VLA_UME", "Praha 3");
    t->SetText("VLA_UPS", "13000");
    t->SetLogical("VLA_UMP", false);
    t->SetNumber("VLA_PR1", 1);
    t->SetNumber("VLA_PR2", 1);
    t->SetText("VLA_KOS", "0308");
  }

  void Counters() {
    TableImage* t = Table("Ciselnik");
    if (!t) return;
    t->AddRecord();
    for (const FieldDef& f : t->fields()) {
      if (f.type == 'C') t->SetText(f.name, Format("25%05lld", 17 + f.name[5] % 13));
    }
    t->SetNumber("CIS_ODB", size_.customers);
    t->SetNumber("CIS_DEN", size_.journal_entries);
    t->SetNumber("CIS_DEP", 0);
    t->SetNumber("CIS_ZPD", 0);
    t->SetText("CIS_FAK", last_invoice_);
    t->SetText("CIS_FAL", "FL2500012");
  }

  void Journal() {
    TableImage* t = Table("Denik");
    if (!t) return;
    const int64_t first = dbf::DaysFromCivil(kFirstDay), last = dbf::DaysFromCivil(kLastDay);
    const char* operations[] = {"PRI", "FAK", "VYD", "UCT"};
    std::vector<int> stock(200, 50);
    for (int i = 0; i < size_.journal_entries; ++i) {
      const int64_t day = first + (last - first) * i / std::max(1, size_.journal_entries - 1);
      const int card = static_cast<int>(random_() % stock.size());
      const int op = static_cast<int>(random_() % 4);
      const int pieces = 1 + static_cast<int>(random_() % 12);
      stock[card] += op == 0 ? pieces : -pieces;
      if (stock[card] < 0) stock[card] += 100;
      const double price = 19.9 + card * 3.5;
      t->AddRecord();
      t->SetNumber("DEN_RAD", i + 1);
      SetDay(*t, "DEN_DAT", day);
      t->SetText("DEN_KDY", Format("%02lld:", 7 + i % 11) + Format("%02lld", i * 7 % 60));
      t->SetText("DEN_DOK", Format(op == 1 ? "%lld" : "PR%lld", 2400000 + i / 3));
      t->SetText("DEN_KAV", Format("%06lld", 100 + card));
      t->SetText("DEN_IND", "001");
      t->SetText("DEN_OPE", operations[op]);
      t->SetNumber("DEN_KUS", op == 0 ? pieces : -pieces);
      t->SetNumber("DEN_HPC", Round2(price * pieces));
      t->SetNumber("DEN_HNC", Round2(price * 0.74 * pieces));
      t->SetNumber("DEN_DAN", Round2(price * pieces * 0.21));
      t->SetNumber("DEN_ZAS", stock[card]);
      t->SetText("DEN_REF", "01");
      t->SetNumber("DEN_POZ", 0);
      t->SetText("DEN_PRN", "N");
    }
  }

  // Every remaining table: a few plausible records from its field layout.
  void Others() {
    static const std::set<std::string> kDone = {
        "Odberatele", "Faktury",  "Vypisy",   "Poznamky", "TypPlatby", "FormaUhrady",
        "Uzivatele",  "UziPrava", "Vlastnik", "Ciselnik", "Denik"};
    for (auto& [component, table] : tables_) {
      if (kDone.count(component)) continue;
      for (int r = 0; r < size_.other_records; ++r) {
        table.AddRecord();
        for (const FieldDef& f : table.fields()) Fill(table, component, f, r);
      }
    }
  }

  void Fill(TableImage& t, const std::string& component, const FieldDef& f, int r) {
    const std::string suffix = f.name.substr(4);
    switch (f.type) {
      case 'D':
        SetDay(t, f.name, dbf::DaysFromCivil(kFirstDay) + 55 * r);
        return;
      case 'L':
        t.SetLogical(f.name, r % 3 == 0);
        return;
      case 'N':
        t.SetNumber(f.name, f.decimals ? (r % 7) * 1.5 : r % 7);
        return;
      default:
        break;
    }
    if (suffix == "NAC" || suffix == "FIR" || suffix == "POP") {
      t.SetText(f.name, component.rfind("Sorti", 0) == 0
                            ? Products()[r % Products().size()]
                            : CompanyNames()[r % CompanyNames().size()]);
    } else if (suffix == "KDO" || suffix == "KVY") {
      t.SetText(f.name, Surnames()[r % Surnames().size()]);
    } else if (suffix == "ICO" || suffix == "DIC") {
      t.SetText(f.name, (suffix == "DIC" ? "CZ" : "") + Ico(100 + r));
    } else if (suffix == "EXT" || suffix == "ODB" || suffix == "HLA") {
      t.SetText(f.name, Format("%07lld", 1001 + r % std::max(1, size_.customers)));
    } else if (suffix == "IND" || suffix == "ODP" || suffix == "POS") {
      t.SetText(f.name, Format("%03lld", 1 + r % 2));
    } else if (f.width <= 4) {
      t.SetText(f.name, std::to_string(r % 10));
    } else {
      t.SetText(f.name, Format("%06lld", 100 + r));
    }
  }

 private:
  std::map<std::string, TableImage>& tables_;
  const KorvanaSize& size_;
  std::mt19937 random_;
  std::vector<Customer> customers_;
  std::string last_invoice_;
};

}  // namespace

void FillKorvanaTables(std::map<std::string, TableImage>& tables, const KorvanaSize& size,
                       const std::string& os_user) {
  Generator generator(tables, size);
  generator.Customers();
  generator.Invoices();
  generator.PaymentTypes();
  generator.Users(os_user);
  generator.Owner();
  generator.Counters();
  generator.Journal();
  generator.Others();
}

}  // namespace demo
