// saldex-demo-data DIR: writes a small sample store table into DIR.

#include <cstdio>
#include <string>

#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "table_creator.h"

namespace {

struct Invoice {
  const char* number;
  const char* customer;  // UTF-8
  const char* date;      // yyyymmdd
  double amount;
  bool paid;
};

const Invoice kInvoices[] = {
    {"2400001", "Žluťoučký kůň, s.r.o.", "20240105", 12500.00, true},
    {"2400002", "Pekárna Čáp a syn", "20240117", 3480.50, true},
    {"2400003", "Řeznictví Ďáblice", "20240203", 899.90, false},
    {"2400004", "Stavebniny Úvaly a.s.", "20240219", 45210.00, false},
    {"2400005", "Květinářství Šťastná", "20240301", 1275.00, true},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: saldex-demo-data DIR\n", stderr);
    return 2;
  }
  const std::string dir = argv[1];
  try {
    const std::string path = dir + "/Fak0001.dbf";
    demo::CreateTable(path, {{"HLA_DO1", 'C', 10},
                             {"HLA_NAC", 'C', 40},
                             {"HLA_DAT", 'D', 8},
                             {"HLA_CEN", 'N', 12, 2},
                             {"HLA_PLA", 'L', 1}});
    dbf::DbfFile table;
    table.Open(path, false, true);
    for (const Invoice& inv : kInvoices) {
      table.BlankRecord();
      table.PutString("HLA_DO1", inv.number);
      table.PutString("HLA_NAC", dbf::Utf8ToCp852(inv.customer));
      table.PutString("HLA_DAT", inv.date);
      table.PutNumber(table.RequireField("HLA_CEN"), inv.amount);
      table.PutLogical(table.RequireField("HLA_PLA"), inv.paid);
      table.Append();
    }
    std::printf("wrote %s\n", path.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
