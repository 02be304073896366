// dbftool create-tag and locate run as programs over a table written for the test.

#include <gtest/gtest.h>

#include "dbf/charset_tables.h"
#include "support/run_command.h"
#include "support/table_builder.h"

namespace {

using testing_support::RunTool;
using testing_support::TempDir;

class DbftoolCreateTagLocateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table_ = dir_.File("SKL.DBF");
    index_ = dir_.File("SKL.cdx");
    testing_support::TableBuilder({{"KAV", 'C', 6}, {"STA", 'N', 6}, {"NAZ", 'C', 12}})
        .Record({"B2", "     3", dbf::Utf8ToCp852("Čížek")})
        .Record({"A1", "     0", "Adam"})
        .Record({"B2", "    -4", dbf::Utf8ToCp852("Šimon")})
        .Record({"C30", "     8", "Novak"})
        .WriteTo(table_);
  }

  TempDir dir_;
  std::string table_, index_;
};

TEST_F(DbftoolCreateTagLocateTest, CreateTagBuildsSoundTagsWithoutProgressOffATerminal) {
  auto r = RunTool("dbftool", {"create-tag", table_, index_, "KAV", "KAV", "--unique"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");  // stderr is no terminal here: no progress bar
  EXPECT_EQ(r.out, "tag KAV built in " + index_ + "\n");
  r = RunTool("dbftool", {"create-tag", table_, index_, "PUJ", "UPPER(NAZ)", "--for", "STA >0",
                          "--descending"});
  ASSERT_EQ(r.status, 0) << r.err;
  r = RunTool("dbftool", {"tags", index_});
  EXPECT_NE(r.out.find("KAV        C       6 yes    ascending"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("PUJ        C      12 no     descending"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("FOR STA >0"), std::string::npos) << r.out;
  r = RunTool("dbftool", {"check", table_, index_});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  r = RunTool("dbftool", {"dump", table_, "--index", index_, "--tag", "PUJ"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_LT(r.out.find("Novak"), r.out.find("Čížek")) << r.out;
  EXPECT_EQ(r.out.find("Adam"), std::string::npos) << r.out;
}

TEST_F(DbftoolCreateTagLocateTest, CreateTagReportsErrorsAndUsage) {
  auto r = RunTool("dbftool", {"create-tag", table_, index_, "BAD", "KAV +"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err, "");
  r = RunTool("dbftool", {"create-tag", table_, dir_.File("SKL.ntx"), "KAV", "KAV"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("File " + dir_.File("SKL.ntx") + " could not be found"), std::string::npos)
      << r.err;
  r = RunTool("dbftool", {"create-tag", table_, index_, "KAV"});
  EXPECT_EQ(r.status, 2);
}

TEST_F(DbftoolCreateTagLocateTest, LocatePrintsTheRecordFoundOrNotFound) {
  auto r = RunTool("dbftool", {"locate", table_, "KAV", "B2"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Čížek"), std::string::npos) << r.out;
  r = RunTool("dbftool", {"locate", table_, "KAV", "C3"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "not found\n");
  r = RunTool("dbftool", {"locate", table_, "KAV", "C3", "--partial"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Novak"), std::string::npos) << r.out;
  r = RunTool("dbftool", {"locate", table_, "KAV;NAZ", "b2", "šimon", "--nocase"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Šimon"), std::string::npos) << r.out;
  r = RunTool("dbftool", {"locate", table_, "NOPE", "x"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("There is no field name"), std::string::npos) << r.err;
}

}  // namespace
