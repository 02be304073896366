#include "saldex_tables.h"

#include <filesystem>
#include <set>

#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "dbf/file_names.h"
#include "dbf/system_path.h"

namespace demo {
namespace {

using K = dbf::FieldKind;

FieldDef Layout(const accounting::SaldexField& f) {
  const std::string& n = f.name;
  switch (f.kind) {
    case K::kString:
      return {n, 'C', f.width};
    case K::kSmallInt:
      return {n, 'N', 3};
    case K::kInteger:
      return {n, 'N', n == "RODNECISLO" ? 10 : 6};
    case K::kLargeInt:
      return {n, 'N', 10};
    case K::kDate:
      return {n, 'D', 8};
    case K::kBoolean:
      return {n, 'L', 1};
    default:
      return n == "KURS" ? FieldDef{n, 'N', 8, 3} : FieldDef{n, 'N', 12, 2};
  }
}

// Older receivables: invoice numbers the store never issued.
struct PastReceivable {
  const char* number;
  const char* date;  // yyyymmdd
  double amount;
  const char* customer;  // UTF-8
  const char* ico;
  const char* dic;
};

const PastReceivable kPast[] = {
    {"2200101", "20220114", 15230.00, "Hodinářství Růžička", "45274649", "CZ45274649"},
    {"2200102", "20220302", 2890.50, "Papírnictví U Čápa", "26185610", "CZ26185610"},
    {"2200103", "20220520", 48700.00, "Stavby Šťastný s.r.o.", "63999714", "CZ63999714"},
    {"2300104", "20230111", 7420.00, "Hodinářství Růžička", "45274649", "CZ45274649"},
    {"2300105", "20230415", 912.90, "Zahradnictví Žďár", "70890692", "CZ70890692"},
};

std::string Cp852(const std::string& utf8) {
  return dbf::Utf8ToCp852(utf8);
}

class SaldexWriter {
 public:
  explicit SaldexWriter(const std::string& dir) {
    receivables_.Open(dbf::ProgramPath(dir + "/KPOHLED.DBF"), false, true);
    addresses_.Open(dbf::ProgramPath(dir + "/ADRESAR.DBF"), false, true);
  }

  void Receivable(const std::string& number, const std::string& date, const std::string& due,
                  double amount, const std::string& name_852, const std::string& ico,
                  const std::string& dic) {
    dbf::DbfFile& t = receivables_;
    t.BlankRecord();
    t.PutString("CISLO", std::to_string(++counter_));
    t.PutString("TYPDOKLADU", "2");
    t.PutString("CISDOKLADU", number);
    t.PutString("VARIABILNI", number);
    t.PutString("DATUMVYSTA", date);
    t.PutString("DATUMSPLAT", due);
    t.PutString("DATUMPLNEN", date);
    t.PutString("ZPUS_UCTOV", "620001");
    t.PutString("POZNAMKA", name_852);
    t.PutString("ICO", ico);
    t.PutString("DIC", dic);
    t.PutNumber(t.RequireField("CASTKA"), amount);
    t.PutNumber(t.RequireField("ZAKLAD_Z"), amount / 1.22);
    t.PutNumber(t.RequireField("DPH_Z"), amount - amount / 1.22);
    t.PutString("MENA", Cp852("Kč"));
    t.Append();
  }

  void Address(const std::string& name_852, const std::string& ico, const std::string& dic,
               const std::string& person_852, const std::string& street_852,
               const std::string& town_852, const std::string& zip, const std::string& mail) {
    if (!ico.empty() && !known_ico_.insert(ico).second) return;
    dbf::DbfFile& t = addresses_;
    t.BlankRecord();
    t.PutString("NAZEV", name_852);
    t.PutString("ICO", ico);
    t.PutString("DIC", dic);
    t.PutString("JMENO", person_852);
    t.PutString("ULICE", street_852);
    t.PutString("MESTO", town_852);
    t.PutString("PSC", zip);
    t.PutString("PRIJMENI", person_852);
    t.PutString("E_MAIL", mail);
    t.PutString("KOD_CENY", "9");
    t.PutString("STAT", Cp852("Česká republika"));
    t.Append();
  }

  int32_t counter() const { return counter_; }

 private:
  dbf::DbfFile receivables_, addresses_;
  std::set<std::string> known_ico_;
  int32_t counter_ = 0;
};

std::string Trimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// The Korvana customer record of `code` (EXT_KOD), read from `customers`.
bool SeekCustomer(dbf::DbfFile& customers, const std::string& code) {
  for (uint32_t recno = 1; customers.GoTo(recno); ++recno) {
    if (!customers.deleted() && Trimmed(customers.GetString("EXT_KOD")) == code) return true;
  }
  return false;
}

// The table's path as the engine names it (code page 1250); empty when missing.
std::string Existing(const std::string& dir, const std::string& name) {
  const auto found = dbf::FindFileIgnoringCase(dbf::ProgramPath(dir + "/" + name));
  return found ? *found : std::string();
}

}  // namespace

std::vector<FieldDef> SaldexLayout(const std::vector<accounting::SaldexField>& fields) {
  std::vector<FieldDef> layout;
  for (const accounting::SaldexField& f : fields) layout.push_back(Layout(f));
  return layout;
}

void CreateSaldexTables(const std::string& dir, int32_t counter) {
  CreateTable(dir + "/KPOHLED.DBF", SaldexLayout(accounting::ReceivableFields()));
  CreateTable(dir + "/ADRESAR.DBF", SaldexLayout(accounting::AddressFields()));
  const std::string counters = dir + "/SYSTEMAK.DBF";
  CreateTable(counters, {{"POHLEDAVKY", 'N', 8}});
  dbf::DbfFile table;
  table.Open(dbf::ProgramPath(counters), false, true);
  table.BlankRecord();
  table.PutString("POHLEDAVKY", std::to_string(counter));
  table.Append();
}

int WriteSaldexDirectory(const std::string& dir, const std::string& korvana_dir,
                         const std::string& store_code) {
  std::filesystem::create_directories(dir);
  CreateSaldexTables(dir, 0);
  SaldexWriter saldex(dir);
  for (const PastReceivable& p : kPast) {
    saldex.Address(Cp852(p.customer), p.ico, p.dic, "", "", "", "", "");
    saldex.Receivable(p.number, p.date, p.date, p.amount, Cp852(p.customer), p.ico, p.dic);
  }
  saldex.Address(Cp852("Autoservis Pospíšil"), "25788001", "CZ25788001", Cp852("Pospíšil"),
                 Cp852("Dlouhá 12"), Cp852("Třebíč"), "67401", "servis@pospisil.cz");

  int exported = 0;
  const std::string invoices_path = Existing(korvana_dir, "Fak" + store_code + ".dbf");
  const std::string customers_path = Existing(korvana_dir, "Ext" + store_code + ".dbf");
  if (!invoices_path.empty() && !customers_path.empty()) {
    dbf::DbfFile invoices, customers;
    invoices.Open(invoices_path, true, false);
    customers.Open(customers_path, true, false);
    // The older three fifths of the store's invoices went to Saldex 2 last time.
    const uint32_t old_part = invoices.record_count() * 3 / 5;
    for (uint32_t recno = 1; recno <= old_part && invoices.GoTo(recno); ++recno) {
      if (invoices.deleted()) continue;
      if (!SeekCustomer(customers, Trimmed(invoices.GetString("HLA_ODB")))) continue;
      // Every seventh customer is new to Saldex 2: none of its invoices went there yet.
      if (customers.recno() % 7 == 0) continue;
      const std::string ico = Trimmed(customers.GetString("EXT_ICO"));
      const std::string dic = Trimmed(customers.GetString("EXT_DIC"));
      if (ico.empty() || dic.empty()) continue;
      saldex.Address(customers.GetString("EXT_NAC"), ico, dic, customers.GetString("EXT_KO1"),
                     customers.GetString("EXT_ULI"), customers.GetString("EXT_MES"),
                     customers.GetString("EXT_PSC"), customers.GetString("EXT_EML"));
      saldex.Receivable(Trimmed(invoices.GetString("HLA_DO1")),
                        Trimmed(std::string(invoices.Raw(invoices.RequireField("HLA_DVS")))),
                        Trimmed(std::string(invoices.Raw(invoices.RequireField("HLA_DSP")))),
                        invoices.GetNumber(invoices.RequireField("HLA_CUH")),
                        invoices.GetString("HLA_NAC"), ico, dic);
      ++exported;
    }
  }
  dbf::DbfFile counters;
  counters.Open(dbf::ProgramPath(dir + "/SYSTEMAK.DBF"), false, true);
  counters.GoTo(1);
  counters.PutString("POHLEDAVKY", std::to_string(saldex.counter()));
  counters.PutRecord(1);
  return exported;
}

}  // namespace demo
