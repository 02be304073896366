// Key expression evaluation over 1,000,000 record images of a generated
// table (HLA_NAC C30 with Czech names in code page 852, SKL_KAV C6, SKL_IND
// C3, HLA_DAT D8, HLA_PLA L1). Items per second = evaluations per second.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench_table.h"
#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "index/expression/field_resolver.h"
#include "index/expression/key_expression.h"

namespace {

constexpr uint32_t kRecords = 1000000;
constexpr uint32_t kRecordLength = 1 + 30 + 6 + 3 + 8 + 1;

std::string WriteExpressionTable() {
  const std::string path = bench::BenchDir() + "/EXPR" + std::to_string(kRecords) + ".DBF";
  if (std::filesystem::exists(path)) return path;
  struct Field {
    const char* name;
    char type;
    int width;
  };
  const Field fields[] = {{"HLA_NAC", 'C', 30},
                          {"SKL_KAV", 'C', 6},
                          {"SKL_IND", 'C', 3},
                          {"HLA_DAT", 'D', 8},
                          {"HLA_PLA", 'L', 1}};
  const int header_length = 32 + 32 * 5 + 1;
  std::string out(32, '\0');
  out[0] = 0x03;
  out[1] = 126, out[2] = 1, out[3] = 1;
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<char>(kRecords >> (8 * i));
  out[8] = static_cast<char>(header_length & 0xFF), out[9] = static_cast<char>(header_length >> 8);
  out[10] = static_cast<char>(kRecordLength), out[11] = 0;
  for (const Field& f : fields) {
    std::string d(32, '\0');
    std::snprintf(d.data(), 11, "%s", f.name);
    d[11] = f.type;
    d[16] = static_cast<char>(f.width);
    out += d;
  }
  out += '\r';
  const std::string names[] = {dbf::Utf8ToCp852("Dvořák Antonín"),
                               dbf::Utf8ToCp852("Šťastná Žofie"),
                               dbf::Utf8ToCp852("Novák a syn, s.r.o."), "Kovar"};
  char record[kRecordLength + 1];
  for (uint32_t i = 0; i < kRecords; ++i) {
    std::snprintf(record, sizeof record, " %-30.30s%-6u%-3s%04u%02u%02u%c",
                  (names[i % 4] + " " + std::to_string(i % 997)).c_str(), i % 999999,
                  i % 3 ? "A" : "", 2000 + i % 25, 1 + i % 12, 1 + i % 28, i % 2 ? 'T' : 'F');
    out.append(record, kRecordLength);
  }
  out += '\x1A';
  std::ofstream(path, std::ios::binary) << out;
  return path;
}

// The table's records as images in memory, and a resolver over the table.
struct Fixture {
  dbf::DbfFile table;
  std::vector<uint8_t> records;
  std::unique_ptr<idx::FieldResolver> resolver;

  Fixture() {
    const std::string path = WriteExpressionTable();
    table.Open(path, true, false);
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    records.assign(bytes.begin() + table.header_length(),
                   bytes.begin() + table.header_length() + size_t{kRecords} * kRecordLength);
    resolver = std::make_unique<idx::FieldResolver>(table);
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void Evaluate(benchmark::State& state, const char* text) {
  Fixture& f = Shared();
  idx::KeyExpression expression = idx::KeyExpression::Compile(text, f.resolver.get());
  for (auto _ : state) {
    for (uint32_t i = 0; i < kRecords; ++i) {
      const idx::Value& v = expression.Evaluate(f.records.data() + size_t{i} * kRecordLength);
      benchmark::DoNotOptimize(&v);
    }
  }
  state.SetItemsProcessed(state.iterations() * int64_t{kRecords});
}

BENCHMARK_CAPTURE(Evaluate, UpperName, "UPPER(HLA_NAC)")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Evaluate, ConcatenatedKey, "SKL_KAV + SKL_IND")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Evaluate, DateField, "HLA_DAT")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Evaluate, NotLogical, "NOT HLA_PLA")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
