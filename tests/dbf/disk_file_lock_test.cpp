#include <fcntl.h>

#include <string>

#include <gtest/gtest.h>

#include "dbf/disk_file.h"
#include "dbf/errors.h"
#include "dbf/lock_protocol.h"
#include "dbf/open_file_registry.h"
#include "process_test_support.h"

namespace dbf {
namespace {

using testing::ChildProcess;
using testing::RangeIsLockedForOtherProcess;
using testing::ScratchDirectory;

constexpr uint32_t kHeaderLength = 546;
constexpr uint32_t kRecordLength = 120;

enum class Kind { kRecordIndexOpen, kRecordNoIndex, kAppend, kIndex, kWholeFile };

struct ProbeCase {
  std::string name;
  LockProtocol protocol;
  Kind kind;
};

LockRange RangeOf(const ProbeCase& c) {
  switch (c.kind) {
    case Kind::kRecordIndexOpen:
      return RecordLockRange(c.protocol, 5, true, kHeaderLength, kRecordLength);
    case Kind::kRecordNoIndex:
      return RecordLockRange(c.protocol, 5, false, kHeaderLength, kRecordLength);
    case Kind::kAppend:
      return AppendLockRange(c.protocol);
    case Kind::kIndex:
      return IndexLockRange(c.protocol);
    case Kind::kWholeFile:
      return {0, 0x7FFFFFFF};
  }
  return {};
}

// Which bytes another process finds locked around `range`: the byte before
// and the byte after must be free, each byte inside locked.
void ExpectExactlyLocked(const std::string& path, LockRange range, short probe_type) {
  const uint64_t offset = range.offset;
  const uint64_t end = offset + range.length;
  if (offset > 0) {
    EXPECT_FALSE(RangeIsLockedForOtherProcess(path, offset - 1, 1, probe_type)) << "byte before";
  }
  EXPECT_FALSE(RangeIsLockedForOtherProcess(path, end, 1, probe_type)) << "byte after";
  if (range.length <= 2) {
    for (uint64_t at = offset; at < end; ++at) {
      EXPECT_TRUE(RangeIsLockedForOtherProcess(path, at, 1, probe_type)) << "byte " << at;
    }
  } else {
    EXPECT_TRUE(RangeIsLockedForOtherProcess(path, offset, 1, probe_type)) << "first byte";
    EXPECT_TRUE(RangeIsLockedForOtherProcess(path, end - 1, 1, probe_type)) << "last byte";
  }
}

class LockedBytesTest : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(LockedBytesTest, ReadWriteHandleHoldsAWriteLockOnExactlyTheRange) {
  ScratchDirectory dir;
  const std::string path = dir.Write("P.DBF", std::string(1000, ' '));
  DiskFile file;
  file.Open(path, true, true);
  const LockRange range = RangeOf(GetParam());
  ASSERT_TRUE(file.LockRange(range));
  EXPECT_EQ(file.lock_count(), 1);
  EXPECT_EQ(file.locked_range(), range);
  ExpectExactlyLocked(path, range, F_RDLCK);  // even readers are kept out
  file.Unlock();
  EXPECT_FALSE(RangeIsLockedForOtherProcess(path, range.offset, range.length, F_WRLCK));
}

TEST_P(LockedBytesTest, ReadOnlyHandleHoldsAReadLockOnExactlyTheRange) {
  ScratchDirectory dir;
  const std::string path = dir.Write("P.DBF", std::string(1000, ' '));
  DiskFile file;
  file.Open(path, true, false);
  const LockRange range = RangeOf(GetParam());
  ASSERT_TRUE(file.LockRange(range));
  ExpectExactlyLocked(path, range, F_WRLCK);
  EXPECT_FALSE(RangeIsLockedForOtherProcess(path, range.offset, range.length, F_RDLCK));
}

TEST_P(LockedBytesTest, ExclusiveFileTakesNoOperatingSystemLock) {
  ScratchDirectory dir;
  const std::string path = dir.Write("P.DBF", std::string(1000, ' '));
  DiskFile file;
  file.Open(path, false, true);
  const LockRange range = RangeOf(GetParam());
  ASSERT_TRUE(file.LockRange(range));
  EXPECT_FALSE(RangeIsLockedForOtherProcess(path, range.offset, range.length, F_WRLCK));
}

INSTANTIATE_TEST_SUITE_P(
    ProtocolsAndKinds, LockedBytesTest,
    ::testing::Values(
        ProbeCase{"DefaultRecordIndexOpen", LockProtocol::kDefault, Kind::kRecordIndexOpen},
        ProbeCase{"DefaultRecordNoIndex", LockProtocol::kDefault, Kind::kRecordNoIndex},
        ProbeCase{"DefaultAppend", LockProtocol::kDefault, Kind::kAppend},
        ProbeCase{"DefaultIndex", LockProtocol::kDefault, Kind::kIndex},
        ProbeCase{"FoxRecordIndexOpen", LockProtocol::kFoxLock, Kind::kRecordIndexOpen},
        ProbeCase{"FoxRecordNoIndex", LockProtocol::kFoxLock, Kind::kRecordNoIndex},
        ProbeCase{"FoxAppend", LockProtocol::kFoxLock, Kind::kAppend},
        ProbeCase{"FoxIndex", LockProtocol::kFoxLock, Kind::kIndex},
        ProbeCase{"Db4RecordIndexOpen", LockProtocol::kDb4Lock, Kind::kRecordIndexOpen},
        ProbeCase{"Db4RecordNoIndex", LockProtocol::kDb4Lock, Kind::kRecordNoIndex},
        ProbeCase{"Db4Append", LockProtocol::kDb4Lock, Kind::kAppend},
        ProbeCase{"Db4Index", LockProtocol::kDb4Lock, Kind::kIndex},
        ProbeCase{"ClipRecordIndexOpen", LockProtocol::kClipLock, Kind::kRecordIndexOpen},
        ProbeCase{"ClipRecordNoIndex", LockProtocol::kClipLock, Kind::kRecordNoIndex},
        ProbeCase{"ClipAppend", LockProtocol::kClipLock, Kind::kAppend},
        ProbeCase{"ClipIndex", LockProtocol::kClipLock, Kind::kIndex},
        ProbeCase{"WholeFile", LockProtocol::kDefault, Kind::kWholeFile}),
    [](const auto& info) { return info.param.name; });

TEST(DiskFileLock, DocumentedExampleOffsetsAreTheLockedBytes) {
  ScratchDirectory dir;
  const std::string path = dir.Write("E.DBF", "x");
  DiskFile file;
  file.Open(path, true, true);
  ASSERT_TRUE(file.LockRange(0x7FFFFFF9, 1));
  EXPECT_TRUE(RangeIsLockedForOtherProcess(path, 0x7FFFFFF9, 1));
  file.Unlock();
  ASSERT_TRUE(file.LockRange(0x40000402, 1));
  EXPECT_TRUE(RangeIsLockedForOtherProcess(path, 0x40000402, 1));
  file.Unlock();
  ASSERT_TRUE(file.LockRange(1000000005, 1));
  EXPECT_TRUE(RangeIsLockedForOtherProcess(path, 1000000005, 1));
  EXPECT_FALSE(RangeIsLockedForOtherProcess(path, 1000000000, 1));
}

// --- the counted lock

TEST(DiskFileLock, SameRangeCountsAndAnotherRangeIsRefusedWithoutAnOsCall) {
  ScratchDirectory dir;
  const std::string path = dir.Write("C.DBF", "x");
  DiskFile file;
  file.Open(path, true, true);
  ASSERT_TRUE(file.LockRange(1000000005, 1));
  ASSERT_TRUE(file.LockRange(1000000005, 1));
  EXPECT_EQ(file.lock_count(), 2);
  EXPECT_FALSE(file.LockRange(1000000006, 1));
  EXPECT_FALSE(file.LockRange(1000000005, 2));  // same offset, other length
  EXPECT_EQ(file.lock_count(), 2);
  EXPECT_EQ(file.locked_range(), (LockRange{1000000005, 1}));
  EXPECT_FALSE(RangeIsLockedForOtherProcess(path, 1000000006, 1));
  file.Unlock();
  EXPECT_EQ(file.lock_count(), 1);
  EXPECT_TRUE(RangeIsLockedForOtherProcess(path, 1000000005, 1));
  file.Unlock();
  EXPECT_EQ(file.lock_count(), 0);
  EXPECT_FALSE(RangeIsLockedForOtherProcess(path, 1000000005, 1));
  file.Unlock();  // at count 0: nothing
  EXPECT_EQ(file.lock_count(), 0);
  ASSERT_TRUE(file.LockRange(1000000006, 1));
  EXPECT_TRUE(RangeIsLockedForOtherProcess(path, 1000000006, 1));
}

TEST(DiskFileLock, ExclusiveFileOnlyCountsAndRemembersTheLastRange) {
  ScratchDirectory dir;
  const std::string path = dir.Write("C.DBF", "x");
  DiskFile file;
  file.Open(path, false, true);
  EXPECT_TRUE(file.LockRange(10, 1));
  EXPECT_TRUE(file.LockRange(20, 1));
  EXPECT_TRUE(file.LockWholeFile());
  EXPECT_EQ(file.lock_count(), 3);
  EXPECT_EQ(file.locked_range(), (LockRange{0, 0x7FFFFFFF}));
  EXPECT_FALSE(RangeIsLockedForOtherProcess(path, 0, 0x7FFFFFFF));
  file.Unlock();
  file.Unlock();
  file.Unlock();
  EXPECT_EQ(file.lock_count(), 0);
}

TEST(DiskFileLock, ZeroLengthIsRefused) {
  ScratchDirectory dir;
  const std::string path = dir.Write("C.DBF", "x");
  DiskFile file;
  file.Open(path, true, true);
  EXPECT_FALSE(file.LockRange(100, 0));
  EXPECT_EQ(file.lock_count(), 0);
  EXPECT_FALSE(RangeIsLockedForOtherProcess(path, 100, 1));
}

TEST(DiskFileLock, TwoHandlesOfOneProcessExcludeEachOther) {
  ScratchDirectory dir;
  const std::string path = dir.Write("C.DBF", "x");
  DiskFile first;
  DiskFile second;
  first.Open(path, true, true);
  second.Open(path, true, true);
  ASSERT_TRUE(first.LockRange(0x7FFFFFFE, 1));
  EXPECT_FALSE(second.LockRange(0x7FFFFFFE, 1));
  EXPECT_EQ(second.lock_count(), 0);
  EXPECT_TRUE(second.LockRange(0x7FFFFFFD, 1));
  first.Unlock();
  second.Unlock();
  EXPECT_TRUE(second.LockRange(0x7FFFFFFE, 1));
  EXPECT_FALSE(first.LockRange(0x7FFFFFFE, 1));
}

TEST(DiskFileLock, ReadOnlyHandlesShareTheirReadLocks) {
  ScratchDirectory dir;
  const std::string path = dir.Write("C.DBF", "x");
  DiskFile reader1;
  DiskFile reader2;
  DiskFile writer;
  reader1.Open(path, true, false);
  reader2.Open(path, true, false);
  writer.Open(path, true, true);
  ASSERT_TRUE(reader1.LockRange(1000000003, 1));
  EXPECT_TRUE(reader2.LockRange(1000000003, 1));
  EXPECT_FALSE(writer.LockRange(1000000003, 1));
  reader1.Unlock();
  reader2.Unlock();
  EXPECT_TRUE(writer.LockRange(1000000003, 1));
  EXPECT_FALSE(reader1.LockRange(1000000003, 1));
}

TEST(DiskFileLock, RangeHeldByAnotherProcessIsRefusedUntilReleased) {
  ScratchDirectory dir;
  const std::string path = dir.Write("C.DBF", "x");
  ChildProcess holder([&](const ChildProcess::Channel& parent) {
    DiskFile file;
    file.Open(path, true, true);
    if (!file.LockRange(1000000000, 1)) return 1;
    parent.Send('l');
    parent.Receive();
    file.Unlock();
    parent.Send('u');
    parent.Receive();
    return 0;
  });
  DiskFile file;
  file.Open(path, true, true);
  ASSERT_EQ(holder.Receive(), 'l');
  EXPECT_FALSE(file.LockRange(1000000000, 1));
  EXPECT_EQ(file.lock_count(), 0);
  EXPECT_TRUE(file.LockRange(1000000001, 1));  // the neighbouring record is free
  file.Unlock();
  holder.Send('x');
  ASSERT_EQ(holder.Receive(), 'u');
  EXPECT_TRUE(file.LockRange(1000000000, 1));
  holder.Send('x');
  EXPECT_EQ(holder.Wait(), 0);
}

// --- release on close and at process end

TEST(DiskFileLock, CloseReleasesTheLockWhateverItsCount) {
  ScratchDirectory dir;
  const std::string path = dir.Write("C.DBF", "x");
  DiskFile file;
  file.Open(path, true, true);
  ASSERT_TRUE(file.LockRange(1000000007, 1));
  ASSERT_TRUE(file.LockRange(1000000007, 1));
  ASSERT_TRUE(file.LockRange(1000000007, 1));
  file.Close();
  EXPECT_EQ(file.lock_count(), 0);
  EXPECT_FALSE(RangeIsLockedForOtherProcess(path, 1000000007, 1));
}

TEST(DiskFileLock, DestroyingTheFileReleasesTheLock) {
  ScratchDirectory dir;
  const std::string path = dir.Write("C.DBF", "x");
  {
    DiskFile file;
    file.Open(path, true, true);
    ASSERT_TRUE(file.LockRange(1000000007, 1));
  }
  EXPECT_FALSE(RangeIsLockedForOtherProcess(path, 1000000007, 1));
}

class ProcessEndTest : public ::testing::TestWithParam<bool> {};

TEST_P(ProcessEndTest, HolderExitingWithoutCloseReleasesItsLocks) {
  const bool normal_exit = GetParam();
  ScratchDirectory dir;
  const std::string path = dir.Write("C.DBF", "x");
  ChildProcess holder(
      [&](const ChildProcess::Channel& parent) {
        auto* file = new DiskFile();  // never closed or destroyed
        file->Open(path, false, true);
        file->Close();
        file->Open(path, true, true);
        if (!file->LockRange(1000000000, 1)) return 1;
        parent.Send('l');
        parent.Receive();
        return 0;
      },
      normal_exit);
  ASSERT_EQ(holder.Receive(), 'l');
  DiskFile file;
  EXPECT_THROW(file.Open(path, false, true), DbfError);  // the holder's share lock
  file.Open(path, true, true);
  EXPECT_FALSE(file.LockRange(1000000000, 1));
  holder.Send('x');
  EXPECT_EQ(holder.Wait(), 0);
  EXPECT_TRUE(file.LockRange(1000000000, 1));
  file.Close();
  EXPECT_NO_THROW(file.Open(path, false, true));
}

INSTANTIATE_TEST_SUITE_P(ExitKinds, ProcessEndTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Exit" : "ImmediateExit"; });

TEST(DiskFileLock, ForkedChildThatExitsDoesNotReleaseTheParentsLock) {
  ScratchDirectory dir;
  const std::string path = dir.Write("C.DBF", "x");
  DiskFile file;
  file.Open(path, true, true);
  ASSERT_TRUE(file.LockRange(1000000009, 1));
  // The child inherits the open file (and its registry entry); its exit
  // handler closes it but must not unlock the description it shares with us.
  ChildProcess child([](const ChildProcess::Channel&) { return 0; }, /*normal_exit=*/true);
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_TRUE(RangeIsLockedForOtherProcess(path, 1000000009, 1));
  EXPECT_EQ(file.lock_count(), 1);
  EXPECT_TRUE(file.is_open());
}

}  // namespace
}  // namespace dbf
