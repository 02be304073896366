// The main window over a store of 1,000,000 invoices (offscreen): the time
// until the window stands ready on the last invoice with its grid filled, the
// time to show the first page after a jump to the first invoice, a page down,
// and the resident memory of the process with the window open.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "accounting/data_ucto.h"
#include "app/main_window.h"
#include "bench_table.h"
#include "korvana_directory.h"
#include "saldex_tables.h"
#include "store/data_module.h"
#include "store/silent_operator.h"

namespace {

constexpr int kInvoices = 1000000;

struct BigStore {
  std::string data_dir;
  std::string saldex_dir;
};

const BigStore& Store() {
  static const BigStore store = [] {
    BigStore s;
    s.data_dir = bench::BenchDir() + "/store/";
    s.saldex_dir = bench::BenchDir() + "/saldex/";
    demo::KorvanaSize size;
    size.invoices = kInvoices;
    size.customers = 2000;
    size.journal_entries = 1000;
    demo::WriteKorvanaTables(s.data_dir, size, "BENCH");
    demo::BuildKorvanaIndexes(s.data_dir);
    std::filesystem::create_directories(s.saldex_dir);
    demo::CreateSaldexTables(s.saldex_dir, 0);
    return s;
  }();
  return store;
}

double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

// The data modules and the main window, as the program starts them.
class OpenWindow {
 public:
  OpenWindow() : data_(op_) {
    const BigStore& store = Store();
    data_.settings.CestaData = store.data_dir;
    data_.settings.StoreCode = "0001";
    data_.settings.ExportDirectory = store.saldex_dir;
    data_.tables().SetLocations(store.data_dir, "0001");
    window_ = std::make_unique<app::MainWindow>(data_, ucto_, op_);
    window_->show();
    Settle();
  }
  ~OpenWindow() { window_->close(); }

  void Settle() {
    app::CursorTableModel* model = window_->InvoiceModel();
    while (model->refill_pending()) QApplication::processEvents();
    window_->DBGrid1()->viewport()->repaint();
  }
  app::MainWindow& window() { return *window_; }
  dbf::DbfDataSet& invoices() { return data_.Faktury(); }

 private:
  store::SilentOperator op_;
  store::TData data_;
  accounting::TDataUcto ucto_;
  std::unique_ptr<app::MainWindow> window_;
};

void BM_WindowReadyOnLastInvoice(benchmark::State& state) {
  Store();
  double rss = 0;
  int rows = 0;
  double invoices = 0;
  for (auto _ : state) {
    OpenWindow open;
    rows = open.window().InvoiceModel()->rowCount();
    invoices = open.invoices().RecordCount();
    if (!open.invoices().Eof()) state.SkipWithError("not on the last invoice");
    rss = ResidentMegabytes();
  }
  state.counters["rows_shown"] = rows;
  state.counters["invoices"] = invoices;
  state.counters["rss_MB"] = rss;
}
BENCHMARK(BM_WindowReadyOnLastInvoice)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_FirstPageAfterJumpToFirst(benchmark::State& state) {
  OpenWindow open;
  for (auto _ : state) {
    open.invoices().First();
    open.Settle();
    state.PauseTiming();
    open.invoices().Last();
    open.Settle();
    state.ResumeTiming();
  }
  state.counters["rss_MB"] = ResidentMegabytes();
}
BENCHMARK(BM_FirstPageAfterJumpToFirst)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PageDown(benchmark::State& state) {
  OpenWindow open;
  open.invoices().First();
  open.Settle();
  const int page = open.window().DBGrid1()->VisibleRows();
  for (auto _ : state) {
    if (open.invoices().MoveBy(page) == 0) open.invoices().First();
    open.Settle();
  }
  state.counters["page_rows"] = page;
}
BENCHMARK(BM_PageDown)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(bench::BenchDir(), ignored);
  return 0;
}
