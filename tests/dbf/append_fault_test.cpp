// Appends whose writes fail part way (a full or failing disk) and cut tables:
// a failed append leaves the file byte for byte as it was, and the tail test
// tells a cut record from another program's append in progress.

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "data_set_test_support.h"
#include "dbf/clock.h"
#include "dbf/dbf_file.h"
#include "dbf/disk_file.h"
#include "dbf/errors.h"
#include "dbf/lock_protocol.h"
#include "dbf/write_fault.h"
#include "process_test_support.h"
#include "support/table_builder.h"

namespace dbf {
namespace {

using testing::ChildProcess;
using testing_support::ReadFileBytes;
using testing_support::TableBuilder;
using testing_support::TempDir;

TableBuilder Receivables() {
  return TableBuilder({{"CISDOKLADU", 'N', 10}, {"TEXT", 'C', 30}, {"CASTKA", 'N', 12, 2}});
}

void FillRecord(DbfFile& t, int number) {
  t.BlankRecord();
  t.PutNumber(1, number);
  t.PutString(2, "receivable " + std::to_string(number));
  t.PutNumber(3, number * 10.5);
}

struct FaultCase {
  const char* name;
  uint64_t bytes_before_failure;  // R = 53: 54 bytes are the record and its end mark
  int error_number;
  bool end_mark;  // the table ends with 0x1A before the append
};

class FailedAppendTest : public ::testing::TestWithParam<FaultCase> {
 protected:
  void SetUp() override { SetClockForTesting(LocalTime{2026, 12, 9, 10, 20, 30, 400}); }
  void TearDown() override { SetClockForTesting(std::nullopt); }
  TempDir dir_;
};

TEST_P(FailedAppendTest, LeavesTheFileAsItWasAndReportsTheSystemReason) {
  const FaultCase& c = GetParam();
  TableBuilder b = Receivables();
  b.Record({"         1", "first"}).Record({"         2", "second"});
  if (!c.end_mark) b.WithoutEofByte();
  const std::string path = dir_.File("KPOHLED.DBF");
  b.WriteTo(path);
  const std::string before = ReadFileBytes(path);

  DbfFile t;
  t.Open(path, true, true);
  ASSERT_TRUE(t.GoTo(2u));
  FillRecord(t, 3);
  {
    ScopedWriteFault fault("kpohled.dbf", c.bytes_before_failure, c.error_number);
    try {
      t.Append();
      FAIL() << "the append did not fail";
    } catch (const DbfError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Error writing to " + t.path() + ": " + std::strerror(c.error_number));
      EXPECT_EQ(e.os_error(), c.error_number);
    }
  }
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_EQ(t.record_count(), 2u);
  EXPECT_EQ(t.recno(), 2u);
  EXPECT_FALSE(t.HasPartialRecord());
  EXPECT_EQ(t.disk().lock_count(), 0) << "append lock kept";

  // Once the disk takes writes again the same record appends as number 3,
  // exactly as on a table that never saw the failure.
  t.Append();
  EXPECT_EQ(t.recno(), 3u);
  const std::string after = ReadFileBytes(path);
  const size_t records_end = b.HeaderLength() + 3u * b.RecordLength();
  ASSERT_EQ(after.size(), records_end + 1);
  EXPECT_EQ(after.back(), '\x1A');
  EXPECT_EQ(static_cast<uint8_t>(after[4]), 3);
  EXPECT_EQ(after.substr(b.HeaderLength(), 2u * b.RecordLength()),
            before.substr(b.HeaderLength(), 2u * b.RecordLength()));
  DbfFile check;
  check.Open(path, true, false);
  ASSERT_TRUE(check.GoTo(3u));
  EXPECT_EQ(check.GetString(2), "receivable 3");
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedAppendTest,
                         ::testing::Values(FaultCase{"NothingWritten", 0, ENOSPC, true},
                                           FaultCase{"PartOfTheRecord", 20, ENOSPC, true},
                                           FaultCase{"PartOfTheRecordNoMark", 20, ENOSPC, false},
                                           FaultCase{"RecordWithoutItsMark", 53, EIO, true},
                                           FaultCase{"HeaderWriteFails", 54, EIO, true},
                                           FaultCase{"HeaderWriteFailsNoMark", 54, EIO, false},
                                           FaultCase{"HeaderHalfWritten", 54 + 10, EIO, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The cursor over a failing append: Post raises the write error and stays in
// insert, the file is as before; after Cancel the next append takes the same
// record number.
TEST_F(FailedAppendTest, CursorPostFailsCleanlyAndTheNextAppendTakesTheSameNumber) {
  const std::string path = dir_.File("KPOHLED.DBF");
  Receivables().Record({"1"}).Record({"2"}).WriteTo(path);
  const std::string before = ReadFileBytes(path);
  auto ds = data_set_testing::CursorOn(dir_, "KPOHLED");
  ds->Open();
  ds->Append();
  ds->FieldByName("TEXT").SetAsString("third");
  {
    ScopedWriteFault fault("KPOHLED.DBF", 30, ENOSPC);
    EXPECT_THROW(ds->Post(), DbfError);
  }
  EXPECT_EQ(ds->state(), DataSetState::kInsert);
  EXPECT_EQ(ReadFileBytes(path), before);
  ds->Cancel();
  EXPECT_EQ(ds->RecordCount(), 2u);
  ds->Append();
  ds->FieldByName("TEXT").SetAsString("third");
  ds->Post();
  EXPECT_EQ(ds->RecNo(), 3u);
  EXPECT_EQ(ReadFileBytes(path).size(), before.size() + Receivables().RecordLength());
}

// A disk that stays full: no write of the repair succeeds either, yet the
// file is cut back to its last whole record, so the table is not left cut
// (the end-of-file mark, which needs a write, may be missing).
TEST_F(FailedAppendTest, ADiskThatStaysFullLeavesNoPartialRecord) {
  const std::string path = dir_.File("KPOHLED.DBF");
  Receivables().Record({"1"}).Record({"2"}).WriteTo(path);
  const std::string before = ReadFileBytes(path);
  DbfFile t;
  t.Open(path, true, true);
  ASSERT_TRUE(t.GoTo(2u));
  FillRecord(t, 3);
  {
    ScopedWriteFault fault("KPOHLED.DBF", 30, ENOSPC, /*lasting=*/true);
    EXPECT_THROW(t.Append(), DbfError);
  }
  EXPECT_FALSE(t.HasPartialRecord());
  EXPECT_EQ(t.record_count(), 2u);
  const std::string after = ReadFileBytes(path);
  EXPECT_EQ(after, before.substr(0, before.size() - 1));
  FillRecord(t, 3);
  t.Append();
  EXPECT_EQ(t.record_count(), 3u);
}

TEST(CutTable, HasPartialRecordTellsACutFromASoundTail) {
  TempDir dir;
  const struct {
    const char* name;
    std::string tail;  // after the two whole records (no end mark written)
    bool cut;
  } cases[] = {{"Nothing", "", false},
               {"EndMark", "\x1A", false},
               {"CutRecord", std::string(20, ' '), true},
               {"OneOtherByte", "x", true},
               {"TwoMarks", "\x1A\x1A", true}};
  for (const auto& c : cases) {
    const std::string path = dir.File(std::string(c.name) + ".DBF");
    Receivables().Record({"1"}).Record({"2"}).WithoutEofByte().WriteTo(path);
    std::ofstream(path, std::ios::app | std::ios::binary) << c.tail;
    for (const bool read_write : {false, true}) {
      DbfFile t;
      t.Open(path, true, read_write);
      EXPECT_EQ(t.HasPartialRecord(), c.cut) << c.name;
      EXPECT_EQ(t.record_count(), 2u) << c.name;
      ASSERT_TRUE(t.GoTo(2u)) << "whole records still read";
      EXPECT_EQ(t.disk().lock_count(), 0);
    }
  }
  // A file that ends inside its header counts as cut too.
  const std::string path = dir.File("SHORT.DBF");
  Receivables().WriteTo(path);
  DbfFile t;
  t.Open(path, true, true);
  std::filesystem::resize_file(path, 40);
  EXPECT_TRUE(t.HasPartialRecord());
}

// Another program writes its record in two steps under its append lock. The
// tail test waits for the lock instead of taking the half-written record for
// a cut one. (The child finishes after a pause of its own; the test's outcome
// does not depend on how long the pause is, as long as it is below the 5 s
// the append lock is retried.)
TEST(CutTable, TailTestWaitsForAnotherProgramsAppendInProgress) {
  TempDir dir;
  const std::string path = dir.File("KPOHLED.DBF");
  TableBuilder b = Receivables();
  b.Record({"1"}).WriteTo(path);
  const uint32_t h = b.HeaderLength(), r = b.RecordLength();
  DbfFile t;
  t.Open(path, true, true);
  // Round 1 asks HasPartialRecord, round 2 RequireAppendableTail and Append, round 3
  // appends at once: the append lock is retried, not refused.
  for (uint32_t round = 1; round <= 3; ++round) {
    ChildProcess writer([&](const ChildProcess::Channel& parent) {
      DiskFile file;
      file.Open(path, true, true);
      if (!file.LockRange(AppendLockRange(LockProtocol::kDefault))) return 1;
      const uint64_t at = h + (file.FileSize() - h) / r * r;
      const std::string record(r, 'B');
      file.Write(at, record.data(), r / 2);
      parent.Send('h');
      ::usleep(300 * 1000);
      file.Write(at + r / 2, record.data(), r - r / 2);
      file.Write(at + r, "\x1A", 1);
      file.Unlock();
      return 0;
    });
    ASSERT_EQ(writer.Receive(), 'h');
    if (round == 1) {
      EXPECT_FALSE(t.HasPartialRecord());
    } else if (round == 2) {
      EXPECT_NO_THROW(t.RequireAppendableTail());
      FillRecord(t, 4);
      t.Append();
      EXPECT_EQ(t.recno(), 4u);
    } else {
      FillRecord(t, 6);
      t.Append();
      EXPECT_EQ(t.recno(), 6u);
    }
    ASSERT_EQ(writer.Wait(), 0);
  }
  EXPECT_EQ(ReadFileBytes(path).size(), h + 6u * r + 1);
}

TEST(CutTable, RequireAppendableTailRefusesOnlyARealCut) {
  TempDir dir;
  const std::string path = dir.File("CUT.DBF");
  Receivables().Record({"1"}).WithoutEofByte().WriteTo(path);
  std::ofstream(path, std::ios::app | std::ios::binary) << "12345";
  DbfFile t;
  t.Open(path, true, true);
  try {
    t.RequireAppendableTail();
    FAIL() << "a cut record was not refused";
  } catch (const DbfError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot append to " + t.path() + ": the file ends with a partial record");
  }
  EXPECT_EQ(t.disk().lock_count(), 0);
  // While this handle holds a record lock the test still runs (without the
  // append lock, which the handle cannot take beside it).
  ASSERT_TRUE(t.LockRecord(1));
  EXPECT_THROW(t.RequireAppendableTail(), DbfError);
  EXPECT_EQ(t.disk().lock_count(), 1);
}

// A real full disk: a tmpfs of 64 KiB mounted in a private mount namespace
// of a child process (gone with the child). Only where the test runs as root
// and the kernel allows the mount; skipped elsewhere.
TEST(FullDisk, AppendOnAFullFileSystemLeavesTheTableAsItWas) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a tmpfs";
  TempDir dir;
  const std::string mount_point = dir.File("disk");
  std::filesystem::create_directory(mount_point);
  // Records wider than a page, so every append needs a new page.
  TableBuilder b({{"NAZEV", 'C', 6000}, {"CASTKA", 'N', 10, 2}});
  b.Record({"first"});
  // 0 passed, 1 mount refused (skip), >= 10 a failed check.
  const int code = testing::RunInChild([&]() -> int {
    if (::unshare(CLONE_NEWNS) != 0) return 1;
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return 1;
    if (::mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=64k") != 0) return 1;
    const std::string path = mount_point + "/KPOHLED.DBF";
    b.WriteTo(path);
    const std::string before = ReadFileBytes(path);
    if (before != b.Image()) return 10;
    // Fill the rest of the file system.
    {
      std::ofstream filler(mount_point + "/filler", std::ios::binary);
      const std::string block(512, 'x');
      while (filler.write(block.data(), block.size())) filler.flush();
    }
    DbfFile t;
    t.Open(path, true, true);
    t.BlankRecord();
    t.PutString(1, "second");
    try {
      t.Append();
      return 11;
    } catch (const DbfError& e) {
      if (e.os_error() != ENOSPC) return 12;
      if (std::string(e.what()) != "Error writing to " + t.path() + ": " + std::strerror(ENOSPC)) {
        return 13;
      }
    }
    if (ReadFileBytes(path) != before) return 14;
    if (t.record_count() != 1 || t.HasPartialRecord()) return 15;
    // Room again: the append goes through.
    std::filesystem::remove(mount_point + "/filler");
    t.Append();
    if (t.recno() != 2 ||
        ReadFileBytes(path).size() != b.HeaderLength() + 2u * b.RecordLength() + 1)
      return 16;
    return 0;
  });
  if (code == 1) GTEST_SKIP() << "tmpfs cannot be mounted here";
  EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace dbf
