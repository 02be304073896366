// A tag of 1,000,000 keys (HLA_DO1 of the benchmark table): random seeks, and a full walk in
// tag order reading every record, beside the natural-order scan of the same table.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "bench_table.h"
#include "dbf/dbf_file.h"
#include "dbf/field_codec.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/key_encoding.h"

namespace {

constexpr uint32_t kRecords = 1000000;

// The index file with tag DO1 over HLA_DO1 (C10), written on first use by inserting every
// record's key in record order.
std::string BenchIndex() {
  const std::string path = bench::BenchDir() + "/BENCH.CDX";
  if (std::filesystem::exists(path)) return path;
  dbf::DbfFile table;
  table.Open(bench::BenchTable(kRecords), true, false);
  table.EnableReadAhead(true);
  idx::CdxOpenOptions options;
  options.may_create = true;
  options.table = &table;
  auto index = idx::CdxIndex::Open(path, options);
  idx::CdxTagHeader header;
  header.key_length = 10;
  header.key_expression = "HLA_DO1";
  idx::CdxTag& tag = index->AddEmptyTag("DO1", header);
  const dbf::DbfFile& view = table;
  const dbf::FieldDescriptor& field = table.field(1);
  for (bool ok = table.GoTo(dbf::DbfFile::Move::kFirst); ok;
       ok = table.GoTo(dbf::DbfFile::Move::kNext)) {
    tag.Insert(idx::TrimKey(dbf::codec::Raw(field, view.record()), idx::KeyType::kCharacter),
               table.recno());
  }
  return path;
}

struct Opened {
  Opened() {
    const std::string index_path = BenchIndex();
    table.Open(bench::BenchTable(kRecords), true, false);
    idx::CdxOpenOptions options;
    options.read_write = false;
    options.table = &table;
    index = idx::CdxIndex::Open(index_path, options);
  }
  dbf::DbfFile table;
  std::unique_ptr<idx::CdxIndex> index;
};

void BM_TagRandomSeek(benchmark::State& state) {
  Opened opened;
  idx::CdxTag& tag = *opened.index->FindTag("DO1");
  std::mt19937 random(42);
  int64_t found = 0;
  for (auto _ : state) {
    const std::string key = std::to_string(1 + random() % kRecords);
    found += tag.SeekText(key, true, false, {}).found;
  }
  if (found != state.iterations()) state.SkipWithError("a key was not found");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TagRandomSeek);

void BM_TagWalkReadingRecords(benchmark::State& state) {
  Opened opened;
  idx::CdxTag& tag = *opened.index->FindTag("DO1");
  for (auto _ : state) {
    uint32_t count = 0;
    for (uint32_t recno = tag.First(); recno != 0; recno = tag.Next()) {
      opened.table.GoTo(recno);
      ++count;
    }
    if (count != kRecords) state.SkipWithError("walk missed records");
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_TagWalkReadingRecords)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TagWalkKeysOnly(benchmark::State& state) {
  Opened opened;
  idx::CdxTag& tag = *opened.index->FindTag("DO1");
  for (auto _ : state) {
    uint32_t count = 0;
    for (uint32_t recno = tag.First(); recno != 0; recno = tag.Next()) ++count;
    benchmark::DoNotOptimize(count);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_TagWalkKeysOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NaturalOrderScan(benchmark::State& state) {
  dbf::DbfFile table;
  table.Open(bench::BenchTable(kRecords), true, false);
  table.EnableReadAhead(true);
  for (auto _ : state) {
    uint32_t count = 0;
    for (bool ok = table.GoTo(dbf::DbfFile::Move::kFirst); ok;
         ok = table.GoTo(dbf::DbfFile::Move::kNext)) {
      ++count;
    }
    benchmark::DoNotOptimize(count);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_NaturalOrderScan)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
