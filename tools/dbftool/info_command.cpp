// dbftool info FILE: header values and the field list of a table.

#include <cstdio>

#include "command.h"
#include "cut_table_warning.h"
#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "dbf/system_path.h"

namespace dbftool {
namespace {

int RunInfo(const std::vector<std::string>& args) {
  if (args.size() != 1) return Usage("info");
  dbf::DbfFile table;
  table.Open(dbf::ProgramPath(args[0]), true, false);
  WarnAboutCutTable(table);
  const auto& h = table.header_image();
  const int year = h[1] + (h[1] >= 80 ? 1900 : 2000);
  std::printf("file:           %s\n", dbf::Cp1250ToUtf8(table.path()).c_str());
  std::printf("version:        0x%02X\n", table.version());
  std::printf("records:        %u\n", table.record_count());
  std::printf("header length:  %u\n", table.header_length());
  std::printf("record length:  %u\n", table.record_length());
  std::printf("last update:    %04d-%02d-%02d\n", year, h[2], h[3]);
  std::printf("fields:         %d\n", table.field_count());
  std::printf("  %-3s %-10s %-4s %5s %4s %6s\n", "#", "name", "type", "width", "dec", "offset");
  for (const dbf::FieldDescriptor& f : table.fields()) {
    std::printf("  %-3d %-10s %-4c %5u %4u %6u\n", f.number, f.name.c_str(), f.type, f.width,
                f.decimals, f.offset);
  }
  return 0;
}

const CommandRegistration kInfo({"info", "info FILE", RunInfo});

}  // namespace
}  // namespace dbftool
