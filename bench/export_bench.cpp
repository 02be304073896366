// The invoice export at real sizes: 20,000 invoices into a KPOHLED.DBF of
// 200,000 receivables and an ADRESAR.DBF of 20,000 addresses. A quarter of
// the invoices are in KPOHLED.DBF already (spread over the table), half of
// the 2,000 customers are in the address book, a tenth lack a DIČ.
//
// BM_Export/indexed exports all 20,000 invoices with the in-memory existence
// tests. BM_Export/sequential asks the sequential partial-key scans instead,
// over the first invoices only (each scan reads up to 200,000 receivables);
// its "per_invoice" counter times 20,000 gives the time of the whole run.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "accounting/data_ucto.h"
#include "accounting/invoice_export.h"
#include "bench_table.h"
#include "index/cursor_index_support.h"
#include "korvana_schema.h"
#include "saldex_tables.h"
#include "store/silent_operator.h"
#include "table_image.h"

namespace {

constexpr int kInvoices = 20000;
constexpr int kReceivables = 200000;
constexpr int kAddresses = 20000;
constexpr int kCustomers = 2000;
constexpr int kSequentialSlice = 100;

std::string InvoiceNumber(int i) {
  return std::to_string(2500001 + i);
}
std::string CustomerCode(int c) {
  return std::to_string(100000 + c);
}
std::string CustomerIco(int c) {
  return std::to_string(40000000 + c * 7);
}

// The fields of a store table as the demo store lays it out.
std::vector<demo::FieldDef> StoreLayout(const std::string& component) {
  for (const demo::KorvanaTableSchema& table : demo::KorvanaSchemas("0001")) {
    if (table.component == component) return table.fields;
  }
  return {};
}

void WriteInvoices(const std::string& path, int count) {
  demo::TableImage t(StoreLayout("Faktury"));
  for (int i = 0; i < count; ++i) {
    t.AddRecord();
    t.SetText("HLA_DO1", InvoiceNumber(i));
    t.SetText("HLA_ODB", CustomerCode(i * 7919 % kCustomers));
    t.SetText("HLA_NAC", "Stavebniny Úvaly a.s.");
    t.SetNumber("HLA_CUH", 1220 + i % 1000);
    t.SetNumber("HLA_Z22", 1000 + i % 1000);
    t.SetNumber("HLA_D22", 220);
    t.SetDate("HLA_DVS", 2025, 1 + i % 12, 1 + i % 28);
    t.SetDate("HLA_DZP", 2025, 1 + i % 12, 1 + i % 28);
    t.SetDate("HLA_DSP", 2025, 1 + i % 12, 1 + i % 28);
    t.SetText("HLA_OBC", "2");
  }
  t.Write(path);
}

void WriteCustomers(const std::string& path) {
  demo::TableImage t(StoreLayout("Odberatele"));
  for (int c = 0; c < kCustomers; ++c) {
    t.AddRecord();
    t.SetText("EXT_KOD", CustomerCode(c));
    t.SetText("EXT_ICO", CustomerIco(c));
    t.SetText("EXT_DIC", c % 10 == 9 ? "" : "CZ" + CustomerIco(c));
    t.SetText("EXT_NAC", "Železářství Novák " + std::to_string(c));
    t.SetText("EXT_ULI", "Dlouhá " + std::to_string(c));
    t.SetText("EXT_MES", "Třebíč");
    t.SetText("EXT_PSC", "67401");
    t.SetText("EXT_KO1", "Jan Novák");
  }
  t.Write(path);
}

// KPOHLED.DBF, ADRESAR.DBF and SYSTEMAK.DBF as they are before every run.
void WriteSaldex(const std::string& dir) {
  demo::CreateSaldexTables(dir, kReceivables);
  demo::TableImage receivables(demo::SaldexLayout(accounting::ReceivableFields()));
  for (int r = 0; r < kReceivables; ++r) {
    receivables.AddRecord();
    receivables.SetNumber("CISLO", r + 1);
    receivables.SetNumber("TYPDOKLADU", 2);
    // Every 40th receivable is one of the store's invoices (a quarter of them).
    const std::string number =
        r % 40 == 0 ? InvoiceNumber(r / 40 * 4 % kInvoices) : std::to_string(10000000 + r);
    receivables.SetText("CISDOKLADU", number);
    receivables.SetText("VARIABILNI", number);
    receivables.SetText("ICO", std::to_string(30000000 + r % 5000));
    receivables.SetNumber("CASTKA", 1000 + r % 777);
    receivables.SetText("MENA", "Kč");
  }
  receivables.Write(dir + "/KPOHLED.DBF");
  demo::TableImage addresses(demo::SaldexLayout(accounting::AddressFields()));
  for (int a = 0; a < kAddresses; ++a) {
    addresses.AddRecord();
    // Every 20th address belongs to a customer with an even number.
    addresses.SetText("ICO", a % 20 == 0 && a / 20 * 2 < kCustomers ? CustomerIco(a / 20 * 2)
                                                                    : std::to_string(50000000 + a));
    addresses.SetText("NAZEV", "Adresa " + std::to_string(a));
  }
  addresses.Write(dir + "/ADRESAR.DBF");
}

struct BenchStore {
  std::string dir, pristine, saldex;
};

const BenchStore& Store() {
  static const BenchStore store = [] {
    BenchStore s{bench::BenchDir() + "/export", bench::BenchDir() + "/export/pristine",
                 bench::BenchDir() + "/export/saldex"};
    std::filesystem::create_directories(s.pristine);
    std::filesystem::create_directories(s.saldex);
    WriteInvoices(s.dir + "/Fak0001.dbf", kInvoices);
    WriteInvoices(s.dir + "/Fak0002.dbf", kSequentialSlice);
    WriteCustomers(s.dir + "/Ext0001.dbf");
    dbf::DbfDataSet customers;  // the customers' tag KOD, as the store's rebuild gives it
    idx::InstallIndexSupport(customers);
    customers.SetDatabaseName(s.dir);
    customers.SetTableName("Ext0001.dbf");
    customers.Open();
    customers.CreateTag(s.dir + "/Ext0001.cdx", "KOD", "EXT_KOD", "", 0, 0);
    WriteSaldex(s.pristine);
    return s;
  }();
  return store;
}

void Restore(const BenchStore& s) {
  for (const char* name : {"KPOHLED.DBF", "ADRESAR.DBF", "SYSTEMAK.DBF"}) {
    std::filesystem::copy_file(s.pristine + "/" + name, s.saldex + "/" + name,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

void BM_Export(benchmark::State& state) {
  const BenchStore& s = Store();
  const auto method = static_cast<accounting::SearchMethod>(state.range(0));
  const bool sequential = method == accounting::SearchMethod::kSequential;
  accounting::ExportSummary summary;
  for (auto _ : state) {
    state.PauseTiming();
    Restore(s);
    dbf::DbfDataSet faktury, odberatele;
    faktury.SetDatabaseName(s.dir);
    faktury.SetTableName(sequential ? "Fak0002.dbf" : "Fak0001.dbf");
    faktury.Open();
    idx::InstallIndexSupport(odberatele);
    odberatele.SetDatabaseName(s.dir);
    odberatele.SetTableName("Ext0001.dbf");
    accounting::TDataUcto ucto;
    ucto.SetDirectory(s.saldex);
    ucto.Pohledavky.Open();
    ucto.Adresar.Open();
    store::SilentOperator op;
    accounting::InvoiceExport run({faktury, odberatele,
                                   [&] {
                                     odberatele.Open();
                                     odberatele.OpenIndexFile("Ext0001.cdx");
                                     odberatele.SelectTag("KOD");
                                     return true;
                                   },
                                   [&] { odberatele.Close(); }, ""},
                                  ucto, op, method);
    state.ResumeTiming();
    run.Run();
    summary = run.summary();
  }
  state.counters["invoices"] = summary.read;
  state.counters["exported"] = summary.exported;
  state.counters["present"] = summary.already_present;
  state.counters["per_invoice"] = benchmark::Counter(
      summary.read, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Export)
    ->ArgName("method")
    ->Arg(static_cast<int>(accounting::SearchMethod::kIndexed))
    ->Arg(static_cast<int>(accounting::SearchMethod::kSequential))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
