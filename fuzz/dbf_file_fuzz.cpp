// Opens an arbitrary byte image as a table, walks every record and decodes
// every field; then mends it. Every failure must be one of the engine's
// errors, and a mended table must be sound: no partial record, the header
// count equal to the whole records.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "dbf/table_mend.h"

namespace {

const std::string& ImagePath() {
  static const std::string path = [] {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/dbf_file_fuzz_" + std::to_string(getpid()) + ".dbf";
  }();
  // Registered after `path` is built, so it runs before `path` is destroyed.
  static const bool removed_at_exit = std::atexit([] { std::remove(ImagePath().c_str()); }) == 0;
  (void)removed_at_exit;
  return path;
}

void DecodeEveryField(dbf::DbfFile& table) {
  for (const dbf::FieldDescriptor& f : table.fields()) {
    try {
      (void)table.GetString(f.number);
      switch (f.type) {
        case 'N':
        case 'F':
        case 'I':
        case 'B':
        case 'Y':
        case 'T':
          (void)table.GetNumber(f.number);
          break;
        case 'D':
          (void)table.GetJulianDay(f.number);
          break;
        case 'L':
          (void)table.GetLogical(f.number);
          break;
        default:
          break;
      }
    } catch (const dbf::DbfError&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* f = std::fopen(ImagePath().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  try {
    dbf::DbfFile table;
    table.Open(ImagePath(), true, false);
    if (size & 1) table.EnableReadAhead(true);
    int steps = 0;
    for (bool ok = table.GoTo(dbf::DbfFile::Move::kFirst); ok && steps < 10000;
         ok = table.GoTo(dbf::DbfFile::Move::kNext), ++steps) {
      DecodeEveryField(table);
    }
    if (table.record_count() > 0) {
      table.GoTo(dbf::DbfFile::Move::kLast);
      table.GoTo(dbf::DbfFile::Move::kPrevious);
    }
  } catch (const dbf::DbfError&) {
  }
  try {
    const dbf::TableMendReport report = dbf::MendTableFile(ImagePath());
    std::remove((ImagePath() + ".bak").c_str());
    dbf::DbfFile mended;
    mended.Open(ImagePath(), true, false);
    const auto& header = mended.header_image();
    const uint32_t stored =
        header[4] | header[5] << 8 | header[6] << 16 | static_cast<uint32_t>(header[7]) << 24;
    if (mended.HasPartialRecord() || stored != mended.record_count() ||
        mended.record_count() != report.record_count) {
      std::abort();
    }
  } catch (const dbf::DbfError&) {
    std::remove((ImagePath() + ".bak").c_str());
  }
  return 0;
}
