// Receivables and addresses written by the export, read back by an
// independent DBF reader (Debian's python3-dbfread, run as a program by the
// system Python it is packaged for).

#include <cstdio>
#include <sstream>

#include "dbf/clock.h"

#include "export_fixture.h"

namespace accounting_testing {
namespace {

// Every record of `path` as dbfread decodes it with code page 852: one
// "name=value" map per record, then the header's count and date under "#".
constexpr const char* kReader = R"(
import sys
from dbfread import DBF
table = DBF(sys.argv[1], encoding='cp852', char_decode_errors='strict')
for record in table:
    for name, value in record.items():
        if value is None:
            value = ''
        elif hasattr(value, 'isoformat'):
            value = value.isoformat()
        elif isinstance(value, bool):
            value = 'T' if value else 'F'
        elif isinstance(value, float):
            value = '%.2f' % value
        print('%s=%s' % (name, value))
    print('---')
print('#count=%d' % table.header.numrecords)
print('#date=%s' % table.date.isoformat())
)";

struct DbfRead {
  std::vector<std::map<std::string, std::string>> records;  // UTF-8
  std::map<std::string, std::string> header;
};

bool DbfReadInstalled() {
  return std::system("/usr/bin/python3 -c 'import dbfread' >/dev/null 2>&1") == 0;
}

DbfRead ReadWithDbfRead(const std::string& script_dir, const std::string& table) {
  const std::string script = script_dir + "/read_dbf.py";
  std::ofstream(script) << kReader;
  DbfRead result;
  FILE* pipe = ::popen(("/usr/bin/python3 " + script + " " + table).c_str(), "r");
  if (!pipe) return result;
  std::string out;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  EXPECT_EQ(::pclose(pipe), 0) << out;
  std::istringstream lines(out);
  std::map<std::string, std::string> record;
  for (std::string line; std::getline(lines, line);) {
    if (line == "---") {
      result.records.push_back(record);
      record.clear();
    } else if (line.starts_with("#")) {
      result.header[line.substr(1, line.find('=') - 1)] = line.substr(line.find('=') + 1);
    } else {
      record[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    }
  }
  return result;
}

std::string Today() {
  const dbf::LocalTime now = dbf::Now();
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", now.year, now.month, now.day);
  return text;
}

TEST_F(ExportTest, DbfReadReadsTheExportedRecords) {
  if (!DbfReadInstalled()) GTEST_SKIP() << "python3-dbfread is not installed";
  AddSaldexRecord("KPOHLED.DBF", {{"CISLO", "41"}, {"CISDOKLADU", "2300999"}});
  AddCustomer({.code = "1",
               .ico = "45274649",
               .dic = "CZ45274649",
               .name = "Žluťoučký kůň, s.r.o.",
               .person = "Šárka Řeháková",
               .street = "Údolní 7",
               .town = "Ústí nad Labem",
               .zip = "40001"});
  AddInvoice({.number = "2400017",
              .customer = "1",
              .due = "",
              .name = "Žluťoučký kůň",
              .total = 12500.5,
              .base22 = 10246.31,
              .vat22 = 2254.19,
              .dealer = "3"});
  AddInvoice({.number = "2400018", .customer = "1", .issued = "20240229", .dealer = ""});
  Export();
  ucto_.Pohledavky.Close();
  ucto_.Adresar.Close();

  const DbfRead receivables = ReadWithDbfRead(dir_.path(), Saldex("KPOHLED.DBF"));
  ASSERT_EQ(receivables.records.size(), 3u);
  EXPECT_EQ(receivables.header.at("count"), "3");
  EXPECT_EQ(receivables.header.at("date"), Today());
  auto first = receivables.records.at(1);
  EXPECT_EQ(first["CISLO"], "42");
  EXPECT_EQ(first["TYPDOKLADU"], "2");
  EXPECT_EQ(first["CISDOKLADU"], "2400017");
  EXPECT_EQ(first["VARIABILNI"], "2400017");
  EXPECT_EQ(first["DATUMVYSTA"], "2024-01-05");
  EXPECT_EQ(first["DATUMSPLAT"], "1899-12-30");
  EXPECT_EQ(first["POZNAMKA"], "Žluťoučký kůň");
  EXPECT_EQ(first["ICO"], "45274649");
  EXPECT_EQ(first["DIC"], "CZ45274649");
  EXPECT_EQ(first["CASTKA"], "12500.50");
  EXPECT_EQ(first["ZAKLAD_Z"], "10246.31");
  EXPECT_EQ(first["DPH_Z"], "2254.19");
  EXPECT_EQ(first["ZAKAZKA"], "3");
  EXPECT_EQ(first["ZPUS_UCTOV"], "620001");
  EXPECT_EQ(first["MENA"], "Kč");
  EXPECT_EQ(first["UCTOVANO"], "");  // a blank logical, as a new record has it
  EXPECT_EQ(first["PECET"], "");
  auto second = receivables.records.at(2);
  EXPECT_EQ(second["CISLO"], "43");
  EXPECT_EQ(second["DATUMVYSTA"], "2024-02-29");
  EXPECT_EQ(second["ZAKAZKA"], "0");

  const DbfRead addresses = ReadWithDbfRead(dir_.path(), Saldex("ADRESAR.DBF"));
  ASSERT_EQ(addresses.records.size(), 1u);
  EXPECT_EQ(addresses.header.at("count"), "1");
  auto address = addresses.records.at(0);
  EXPECT_EQ(address["NAZEV"], "Žluťoučký kůň, s.r.o.");
  EXPECT_EQ(address["JMENO"], "Šárka Řeháková");
  EXPECT_EQ(address["PRIJMENI"], "Šárka Řeháková");
  EXPECT_EQ(address["ULICE"], "Údolní 7");
  EXPECT_EQ(address["MESTO"], "Ústí nad Labem");
  EXPECT_EQ(address["PSC"], "40001");
  EXPECT_EQ(address["ICO"], "45274649");
  EXPECT_EQ(address["KOD_CENY"], "9");
  EXPECT_EQ(address["DATUMUVYST"], "");

  const DbfRead counters = ReadWithDbfRead(dir_.path(), Saldex("SYSTEMAK.DBF"));
  ASSERT_EQ(counters.records.size(), 1u);
  EXPECT_EQ(counters.records.at(0).at("POHLEDAVKY"), "43");
}

}  // namespace
}  // namespace accounting_testing
