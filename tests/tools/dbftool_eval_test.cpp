// dbftool eval, run as a separate program on a table written here.

#include <gtest/gtest.h>

#include <string>

#include "dbf/charset_tables.h"
#include "support/run_command.h"
#include "support/table_builder.h"

namespace {

using testing_support::RunTool;
using testing_support::TableBuilder;
using testing_support::TempDir;

class DbftoolEval : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("SOR0001.DBF");
    TableBuilder({{"SOR_KAV", 'C', 6},
                  {"SOR_NAC", 'C', 12},
                  {"SOR_STA", 'N', 8, 2},
                  {"SOR_DAT", 'D', 8},
                  {"SOR_PLA", 'L', 1}})
        .Record({"12", dbf::Utf8ToCp852("čokoláda"), "    2.50", "20240229", "T"})
        .Record({"", "", "        ", "        ", " "}, true)
        .Record({"7", "x", "   -1,5 ", "20240101", "F"})
        .WriteTo(path_);
  }

  TempDir dir_;
  std::string path_;
};

TEST_F(DbftoolEval, PrintsTypeAndValueOfEveryRecord) {
  const auto r = RunTool("dbftool", {"eval", path_, "SOR_KAV + UPPER(SOR_NAC)", "--recno", "1"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1\tText\t\"12    ČOKOLÁDA    \" (18)\n");
  const auto all = RunTool("dbftool", {"eval", path_, "NOT SOR_PLA"});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.out, "1\tBoolean\t.F.\n2*\tBoolean\t.T.\n3\tBoolean\t.T.\n");
  const auto date = RunTool("dbftool", {"eval", path_, "SOR_DAT", "--recno", "1"});
  EXPECT_EQ(date.out, "1\tDate\t2460370 (2024-02-29)\n");
}

TEST_F(DbftoolEval, CzechLiteralsCompareWithTableText) {
  const auto r = RunTool("dbftool", {"eval", path_, "SOR_NAC = 'čoko*'", "--recno", "1"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1\tBoolean\t.T.\n");
}

TEST_F(DbftoolEval, RecordErrorsAreReportedAndTheRestStillPrinted) {
  const auto r = RunTool("dbftool", {"eval", path_, "SOR_STA > 0"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "1\tBoolean\t.T.\n2*\tBoolean\t.F.\n");
  EXPECT_EQ(r.err, "record 3: Invalid numeric value in field SOR0001->SOR_STA (   -1,5)\n");
}

TEST_F(DbftoolEval, CompileErrorsAndUsage) {
  const auto bad = RunTool("dbftool", {"eval", path_, "NOSUCH + 1"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "There is no function for NOSUCH\n");
  EXPECT_EQ(RunTool("dbftool", {"eval", path_}).status, 2);
  EXPECT_EQ(RunTool("dbftool", {"eval", path_, "1", "--recno", "x"}).status, 2);
  const auto beyond = RunTool("dbftool", {"eval", path_, "1", "--recno", "9"});
  EXPECT_EQ(beyond.status, 1);
}

}  // namespace
