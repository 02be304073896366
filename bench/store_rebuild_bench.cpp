// The full index rebuild of the demo store scaled to 100,000 invoices and
// 500,000 journal entries: wall time of TData::Index and the share of it
// spent building tags (from each tag's label to the next label or the end of
// its table, as the progress window sees it).

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "bench_table.h"
#include "korvana_directory.h"
#include "store/data_module.h"
#include "store/silent_operator.h"

namespace {

using Clock = std::chrono::steady_clock;

class TimingOperator : public store::SilentOperator {
 public:
  void ShowMessage(const std::string& text, const std::string&) override {
    throw std::runtime_error("rebuild message: " + text);
  }
  void SetProgressLabel(const std::string&) override { EndTag(), tag_start_ = Clock::now(); }
  void CloseProgress() override { EndTag(); }

  double tag_seconds = 0;

 private:
  void EndTag() {
    if (tag_start_)
      tag_seconds += std::chrono::duration<double>(Clock::now() - *tag_start_).count();
    tag_start_.reset();
  }
  std::optional<Clock::time_point> tag_start_;
};

const std::string& LargeStore() {
  static const std::string data_dir = [] {
    demo::KorvanaSize size;
    size.invoices = 100000;
    size.journal_entries = 500000;
    size.customers = 2000;
    const std::string dir = bench::BenchDir() + "/store/";
    demo::WriteKorvanaTables(dir, size, "BENCH");
    return dir;
  }();
  return data_dir;
}

void BM_FullIndexRebuild(benchmark::State& state) {
  const std::string& data_dir = LargeStore();
  double total = 0, tags = 0;
  for (auto _ : state) {
    TimingOperator op;
    store::TData data(op);
    data.settings.CestaData = data_dir;
    data.settings.StoreCode = "0001";
    data.tables().SetLocations(data_dir, "0001");
    const auto start = Clock::now();
    data.Index();
    total += std::chrono::duration<double>(Clock::now() - start).count();
    tags += op.tag_seconds;
  }
  state.counters["tag_share_%"] = total > 0 ? 100.0 * tags / total : 0;
  state.counters["rebuild_s"] = total / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FullIndexRebuild)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(bench::BenchDir(), ignored);
  return 0;
}
