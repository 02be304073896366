// dbftool check TABLE on damaged table files, as a careful administrator
// would try them: wrong header counts, cut files, broken descriptors.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "dbf/charset_tables.h"
#include "support/run_command.h"
#include "support/table_builder.h"

namespace {

using testing_support::RunTool;
using testing_support::TableBuilder;
using testing_support::TempDir;

// Two fields (header length 97, record length 17) and 1600 records.
std::string Sound() {
  TableBuilder b({{"KOD", 'C', 6}, {"CEN", 'N', 10, 2}});
  for (int i = 1; i <= 1600; ++i) b.Record({std::to_string(i), "      1.00"});
  return b.Image();
}

std::string Patched(std::string image, size_t at, const std::string& bytes) {
  image.replace(at, bytes.size(), bytes);
  return image;
}

struct DamageCase {
  const char* name;
  std::string image;
  const char* fault;  // a text the report must hold
};

class DbftoolCheckTable : public ::testing::TestWithParam<DamageCase> {
 protected:
  std::string Write(const std::string& image) {
    const std::string path = dir_.File("T.DBF");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << image;
    return path;
  }
  TempDir dir_;
};

TEST_F(DbftoolCheckTable, SoundTableWithoutIndexPasses) {
  const auto r = RunTool("dbftool", {"check", Write(Sound())});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("T.DBF: 0 fault(s)"), std::string::npos) << r.out;
}

TEST_F(DbftoolCheckTable, TableInADirectoryWithCzechLetters) {
  const std::string dir = dir_.File("účetnictví");
  std::filesystem::create_directory(dir);
  std::ofstream(dir + "/T.DBF", std::ios::binary) << Sound();
  const auto r = RunTool("dbftool", {"check", dir + "/T.DBF"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find(dir + "/T.DBF: 0 fault(s)"), std::string::npos) << r.out;
}

TEST_P(DbftoolCheckTable, ReportsTheDamageAndFails) {
  const auto r = RunTool("dbftool", {"check", Write(GetParam().image)});
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_NE(r.out.find(std::string("FAULT ") + GetParam().fault), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Damage, DbftoolCheckTable,
    ::testing::Values(
        DamageCase{"HeaderCountTooLarge", Patched(Sound(), 4, "\xFF\xFF\xFF\x7F"),
                   "header record count 2147483647 differs from the 1600 whole records"},
        DamageCase{"HeaderCountTooSmall", Patched(Sound(), 4, std::string("\x0A\0\0\0", 4)),
                   "header record count 10 differs from the 1600 whole records"},
        DamageCase{"LastRecordCut", Sound().substr(0, 97 + 1599 * 17 + 9),
                   "last record cut: 9 bytes after record 1599"},
        DamageCase{"EndMarkAndMore", Sound() + "x", "last record cut: 2 bytes after record 1600"},
        DamageCase{"TerminatorMissing", Patched(Sound(), 96, " "),
                   "header terminator 0x0D missing at offset 96"},
        DamageCase{"FieldOfWidthZero", Patched(Sound(), 32 + 32 + 16, std::string(1, '\0')),
                   "field CEN has width 0"},
        DamageCase{"HeaderLengthBetweenDescriptors", Patched(Sound(), 8, "\x66"),
                   "header length 102 does not fit the field descriptors"},
        DamageCase{"HeaderLengthPastTheDescriptors", Patched(Sound(), 8, "\x81"),
                   "header length does not fit the field descriptors: the terminator 0x0D stands "
                   "after field 2"},
        DamageCase{"FieldsPastTheRecord", Patched(Sound(), 10, "\x0C"),
                   "fields end at byte 17, past the record length 12"},
        DamageCase{"FileEndsInsideTheHeader", Sound().substr(0, 90),
                   "the file ends inside the field descriptors"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
