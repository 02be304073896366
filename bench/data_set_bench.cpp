// Dataset cursor: walking 1,000,000 records with Next and reading one C, one
// N and one D field through field objects. Compare with BM_ScanNaturalOrder
// of dbf_file_bench (the raw table-file scan of the same table shape).

#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench_table.h"
#include "dbf/data_set.h"

namespace {

constexpr uint32_t kRecords = 1000000;

void BM_DataSetWalk(benchmark::State& state) {
  const std::string path = bench::BenchTable(kRecords);
  const std::filesystem::path file(path);
  for (auto _ : state) {
    dbf::DbfDataSet table;
    table.SetDatabaseName(file.parent_path().string());
    table.SetTableName(file.filename().string());
    table.set_read_only(true);
    table.Open();
    // Natural order selected by name reads through the read-ahead window.
    table.file().EnableReadAhead(true);
    dbf::Field& code = table.FieldByName("HLA_DO1");
    dbf::Field& price = table.FieldByName("HLA_CEN");
    dbf::Field& day = table.FieldByName("HLA_DAT");
    double sum = 0, days = 0;
    size_t chars = 0;
    for (table.First(); !table.Eof(); table.Next()) {
      chars += code.AsString().size();
      sum += price.AsFloat();
      days += day.AsDateTime();
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
    benchmark::DoNotOptimize(days);
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_DataSetWalk)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(bench::BenchDir());
  return 0;
}
