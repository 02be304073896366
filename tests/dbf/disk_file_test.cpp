#include "dbf/disk_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "dbf/errors.h"
#include "dbf/open_file_registry.h"
#include "process_test_support.h"

namespace dbf {
namespace {

using testing::RunInChild;
using testing::ScratchDirectory;

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const DbfError& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(DiskFileOpen, MissingFileIsNotFound) {
  ScratchDirectory dir;
  DiskFile file;
  const std::string path = dir.File("NOFILE.DBF");
  EXPECT_EQ(ErrorOf([&] { file.Open(path, true, true); }), "File " + path + " could not be found");
  EXPECT_FALSE(file.is_open());
}

TEST(DiskFileOpen, NameIsFoundWithoutRegardToCase) {
  ScratchDirectory dir;
  dir.Write("Fak0001.dbf", "abc");
  DiskFile file;
  file.Open(dir.File("FAK0001.DBF"), true, false);
  EXPECT_TRUE(file.is_open());
  EXPECT_EQ(file.path(), dir.File("FAK0001.DBF"));
  char buffer[3];
  EXPECT_EQ(file.Read(0, buffer, 3), 3u);
  EXPECT_EQ(std::string(buffer, 3), "abc");
}

TEST(DiskFileOpen, DirectoryIsAccessDenied) {
  ScratchDirectory dir;
  std::filesystem::create_directory(dir.File("TABLE.DBF"));
  DiskFile file;
  EXPECT_EQ(ErrorOf([&] { file.Open(dir.File("TABLE.DBF"), true, false); }),
            "Access denied to file " + dir.File("TABLE.DBF"));
  EXPECT_EQ(ErrorOf([&] { file.Open(dir.File("TABLE.DBF"), false, true); }),
            "Access denied to file " + dir.File("TABLE.DBF"));
}

TEST(DiskFileOpen, WithoutWritePermission) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  ScratchDirectory dir;
  const std::string path = dir.Write("RO.DBF", "data");
  ::chmod(path.c_str(), 0444);
  DiskFile file;
  EXPECT_EQ(ErrorOf([&] { file.Open(path, true, true); }), "Access denied to file " + path);
  // An exclusive read-only open cannot get a writable descriptor for its
  // share lock and falls back to a shared read-only open.
  file.Open(path, false, false);
  EXPECT_TRUE(file.shared());
  EXPECT_TRUE(file.LockRange(10, 1));
  EXPECT_TRUE(testing::RangeIsLockedForOtherProcess(path, 10, 1, F_WRLCK));
}

TEST(DiskFileIo, ReadWriteSizeFlush) {
  ScratchDirectory dir;
  const std::string path = dir.Write("T.DBF", "0123456789");
  DiskFile file;
  file.Open(path, true, true);
  EXPECT_EQ(file.FileSize(), 10u);
  file.Write(8, "ABCD", 4);
  EXPECT_EQ(file.FileSize(), 12u);
  file.Flush();
  char buffer[16] = {};
  EXPECT_EQ(file.Read(6, buffer, 16), 6u);  // short at the end of the file
  EXPECT_EQ(std::string(buffer, 6), "67ABCD");
  EXPECT_EQ(file.Read(100, buffer, 4), 0u);
}

TEST(DiskFileIo, WriteThroughReadOnlyHandleFails) {
  ScratchDirectory dir;
  const std::string path = dir.Write("T.DBF", "0123");
  for (const bool shared : {true, false}) {
    DiskFile file;
    file.Open(path, shared, false);
    EXPECT_EQ(ErrorOf([&] { file.Write(0, "X", 1); }), "Error writing to " + path);
  }
  DiskFile check;
  check.Open(path, true, false);
  char c = 0;
  check.Read(0, &c, 1);
  EXPECT_EQ(c, '0');
}

TEST(DiskFileIo, ClosedFileReportsEachOperation) {
  DiskFile file;
  char c;
  EXPECT_EQ(ErrorOf([&] { file.Read(0, &c, 1); }), "Error on Read of file ");
  EXPECT_EQ(ErrorOf([&] { file.Write(0, &c, 1); }), "Error writing to ");
  EXPECT_EQ(ErrorOf([&] { file.FileSize(); }), "Error getting FileSize for file ");
  EXPECT_EQ(ErrorOf([&] { file.Flush(); }), "Error on Flush for file ");
  EXPECT_FALSE(file.LockRange(1, 1));
  file.Close();
}

// --- share modes

struct ShareCase {
  std::string name;
  bool first_shared, first_rw, second_shared, second_rw;
  bool second_allowed;
};

class ShareModeTest : public ::testing::TestWithParam<ShareCase> {};

TEST_P(ShareModeTest, TwoHandlesInOneProcess) {
  const ShareCase& c = GetParam();
  ScratchDirectory dir;
  const std::string path = dir.Write("S.DBF", "x");
  DiskFile first;
  first.Open(path, c.first_shared, c.first_rw);
  DiskFile second;
  if (c.second_allowed) {
    EXPECT_NO_THROW(second.Open(path, c.second_shared, c.second_rw));
  } else {
    EXPECT_EQ(ErrorOf([&] { second.Open(path, c.second_shared, c.second_rw); }),
              "Access denied to file " + path);
    first.Close();
    EXPECT_NO_THROW(second.Open(path, c.second_shared, c.second_rw));
  }
}

TEST_P(ShareModeTest, AgainstAnotherProcess) {
  const ShareCase& c = GetParam();
  ScratchDirectory dir;
  const std::string path = dir.Write("S.DBF", "x");
  testing::ChildProcess holder([&](const testing::ChildProcess::Channel& parent) {
    DiskFile file;
    file.Open(path, c.first_shared, c.first_rw);
    parent.Send('o');
    parent.Receive();  // until told to close
    file.Close();
    parent.Send('c');
    parent.Receive();
    return 0;
  });
  ASSERT_EQ(holder.Receive(), 'o');
  DiskFile second;
  if (c.second_allowed) {
    EXPECT_NO_THROW(second.Open(path, c.second_shared, c.second_rw));
    second.Close();
  } else {
    EXPECT_EQ(ErrorOf([&] { second.Open(path, c.second_shared, c.second_rw); }),
              "Access denied to file " + path);
  }
  holder.Send('x');
  ASSERT_EQ(holder.Receive(), 'c');
  EXPECT_NO_THROW(second.Open(path, c.second_shared, c.second_rw));
  second.Close();
  holder.Send('x');
  EXPECT_EQ(holder.Wait(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ShareModeTest,
    ::testing::Values(ShareCase{"SharedThenShared", true, true, true, true, true},
                      ShareCase{"SharedReadOnlyThenShared", true, false, true, true, true},
                      ShareCase{"SharedThenExclusive", true, true, false, true, false},
                      ShareCase{"SharedReadOnlyThenExclusive", true, false, false, true, false},
                      ShareCase{"SharedThenExclusiveReadOnly", true, true, false, false, false},
                      ShareCase{"ExclusiveThenShared", false, true, true, true, false},
                      ShareCase{"ExclusiveThenSharedReadOnly", false, true, true, false, false},
                      ShareCase{"ExclusiveThenExclusive", false, true, false, true, false},
                      ShareCase{"ExclusiveReadOnlyThenShared", false, false, true, true, false},
                      ShareCase{"ExclusiveReadOnlyThenSharedReadOnly", false, false, true, false,
                                false}),
    [](const auto& info) { return info.param.name; });

TEST(DiskFileShareMode, ShareByteIsFarAboveEveryProtocolOffset) {
  ScratchDirectory dir;
  const std::string path = dir.Write("S.DBF", "x");
  DiskFile file;
  file.Open(path, true, true);
  constexpr uint64_t kShareByte = uint64_t{1} << 40;
  EXPECT_TRUE(testing::RangeIsLockedForOtherProcess(path, kShareByte, 1, F_WRLCK));
  EXPECT_FALSE(testing::RangeIsLockedForOtherProcess(path, kShareByte, 1, F_RDLCK));
  EXPECT_FALSE(testing::RangeIsLockedForOtherProcess(path, 0, kShareByte, F_WRLCK));
  EXPECT_FALSE(testing::RangeIsLockedForOtherProcess(path, kShareByte + 1, 1, F_WRLCK));
  file.Close();
  file.Open(path, false, true);
  EXPECT_TRUE(testing::RangeIsLockedForOtherProcess(path, kShareByte, 1, F_RDLCK));
}

// --- registry and process end

TEST(OpenFileRegistryTest, ListsOpenFilesAndClosesThemAll) {
  ScratchDirectory dir;
  const std::string path = dir.Write("R.DBF", "x");
  const int before = OpenFileRegistry::Count();
  {
    DiskFile a;
    DiskFile b;
    a.Open(path, true, true);
    b.Open(path, true, false);
    EXPECT_EQ(OpenFileRegistry::Count(), before + 2);
    a.Close();
    EXPECT_EQ(OpenFileRegistry::Count(), before + 1);
  }
  EXPECT_EQ(OpenFileRegistry::Count(), before);
  // CloseAll in a child, so that files of other tests stay open here.
  EXPECT_EQ(testing::RunInChild([&] {
              DiskFile a;
              a.Open(path, true, true);
              if (!a.LockRange(500, 1)) return 1;
              OpenFileRegistry::CloseAll();
              if (a.is_open() || a.lock_count() != 0) return 2;
              if (OpenFileRegistry::Count() != 0) return 3;
              return testing::RangeIsLocked(path, 500, 1) ? 4 : 0;
            }),
            0);
}

uint32_t MappedWord(DiskFile& file, size_t offset) {
  const volatile uint8_t* head = file.MappedHead(offset + 4);
  if (head == nullptr) return 0xFFFFFFFF;
  return uint32_t{head[offset]} | uint32_t{head[offset + 1]} << 8 |
         uint32_t{head[offset + 2]} << 16 | uint32_t{head[offset + 3]} << 24;
}

// The mapped head is polled instead of read: it must show every writer's
// bytes at once, this handle's, another handle's and another process's.
TEST(DiskFileMappedHead, ShowsWritesOfEveryHandleAndProcess) {
  ScratchDirectory dir;
  dir.Write("INDEX.CDX", std::string(1024, '\0'));
  DiskFile reader;
  reader.Open(dir.File("INDEX.CDX"), true, false);
  EXPECT_EQ(MappedWord(reader, 8), 0u);

  DiskFile writer;
  writer.Open(dir.File("INDEX.CDX"), true, true);
  const uint8_t one[4] = {1, 0, 0, 0};
  writer.Write(8, one, 4);
  EXPECT_EQ(MappedWord(reader, 8), 1u);

  EXPECT_EQ(RunInChild([&] {
              DiskFile child;
              child.Open(dir.File("INDEX.CDX"), true, true);
              const uint8_t word[4] = {0x78, 0x56, 0x34, 0x12};
              child.Write(8, word, 4);
              return 0;
            }),
            0);
  EXPECT_EQ(MappedWord(reader, 8), 0x12345678u);
}

TEST(DiskFileMappedHead, ShortFileIsNotMapped) {
  ScratchDirectory dir;
  dir.Write("SHORT.CDX", std::string(10, '\0'));
  DiskFile file;
  file.Open(dir.File("SHORT.CDX"), true, false);
  EXPECT_EQ(file.MappedHead(12), nullptr);
  file.Close();
  dir.Write("SHORT.CDX", std::string(12, '\0'));
  file.Open(dir.File("SHORT.CDX"), true, false);
  EXPECT_NE(file.MappedHead(12), nullptr);
}

}  // namespace
}  // namespace dbf
