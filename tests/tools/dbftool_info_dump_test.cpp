// dbftool info and dump, run as a separate program on tables written here.

#include <gtest/gtest.h>

#include <string>

#include "dbf/charset_tables.h"
#include "support/run_command.h"
#include "support/table_builder.h"

namespace {

using testing_support::RunTool;
using testing_support::TableBuilder;
using testing_support::TempDir;

class DbftoolInfoDump : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("FAK0001.DBF");
    TableBuilder({{"HLA_DO1", 'C', 10},
                  {"HLA_NAC", 'C', 20},
                  {"HLA_CEN", 'N', 10, 2},
                  {"HLA_KUS", 'N', 5},
                  {"HLA_DAT", 'D', 8},
                  {"HLA_PLA", 'L', 1}})
        .Record(
            {"2400001", dbf::Utf8ToCp852("Žluťoučký kůň"), "   1234.50", "    3", "20240105", "T"})
        .Record({"2400002", "Smazany", "      0.00", "    0", "        ", "F"}, true)
        .Record({"2400003", "", "     -1.25", "   -7", "00000000", " "})
        .WriteTo(path_);
  }

  TempDir dir_;
  std::string path_;
};

TEST_F(DbftoolInfoDump, InfoListsHeaderAndFields) {
  const auto r = RunTool("dbftool", {"info", path_});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("version:        0x03"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("records:        3"), std::string::npos);
  EXPECT_NE(r.out.find("header length:  225"), std::string::npos);
  EXPECT_NE(r.out.find("record length:  55"), std::string::npos);
  EXPECT_NE(r.out.find("last update:    1999-01-01"), std::string::npos);
  EXPECT_NE(r.out.find("  3   HLA_CEN    N       10    2     31"), std::string::npos) << r.out;
}

TEST_F(DbftoolInfoDump, JsonDumpDecodesEveryTypeAndSkipsDeleted) {
  const auto r = RunTool("dbftool", {"dump", path_, "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "{\"_recno\":1,\"_deleted\":false,\"HLA_DO1\":\"2400001\",\"HLA_NAC\":\"Žluťoučký "
            "kůň\",\"HLA_CEN\":1234.5,\"HLA_KUS\":3,\"HLA_DAT\":\"2024-01-05\",\"HLA_PLA\":true}\n"
            "{\"_recno\":3,\"_deleted\":false,\"HLA_DO1\":\"2400003\",\"HLA_NAC\":\"\","
            "\"HLA_CEN\":-1.25,\"HLA_KUS\":-7,\"HLA_DAT\":null,\"HLA_PLA\":false}\n");
}

TEST_F(DbftoolInfoDump, DeletedRecordsOnRequest) {
  const auto r = RunTool("dbftool", {"dump", path_, "--deleted"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("      2 * 2400002 | Smazany"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("      1   2400001 | Žluťoučký kůň | 1234.50 | 3 | 2024-01-05 | T"),
            std::string::npos)
      << r.out;
}

TEST_F(DbftoolInfoDump, ErrorsGoToStderrWithStatusOne) {
  const auto missing = RunTool("dbftool", {"dump", dir_.File("NONE.DBF")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "File " + dir_.File("NONE.DBF") + " could not be found\n");
  EXPECT_TRUE(missing.out.empty());
  EXPECT_EQ(RunTool("dbftool", {"dump"}).status, 2);
  EXPECT_EQ(RunTool("dbftool", {"frobnicate"}).status, 2);
}

}  // namespace
