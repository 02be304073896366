// The invoice overview of 100,000 invoices in one range: staging through tag
// DAT into the staging table, the text dump, the report rendered into a
// landscape PDF (about 2,900 pages) by the program's own PDF writer and, for
// comparison, by Qt's PDF engine, and the preview opened on page 1. The
// "peak_rss_mb" counter is the process's peak resident set after the
// benchmark; run one benchmark per process (--benchmark_filter) for the peak
// of each step alone.
//
// Set OVERVIEW_BENCH_PDF to keep the rendered PDF under that name. Set
// OVERVIEW_YARDSTICK to a script "SCRIPT DUMP OUT.pdf" that draws the same
// rows from the text dump (the ReportLab yardstick): BM_PdfRendering then
// runs it once after its own run and reports "vs_yardstick", its time over
// the script's whole-process time (the script's start-up included).

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "app/report/painter_surface.h"
#include "app/report/report_output.h"
#include "app/report/report_preview.h"
#include "bench_table.h"
#include "index/cursor_index_support.h"
#include "korvana_schema.h"
#include "reports/data_sestavy.h"
#include "reports/layout_canvas.h"
#include "store/data_module.h"
#include "store/silent_operator.h"
#include "table_image.h"

namespace {

constexpr int kInvoices = 100000;

std::vector<demo::FieldDef> StoreLayout(const std::string& component) {
  for (const demo::KorvanaTableSchema& table : demo::KorvanaSchemas("0001")) {
    if (table.component == component) return table.fields;
  }
  return {};
}

// 100,000 invoices over the years 2004 to 2006, a hundred a day, with the
// invoice table's tag DAT and the company header.
void WriteStore(const std::string& data) {
  demo::TableImage t(StoreLayout("Faktury"));
  for (int i = 0; i < kInvoices; ++i) {
    t.AddRecord();
    const int day = i * 7 % 1000;  // not in date order in the file
    t.SetDate("HLA_DAT", 2004 + day / 336, 1 + day / 28 % 12, 1 + day % 28);
    t.SetText("HLA_DO1", std::to_string(2004000001 + i));
    t.SetText("HLA_DO2", "OBJ" + std::to_string(i % 5000));
    t.SetText("HLA_ODB", std::to_string(100000 + i % 2000));
    t.SetText("HLA_ODP", "001");
    t.SetText("HLA_NAC", i % 3 == 0 ? "Stavebniny Úvaly a.s." : "Železářství Čížek & syn");
    t.SetNumber("HLA_CUH", 1220 + i % 1000);
    t.SetNumber("HLA_NCA", 800 + i % 700);
    t.SetNumber("HLA_Z22", 1000 + i % 1000);
    t.SetNumber("HLA_Z05", i % 4 == 0 ? 95.24 : 0);
    t.SetNumber("HLA_D22", 220);
    t.SetNumber("HLA_D05", i % 4 == 0 ? 4.76 : 0);
    t.SetNumber("HLA_FHV", (i % 100 - 50) / 100.0);
  }
  t.Write(data + "Fak0001.dbf");
  demo::TableImage vlastnik(StoreLayout("Vlastnik"));
  vlastnik.AddRecord();
  vlastnik.SetText("VLA_NAC", "Pobočka Brno");
  vlastnik.Write(data + "Vla0000.dbf");
  dbf::DbfDataSet table;
  idx::InstallIndexSupport(table);
  table.SetDatabaseName(data);
  table.SetTableName("Fak0001");
  table.Open();
  table.CreateTag("Fak0001.cdx", "DAT", "HLA_DAT", "", 1, 0);
  table.Close();
}

// The store, written once per process by a child process, so that the
// generator's memory stays out of the peak resident set measured here.
std::string DataDir() {
  static const std::string dir = [] {
    const std::string data = bench::BenchDir() + "/data/";
    std::filesystem::create_directories(data);
    const pid_t child = fork();
    if (child == 0) {
      WriteStore(data);
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
    return data;
  }();
  return dir;
}

double PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The data modules over the generated store, the current directory the
// benchmark directory (where the dump goes).
struct Overview {
  Overview() : data(op), sestavy(data) {
    data.settings.CestaData = DataDir();
    data.settings.StoreCode = "0001";
    data.tables().SetLocations(data.settings.CestaData, "0001");
    std::filesystem::current_path(bench::BenchDir());
    sestavy.OdData = dbf::DaysFromCivil({2004, 1, 1});
    sestavy.DoData = dbf::DaysFromCivil({2006, 12, 31});
    sestavy.ReportSelector = reports::TDataSestavy::kInvoiceOverview;
  }
  void Stage() {
    sestavy.OpenSesFak();
    sestavy.Stage(sestavy.OdData, sestavy.DoData);
  }
  store::SilentOperator op;
  store::TData data;
  reports::TDataSestavy sestavy;
};

void BM_Staging(benchmark::State& state) {
  DataDir();
  Overview overview;
  for (auto _ : state) {
    overview.Stage();
    if (overview.sestavy.SesFakMem.RecordCount() != kInvoices) state.SkipWithError("rows lost");
    overview.sestavy.FinishOverview();
    overview.sestavy.CloseSesFak();
  }
  state.counters["invoices"] = kInvoices;
  state.counters["peak_rss_mb"] = PeakRssMb();
}
BENCHMARK(BM_Staging)->Unit(benchmark::kMillisecond);

void BM_TextDump(benchmark::State& state) {
  DataDir();
  Overview overview;
  overview.Stage();
  for (auto _ : state) overview.sestavy.SesFakMem.SaveToFile("PrehledPrijemek.txt");
  state.counters["bytes"] =
      static_cast<double>(std::filesystem::file_size(bench::BenchDir() + "/PrehledPrijemek.txt"));
  state.counters["peak_rss_mb"] = PeakRssMb();
}
BENCHMARK(BM_TextDump)->Unit(benchmark::kMillisecond);

// The page count poppler's pdfinfo reads from the file; 0 without it.
int PageCountOf(const std::string& pdf) {
  std::FILE* info = popen(("pdfinfo '" + pdf + "' 2>/dev/null").c_str(), "r");
  if (info == nullptr) return 0;
  char line[256];
  int pages = 0;
  while (std::fgets(line, sizeof line, info) != nullptr) {
    if (std::sscanf(line, "Pages: %d", &pages) == 1) break;
  }
  pclose(info);
  return pages;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_PdfRendering(benchmark::State& state) {
  DataDir();
  Overview overview;
  overview.Stage();
  const char* keep = std::getenv("OVERVIEW_BENCH_PDF");
  const std::string pdf = keep != nullptr ? keep : bench::BenchDir() + "/overview.pdf";
  int pages = 0;
  double best = 1e9;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    app::WriteReportPdf(QString::fromStdString(pdf), [&](reports::ReportCanvas& canvas) {
      overview.sestavy.SestavyPrint(canvas);
    });
    best = std::min(best, Seconds(start));
  }
  // The pages of the file, counted without drawing.
  pages = PageCountOf(pdf);
  state.counters["pages"] = pages;
  state.counters["pages_per_s"] = benchmark::Counter(
      pages * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
  state.counters["peak_rss_mb"] = PeakRssMb();
  if (const char* yardstick = std::getenv("OVERVIEW_YARDSTICK")) {
    overview.sestavy.SesFakMem.SaveToFile("PrehledPrijemek.txt");
    const std::string command = std::string("/usr/bin/python3 ") + yardstick +
                                " PrehledPrijemek.txt " + bench::BenchDir() + "/yardstick.pdf";
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) state.SkipWithError("the yardstick failed");
    state.counters["vs_yardstick"] = best / Seconds(start);
  }
}
BENCHMARK(BM_PdfRendering)->Unit(benchmark::kMillisecond)->Iterations(2);

// Qt's own PDF engine drawing the same pages, as the program did before.
void BM_PdfQtEngine(benchmark::State& state) {
  DataDir();
  Overview overview;
  overview.Stage();
  const std::string pdf = bench::BenchDir() + "/overview-qt.pdf";
  for (auto _ : state) {
    QPdfWriter writer(QString::fromStdString(pdf));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter(&writer);
    app::PainterSurface surface(painter, writer);
    reports::LayoutCanvas canvas(surface);
    overview.sestavy.SestavyPrint(canvas);
    painter.end();
  }
  const int pages = PageCountOf(pdf);
  state.counters["pages"] = pages;
  state.counters["pages_per_s"] = benchmark::Counter(
      pages * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
}
BENCHMARK(BM_PdfQtEngine)->Unit(benchmark::kMillisecond)->Iterations(1);

// The preview from its construction to page 1 on the screen: the pages
// counted, page 1 drawn, the window open (then closed at once).
void BM_PreviewFirstPage(benchmark::State& state) {
  DataDir();
  Overview overview;
  overview.Stage();
  int pages = 0;
  for (auto _ : state) {
    app::ReportPreview preview(
        nullptr, [&](reports::ReportCanvas& canvas) { overview.sestavy.SestavyPrint(canvas); }, -2);
    std::function<void()> close_when_open = [&] {
      if (preview.dialog().isVisible()) {
        preview.dialog().reject();
      } else {
        QTimer::singleShot(0, close_when_open);
      }
    };
    QTimer::singleShot(0, close_when_open);
    preview.Run();
    pages = preview.page_count();
    if (preview.pages_drawn() != 1) state.SkipWithError("more than page 1 drawn");
  }
  state.counters["pages"] = pages;
  state.counters["peak_rss_mb"] = PeakRssMb();
}
BENCHMARK(BM_PreviewFirstPage)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(bench::BenchDir());
  return 0;
}
