// dbftool append / set / delete / recall: values given as UTF-8 text reach
// the table as the cursor's field writes store them.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "dbf/charset_tables.h"
#include "support/table_builder.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::TableBuilder;
using testing_support::TempDir;

// Runs dbftool with `args`; returns the exit status and fills `output` with
// standard output and standard error.
int Tool(const std::string& args, std::string* output = nullptr) {
  const std::string command = SALDEX_TOOLS_DIR "/dbftool " + args + " 2>&1 </dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  std::string text;
  char buffer[256];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  const int status = pclose(pipe);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class DbftoolWriteTest : public ::testing::Test {
 protected:
  void SetUp() override { table_.Record({"OLD", "1", "20000101", "F"}).WriteTo(Path()); }
  std::string Path() const { return dir_.File("T.DBF"); }
  std::string Record(int n) const {
    return ReadFileBytes(Path()).substr(table_.HeaderLength() + (n - 1) * table_.RecordLength(),
                                        table_.RecordLength());
  }
  TempDir dir_;
  TableBuilder table_{{{"NAME", 'C', 10}, {"QTY", 'N', 6, 1}, {"DAY", 'D', 8}, {"OK", 'L', 1}}};
};

TEST_F(DbftoolWriteTest, AppendConvertsUtf8AndDates) {
  std::string out;
  ASSERT_EQ(Tool("append " + Path() + " NAME=Šťáva QTY=-2.25 DAY=2024-02-29 OK=J", &out), 0);
  EXPECT_EQ(out, "2\n");
  EXPECT_EQ(Record(2), " " + dbf::Utf8ToCp852("Šťáva") + "       -2.320240229T");
}

TEST_F(DbftoolWriteTest, SetDeleteAndRecall) {
  ASSERT_EQ(Tool("set " + Path() + " 1 NAME=Nový DAY=31.12.2023 --protocol clip"), 0);
  EXPECT_EQ(Record(1), " " + dbf::Utf8ToCp852("Nový") + "      1     20231231F");
  ASSERT_EQ(Tool("delete " + Path() + " 1"), 0);
  EXPECT_EQ(Record(1)[0], '*');
  ASSERT_EQ(Tool("recall " + Path() + " 1 --protocol fox"), 0);
  EXPECT_EQ(Record(1)[0], ' ');
}

TEST_F(DbftoolWriteTest, FailuresPrintTheEngineMessage) {
  const std::string before = ReadFileBytes(Path());
  std::string out;
  EXPECT_EQ(Tool("set " + Path() + " 1 QTY=abc", &out), 1);
  EXPECT_EQ(out, "'abc' is not a valid floating point value for field 'QTY'\n");
  EXPECT_EQ(Tool("append " + Path() + " NAME=x NOPE=1", &out), 1);
  EXPECT_EQ(out, "Field 'NOPE' not found\n");
  EXPECT_EQ(Tool("delete " + Path() + " 7", &out), 1);
  EXPECT_EQ(out, "Record number 7 is not in table " + Path() + "\n");
  EXPECT_EQ(ReadFileBytes(Path()), before);  // the failed append wrote nothing
  EXPECT_EQ(Tool("set " + Path() + " 1 QTY=1 --protocol nope"), 2);
}

}  // namespace
