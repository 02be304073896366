// Record locks between processes: two programs editing one ClipLock table,
// through fork and through `dbftool lock`, synchronised by pipes only.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "data_set_test_support.h"
#include "dbf/errors.h"

namespace {

using namespace data_set_testing;

const std::string kTool = SALDEX_TOOLS_DIR "/dbftool";

// A child process running dbftool with a pipe on its standard input (closed
// to end `lock --hold`) and one on its standard output.
class ToolProcess {
 public:
  explicit ToolProcess(const std::vector<std::string>& args) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], STDIN_FILENO);
      dup2(out[1], STDOUT_FILENO);
      close(in[0]), close(in[1]), close(out[0]), close(out[1]);
      std::vector<char*> argv{const_cast<char*>(kTool.c_str())};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(kTool.c_str(), argv.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    stdin_ = in[1];
    stdout_ = out[0];
  }
  ~ToolProcess() {
    CloseStdin();
    if (stdout_ >= 0) close(stdout_);
    if (pid_ > 0) Wait();
  }
  // The next line of its output ("" at end of file).
  std::string ReadLine() {
    std::string line;
    char c;
    while (read(stdout_, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }
  void CloseStdin() {
    if (stdin_ >= 0) close(stdin_);
    stdin_ = -1;
  }
  int Wait() {
    int status = 0;
    if (pid_ > 0 && waitpid(pid_, &status, 0) == pid_) pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int stdin_ = -1, stdout_ = -1;
};

class DataSetLockingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TableBuilder({{"NAME", 'C', 8}}).Record({"ONE"}).Record({"TWO"}).WriteTo(Path());
  }
  std::unique_ptr<dbf::DbfDataSet> Clip() {
    auto ds = CursorOn(dir_, "T");
    ds->SetLockProtocol(dbf::LockProtocol::kClipLock);
    ds->Open();
    return ds;
  }
  std::string Path() const { return dir_.File("T.DBF"); }
  TempDir dir_;
};

TEST_F(DataSetLockingTest, RecordHeldByDbftoolIsRefusedAtOnceOthersAreFree) {
  ToolProcess holder({"lock", Path(), "1", "--protocol", "clip", "--hold", "600"});
  ASSERT_EQ(holder.ReadLine(), "locked");
  auto ds = Clip();
  ds->SetRecNo(2);
  ds->Edit();  // a different record of the same table
  ds->FieldByName("NAME").SetAsString("MINE");
  ds->Post();
  ds->SetRecNo(1);
  try {
    ds->Edit();
    FAIL() << "Edit succeeded on a record held by another process";
  } catch (const dbf::DatasetError& e) {
    EXPECT_STREQ(e.what(), "Record is locked by another user");
  }
  EXPECT_EQ(ds->state(), dbf::DataSetState::kBrowse);
  holder.CloseStdin();  // the holder lets go
  EXPECT_EQ(holder.Wait(), 0);
  ds->Edit();
  EXPECT_EQ(ds->state(), dbf::DataSetState::kEdit);
  ds->Cancel();
}

TEST_F(DataSetLockingTest, DbftoolSetIsRefusedWhileWeHoldTheRecord) {
  auto ds = Clip();
  ds->Edit();
  ToolProcess setter({"set", Path(), "1", "NAME=THEIRS", "--protocol", "clip"});
  EXPECT_EQ(setter.Wait(), 1);
  ToolProcess other({"set", Path(), "2", "NAME=THEIRS", "--protocol", "clip"});
  EXPECT_EQ(other.Wait(), 0);
  ds->Cancel();
  ds->SetRecNo(2);
  EXPECT_EQ(ds->FieldByName("NAME").AsString(), "THEIRS");
}

// Two processes, each in the middle of an edit of its own record.
TEST_F(DataSetLockingTest, TwoProcessesEditDifferentRecords) {
  int to_parent[2], to_child[2];
  ASSERT_EQ(pipe(to_parent), 0);
  ASSERT_EQ(pipe(to_child), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int code = 0;
    try {
      auto ds = Clip();
      ds->SetRecNo(2);
      ds->Edit();
      ds->FieldByName("NAME").SetAsString("CHILD");
      char c = 'e';
      if (write(to_parent[1], &c, 1) != 1) code = 3;
      if (read(to_child[0], &c, 1) != 1) code = 4;  // parent has tried its edits
      ds->Post();
    } catch (const dbf::EngineError&) {
      code = 2;
    }
    _exit(code);
  }
  char c;
  ASSERT_EQ(read(to_parent[0], &c, 1), 1);  // child holds record 2
  auto ds = Clip();
  ds->SetRecNo(1);
  ds->Edit();
  ds->FieldByName("NAME").SetAsString("PARENT");
  ds->Post();
  ds->SetRecNo(2);
  EXPECT_THROW(ds->Edit(), dbf::DatasetError);
  ASSERT_EQ(write(to_child[1], "g", 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  ds->First();
  EXPECT_EQ(ds->FieldByName("NAME").AsString(), "PARENT");
  ds->Next();
  EXPECT_EQ(ds->FieldByName("NAME").AsString(), "CHILD");
  for (int fd : {to_parent[0], to_parent[1], to_child[0], to_child[1]}) close(fd);
}

}  // namespace
