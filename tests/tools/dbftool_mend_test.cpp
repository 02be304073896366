// dbftool mend TABLE on tables left damaged by a writer that stopped part
// way: the mended file, its backup and the report, byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "dbf/dbf_file.h"
#include "support/run_command.h"
#include "support/table_builder.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::RunTool;
using testing_support::TableBuilder;
using testing_support::TempDir;

// Header length 97, record length 17.
TableBuilder Table(int records) {
  TableBuilder b({{"KOD", 'C', 6}, {"CEN", 'N', 10, 2}});
  for (int i = 1; i <= records; ++i) b.Record({"K" + std::to_string(i), "      1.00"});
  return b;
}

std::string WithCount(std::string image, uint32_t count) {
  for (int i = 0; i < 4; ++i) image[4 + i] = static_cast<char>(count >> (8 * i));
  return image;
}

struct MendCase {
  const char* name;
  std::string damaged;
  std::string mended;
  std::vector<std::string> report;  // lines after "PATH: "
};

class DbftoolMend : public ::testing::TestWithParam<MendCase> {
 protected:
  std::string Write(const std::string& image) {
    const std::string path = dir_.File("KPOHLED.DBF");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << image;
    return path;
  }
  TempDir dir_;
};

TEST_P(DbftoolMend, MendsAfterABackupAndReports) {
  const MendCase& c = GetParam();
  const std::string path = Write(c.damaged);
  const auto r = RunTool("dbftool", {"mend", path});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  std::string expected = path + ": copied to " + path + ".bak\n";
  for (const std::string& line : c.report) expected += path + ": " + line + "\n";
  EXPECT_EQ(r.out, expected);
  EXPECT_EQ(ReadFileBytes(path), c.mended);
  EXPECT_EQ(ReadFileBytes(path + ".bak"), c.damaged);
  // Sound now: a second run changes nothing and check finds no fault.
  const auto again = RunTool("dbftool", {"mend", path});
  EXPECT_EQ(again.status, 0);
  EXPECT_NE(again.out.find("nothing to mend"), std::string::npos) << again.out;
  EXPECT_EQ(ReadFileBytes(path + ".bak"), c.damaged);
  EXPECT_EQ(RunTool("dbftool", {"check", path}).status, 0);
  dbf::DbfFile table;
  table.Open(path, true, true);
  EXPECT_FALSE(table.HasPartialRecord());
}

const std::string kTwo = Table(2).WithoutEofByte().Image();
const std::string kTwoMarked = Table(2).Image();
const std::string kThreeMarked = Table(3).Image();

INSTANTIATE_TEST_SUITE_P(
    Damage, DbftoolMend,
    ::testing::Values(
        // An append that stopped inside its record: 10 of 17 bytes and the count raised.
        MendCase{
            "CutRecordCountedInTheHeader",
            WithCount(kTwo, 3) + std::string(" K3   ", 6) + "    ",
            kTwoMarked,
            {"cut 10 bytes of a partial record after record 2", "header record count 3 set to 2"}},
        MendCase{"CutRecordCountRight",
                 kTwo + "x",
                 kTwoMarked,
                 {"cut 1 bytes of a partial record after record 2"}},
        MendCase{"TwoEndMarks",
                 kTwo + "\x1A\x1A",
                 kTwoMarked,
                 {"cut 2 bytes of a partial record after record 2"}},
        // Records written but the header not: the count is below the records.
        MendCase{"CountBelowTheRecords",
                 WithCount(kThreeMarked, 1),
                 kThreeMarked,
                 {"header record count 1 set to 3"}},
        MendCase{
            "CountAboveTheRecords", WithCount(kTwo, 9), kTwo, {"header record count 9 set to 2"}},
        MendCase{"EmptyTableWithACount",
                 WithCount(Table(0).Image(), 4),
                 Table(0).Image(),
                 {"header record count 4 set to 0"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DbftoolMend, SoundTableIsLeftAloneWithoutBackup) {
  const std::string path = Write(kTwoMarked);
  const auto r = RunTool("dbftool", {"mend", path});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, path + ": 2 records, nothing to mend\n");
  EXPECT_EQ(ReadFileBytes(path), kTwoMarked);
  EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
}

TEST_F(DbftoolMend, RefusesWhatItCannotMendAndChangesNothing) {
  std::string bad_version = kTwo + "x";
  bad_version[0] = 0x07;
  const struct {
    const char* name;
    std::string image;
    std::string message;  // %s: the path
  } cases[] = {
      {"BadVersion", bad_version, "Table Header for %s is invalid"},
      {"RecordLengthZero", WithCount(kTwo, 2).replace(10, 2, std::string(2, '\0')),
       "Table Header for %s is invalid"},
      {"EndsInsideTheDescriptors", kTwo.substr(0, 90), "Error on Read of file %s"},
      {"EndsBeforeTheTerminator", kTwo.substr(0, 96),
       "Cannot mend %s: the file ends inside its header"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.image);
    const auto r = RunTool("dbftool", {"mend", path});
    EXPECT_EQ(r.status, 1);
    std::string message = c.message;
    message.replace(message.find("%s"), 2, path);
    EXPECT_EQ(r.err, message + "\n");
    EXPECT_EQ(ReadFileBytes(path), c.image);
    EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
  }
}

TEST_F(DbftoolMend, NeverOverwritesAnEarlierBackupNorMendsAnOpenTable) {
  const std::string damaged = kTwo + "xyz";
  const std::string path = Write(damaged);
  std::ofstream(path + ".bak") << "earlier";
  auto r = RunTool("dbftool", {"mend", path});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Cannot mend " + path + ": the backup " + path + ".bak exists already\n");
  EXPECT_EQ(ReadFileBytes(path), damaged);
  EXPECT_EQ(ReadFileBytes(path + ".bak"), "earlier");

  std::filesystem::remove(path + ".bak");
  dbf::DbfFile open_elsewhere;
  open_elsewhere.Open(path, true, false);
  r = RunTool("dbftool", {"mend", path});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Access denied to file " + path + "\n");
  EXPECT_EQ(ReadFileBytes(path), damaged);
  open_elsewhere.Close();
  EXPECT_EQ(RunTool("dbftool", {"mend", path}).status, 0);
}

// Readers keep reading the whole records of a cut table, and say that it is cut.
TEST_F(DbftoolMend, InfoAndDumpWarnAboutACutTableUntilItIsMended) {
  const std::string path = Write(kTwo + "partial");
  const std::string warning = "warning: " + path +
                              " ends with a partial record after record 2 (dbftool mend " + path +
                              " cuts it)\n";
  auto info = RunTool("dbftool", {"info", path});
  EXPECT_EQ(info.status, 0);
  EXPECT_EQ(info.err, warning);
  EXPECT_NE(info.out.find("records:        2\n"), std::string::npos) << info.out;
  auto dump = RunTool("dbftool", {"dump", path});
  EXPECT_EQ(dump.status, 0);
  EXPECT_EQ(dump.err, warning);
  EXPECT_NE(dump.out.find("K2"), std::string::npos) << dump.out;

  ASSERT_EQ(RunTool("dbftool", {"mend", path}).status, 0);
  EXPECT_EQ(RunTool("dbftool", {"info", path}).err, "");
  dump = RunTool("dbftool", {"dump", path});
  EXPECT_EQ(dump.err, "");
  EXPECT_NE(dump.out.find("K2"), std::string::npos) << dump.out;
}

TEST(DbftoolMendUsage, NeedsExactlyOneTable) {
  EXPECT_EQ(RunTool("dbftool", {"mend"}).status, 2);
  EXPECT_EQ(RunTool("dbftool", {"mend", "A.DBF", "B.DBF"}).status, 2);
  EXPECT_NE(RunTool("dbftool", {"--help"}).out.find("dbftool mend TABLE.dbf"), std::string::npos);
}

}  // namespace
