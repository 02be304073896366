// Building a tag over 1,000,000 records (a 10-byte C key and a D key) against SQLite's
// CREATE INDEX over the same keys. Each measurement runs in a forked child of this small
// process so that its peak resident memory (ru_maxrss from wait4) covers that build alone.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "dbf/dates.h"
#include "dbf/dbf_file.h"
#include "index/cdx_add_tag.h"
#include "index/cdx_index.h"
#include "index/tag_key_source.h"

namespace {

constexpr uint32_t kRecords = 1000000;
// KOD C10 at 1, DAT D8 at 11, NAZ C40 at 19: record length 59.
constexpr int kRecordLength = 59;

std::string BenchDir() {
  static const std::string dir = [] {
    std::string templ =
        (std::filesystem::temp_directory_path() / "saldex-tagbench-XXXXXX").string();
    return std::string(mkdtemp(templ.data()));
  }();
  return dir;
}

// Keys in scrambled order: codes of a multiplicative permutation, dates over 25 years.
uint32_t CodeOf(uint32_t i) {
  return static_cast<uint32_t>((uint64_t{i} * 2654435761u) % 1000000007u);
}
void DateOf(uint32_t i, int* year, int* month, int* day) {
  const uint32_t h = CodeOf(i) % (25 * 365);
  *year = 2000 + static_cast<int>(h / 365);
  *month = static_cast<int>(h % 365 / 31 % 12) + 1;
  *day = static_cast<int>(h % 28) + 1;
}

std::string BenchTable() {
  const std::string path = BenchDir() + "/ZBO.DBF";
  if (std::filesystem::exists(path)) return path;
  std::string header(32, '\0');
  header[0] = 0x03, header[1] = 26, header[2] = 1, header[3] = 1;
  for (int i = 0; i < 4; ++i) header[4 + i] = static_cast<char>(kRecords >> (8 * i));
  const int h = 32 + 32 * 3 + 1;
  header[8] = static_cast<char>(h & 0xFF), header[9] = static_cast<char>(h >> 8);
  header[10] = kRecordLength, header[11] = 0;
  const struct {
    const char* name;
    char type;
    int width;
  } fields[] = {{"KOD", 'C', 10}, {"DAT", 'D', 8}, {"NAZ", 'C', 40}};
  for (const auto& f : fields) {
    std::string d(32, '\0');
    std::snprintf(d.data(), 11, "%s", f.name);
    d[11] = f.type;
    d[16] = static_cast<char>(f.width);
    header += d;
  }
  header += '\r';
  std::ofstream out(path, std::ios::binary);
  out << header;
  std::string chunk;
  for (uint32_t i = 0; i < kRecords; ++i) {
    int y, m, d;
    DateOf(i, &y, &m, &d);
    char record[kRecordLength + 1];
    std::snprintf(record, sizeof record, " %010u%04d%02d%02d%-40s", CodeOf(i), y, m, d,
                  "Polozka skladu");
    chunk.append(record, kRecordLength);
    if (chunk.size() > (1 << 20)) out << chunk, chunk.clear();
  }
  out << chunk << '\x1A';
  return path;
}

// Reads KOD as text or DAT as a Julian day straight from the record image.
class FieldSource : public idx::TagKeySource {
 public:
  explicit FieldSource(bool date) : date_(date) {}
  idx::KeyType key_type() const override {
    return date_ ? idx::KeyType::kDate : idx::KeyType::kCharacter;
  }
  idx::KeyValue Key(const uint8_t* record) override {
    const char* text = reinterpret_cast<const char*>(record);
    if (!date_) return idx::KeyValue::Character(std::string_view(text + 1, 10));
    const auto date = dbf::ParseYyyymmdd(std::string_view(text + 11, 8));
    return idx::KeyValue::JulianDay(
        date ? static_cast<int32_t>(dbf::DaysFromCivil(*date) + dbf::kJulianDayOfZeroDate) : 0);
  }
  bool For(const uint8_t*) override { return true; }
  std::vector<std::string> FieldNames() const override { return {date_ ? "DAT" : "KOD"}; }

 private:
  bool date_;
};

class Sources : public idx::TagKeySourceFactory {
 public:
  std::unique_ptr<idx::TagKeySource> Make(const std::string& key, const std::string&) override {
    return std::make_unique<FieldSource>(key == "DAT");
  }
};

struct ChildResult {
  double seconds = 0;
  long peak_kib = 0;
  bool ok = false;
};

// Runs `work` in a child; `work` returns the seconds of the part to be timed.
ChildResult RunInChild(const std::function<double()>& work) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    double seconds = -1;
    try {
      seconds = work();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
    }
    if (write(fds[1], &seconds, sizeof seconds) != sizeof seconds) _exit(2);
    _exit(0);
  }
  close(fds[1]);
  ChildResult result;
  const bool got = read(fds[0], &result.seconds, sizeof result.seconds) == sizeof result.seconds;
  close(fds[0]);
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  result.peak_kib = usage.ru_maxrss;
  result.ok = got && result.seconds >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return result;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double BuildTag(const std::string& expression) {
  const std::string table_path = BenchTable();
  const std::string index_path = BenchDir() + "/ZBO-" + expression + ".cdx";
  std::filesystem::remove(index_path);
  dbf::DbfFile table;
  table.Open(table_path, false, true);
  Sources sources;
  idx::CdxOpenOptions options;
  options.shared = false;
  options.may_create = true;
  options.table = &table;
  options.key_sources = &sources;
  const auto start = std::chrono::steady_clock::now();
  auto index = idx::CdxIndex::Open(index_path, options);
  idx::AddTag(*index, expression, {expression, "", false, false}, {});
  index.reset();
  return Seconds(start);
}

void Check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    throw std::runtime_error(sqlite3_errmsg(db));
  }
}

// Loads the same keys into an in-memory database, then times CREATE INDEX alone.
double SqliteCreateIndex(bool date) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  Check(sqlite3_exec(db, "CREATE TABLE zbo(kod TEXT, dat INTEGER, naz TEXT)", nullptr, nullptr,
                     nullptr),
        db);
  Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db, "INSERT INTO zbo VALUES(?, ?, ?)", -1, &insert, nullptr), db);
  for (uint32_t i = 0; i < kRecords; ++i) {
    char code[11];
    std::snprintf(code, sizeof code, "%010u", CodeOf(i));
    int y, m, d;
    DateOf(i, &y, &m, &d);
    sqlite3_bind_text(insert, 1, code, 10, SQLITE_TRANSIENT);
    sqlite3_bind_int(insert, 2, y * 10000 + m * 100 + d);
    sqlite3_bind_text(insert, 3, "Polozka skladu", -1, SQLITE_STATIC);
    Check(sqlite3_step(insert), db);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
  const auto start = std::chrono::steady_clock::now();
  Check(sqlite3_exec(db, date ? "CREATE INDEX i ON zbo(dat)" : "CREATE INDEX i ON zbo(kod)",
                     nullptr, nullptr, nullptr),
        db);
  const double seconds = Seconds(start);
  sqlite3_close(db);
  return seconds;
}

void Report(benchmark::State& state, const ChildResult& result) {
  if (!result.ok) {
    state.SkipWithError("child failed");
    return;
  }
  state.SetIterationTime(result.seconds);
  state.counters["peak_rss_MiB"] = static_cast<double>(result.peak_kib) / 1024.0;
}

void BM_TagBuildCharacterKey(benchmark::State& state) {
  BenchTable();
  for (auto _ : state) Report(state, RunInChild([] { return BuildTag("KOD"); }));
}
void BM_TagBuildDateKey(benchmark::State& state) {
  BenchTable();
  for (auto _ : state) Report(state, RunInChild([] { return BuildTag("DAT"); }));
}
void BM_SqliteCreateIndexText(benchmark::State& state) {
  for (auto _ : state) Report(state, RunInChild([] { return SqliteCreateIndex(false); }));
}
void BM_SqliteCreateIndexDate(benchmark::State& state) {
  for (auto _ : state) Report(state, RunInChild([] { return SqliteCreateIndex(true); }));
}

BENCHMARK(BM_TagBuildCharacterKey)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SqliteCreateIndexText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TagBuildDateKey)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SqliteCreateIndexDate)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(BenchDir());
  return 0;
}
