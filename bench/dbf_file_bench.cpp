// Table file layer: natural-order scan against reading the file with cat,
// and appending records.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "bench_table.h"
#include "dbf/dbf_file.h"
#include "dbf/field_codec.h"

namespace {

constexpr uint32_t kRecords = 1000000;

void BM_CatFile(benchmark::State& state) {
  const std::string path = bench::BenchTable(kRecords);
  const std::string command = "cat '" + path + "' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("cat failed");
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_CatFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScanNaturalOrder(benchmark::State& state) {
  const std::string path = bench::BenchTable(kRecords);
  for (auto _ : state) {
    dbf::DbfFile table;
    table.Open(path, true, false);
    table.EnableReadAhead(true);
    const dbf::DbfFile& view = table;  // reads without taking the writable buffer
    const dbf::FieldDescriptor& c = table.field(1);
    const dbf::FieldDescriptor& n = table.field(4);
    const dbf::FieldDescriptor& d = table.field(3);
    double sum = 0;
    size_t chars = 0;
    int dates = 0;
    for (bool ok = table.GoTo(dbf::DbfFile::Move::kFirst); ok;
         ok = table.GoTo(dbf::DbfFile::Move::kNext)) {
      const uint8_t* rec = view.record();
      chars += dbf::codec::TrimmedText(c, rec).size();
      sum += dbf::codec::DecodeNumeric(n, rec, table.table_name());
      dates += dbf::codec::DecodeDate(d, rec).has_value();
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
    benchmark::DoNotOptimize(dates);
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_ScanNaturalOrder)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Append(benchmark::State& state) {
  const uint32_t count = static_cast<uint32_t>(state.range(0));
  const std::string path = bench::BenchDir() + "/APPEND.DBF";
  for (auto _ : state) {
    state.PauseTiming();
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out << bench::TableHeader(0) << '\x1A';
    }
    dbf::DbfFile table;
    table.Open(path, true, true);
    state.ResumeTiming();
    for (uint32_t i = 0; i < count; ++i) {
      table.BlankRecord();
      table.PutString(1, std::to_string(i + 1));
      table.PutString(2, "Odberatel");
      table.PutNumber(4, i / 7.0);
      table.PutJulianDay(3, 2460000 + i % 1000);
      table.Append();
    }
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_Append)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(bench::BenchDir());
  return 0;
}
