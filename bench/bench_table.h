#ifndef SALDEX_BENCH_BENCH_TABLE_H_
#define SALDEX_BENCH_BENCH_TABLE_H_

// A benchmark table of about 120-byte records, written once per process into
// a temporary directory:
//   HLA_DO1 C10, HLA_NAC C60, HLA_DAT D8, HLA_CEN N12.2, HLA_PLA L1,
//   HLA_ODB C10, HLA_POZ C18  (record length 120)

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace bench {

inline std::string BenchDir() {
  static const std::string dir = [] {
    std::string templ = (std::filesystem::temp_directory_path() / "saldex-bench-XXXXXX").string();
    return std::string(mkdtemp(templ.data()));
  }();
  return dir;
}

inline std::string TableHeader(uint32_t count) {
  struct F {
    const char* name;
    char type;
    int width, decimals;
  };
  static const F fields[] = {{"HLA_DO1", 'C', 10, 0}, {"HLA_NAC", 'C', 60, 0},
                             {"HLA_DAT", 'D', 8, 0},  {"HLA_CEN", 'N', 12, 2},
                             {"HLA_PLA", 'L', 1, 0},  {"HLA_ODB", 'C', 10, 0},
                             {"HLA_POZ", 'C', 18, 0}};
  const int n = sizeof fields / sizeof fields[0];
  const int h = 32 + 32 * n + 1, r = 120;
  std::string out(32, '\0');
  out[0] = 0x03;
  out[1] = 26, out[2] = 1, out[3] = 1;
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<char>(count >> (8 * i));
  out[8] = static_cast<char>(h & 0xFF), out[9] = static_cast<char>(h >> 8);
  out[10] = static_cast<char>(r & 0xFF), out[11] = static_cast<char>(r >> 8);
  for (const F& f : fields) {
    std::string d(32, '\0');
    std::snprintf(d.data(), 11, "%s", f.name);
    d[11] = f.type;
    d[16] = static_cast<char>(f.width);
    d[17] = static_cast<char>(f.decimals);
    out += d;
  }
  out += '\r';
  return out;
}

inline std::string MakeRecord(uint32_t i) {
  char rec[128];
  const int day = static_cast<int>(i % 28) + 1, month = static_cast<int>(i / 28 % 12) + 1;
  std::snprintf(rec, sizeof rec, " %-10u%-60s%04d%02d%02d%12.2f%c%-10u%-18s", i + 1,
                ("Odberatel cislo " + std::to_string(i % 5000)).c_str(), 2020 + int(i % 6), month,
                day, (i % 100000) / 7.0, i % 3 ? 'T' : 'F', i % 5000, "poznamka");
  return std::string(rec, 120);
}

// The table with `count` records (written on first use).
inline std::string BenchTable(uint32_t count) {
  const std::string path = BenchDir() + "/BENCH" + std::to_string(count) + ".DBF";
  if (!std::filesystem::exists(path)) {
    std::ofstream out(path, std::ios::binary);
    out << TableHeader(count);
    std::string chunk;
    for (uint32_t i = 0; i < count; ++i) {
      chunk += MakeRecord(i);
      if (chunk.size() > (1 << 20)) out << chunk, chunk.clear();
    }
    out << chunk << '\x1A';
  }
  return path;
}

}  // namespace bench

#endif  // SALDEX_BENCH_BENCH_TABLE_H_
