#include "dbf/read_ahead_buffer.h"

#include <string>

#include <gtest/gtest.h>

#include "dbf/disk_file.h"
#include "process_test_support.h"

namespace dbf {
namespace {

using testing::ScratchDirectory;

constexpr uint32_t kHeader = 100;
constexpr uint32_t kRecord = 1000;  // 32 records make a 32000-byte window

// A file of `records` records of kRecord bytes after a kHeader-byte header;
// record n is filled with the letter 'a' + n % 26.
std::string TableImage(int records) {
  std::string image(kHeader, 'H');
  for (int n = 1; n <= records; ++n) image += std::string(kRecord, static_cast<char>('a' + n % 26));
  return image;
}

uint64_t OffsetOf(int n) {
  return kHeader + uint64_t{kRecord} * (n - 1);
}

char FirstByteOf(ReadAheadBuffer& buffer, DiskFile& file, int n) {
  std::string record(kRecord, '\0');
  EXPECT_EQ(buffer.Read(file, OffsetOf(n), reinterpret_cast<uint8_t*>(record.data()), kRecord),
            kRecord);
  return record[0];
}

// Overwrites record n's first byte through a separate handle, as another
// program would.
void ChangeBehindTheBuffer(const std::string& path, int n, char c) {
  DiskFile other;
  other.Open(path, true, true);
  other.Write(OffsetOf(n), &c, 1);
}

class ReadAheadBufferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.Write("R.DBF", TableImage(100));
    file_.Open(path_, true, true);
    buffer_.Enable(kHeader, kRecord);
  }
  ScratchDirectory dir_;
  std::string path_;
  DiskFile file_;
  ReadAheadBuffer buffer_;
};

TEST_F(ReadAheadBufferTest, WindowHoldsWholeRecordsOnly) {
  // Seen from outside: record 32 comes from the first window, record 33 not.
  EXPECT_EQ(FirstByteOf(buffer_, file_, 1), 'b');
  ChangeBehindTheBuffer(path_, 32, 'X');
  ChangeBehindTheBuffer(path_, 33, 'Y');
  EXPECT_EQ(FirstByteOf(buffer_, file_, 32), 'a' + 32 % 26);
  EXPECT_EQ(FirstByteOf(buffer_, file_, 33), 'Y');
}

TEST_F(ReadAheadBufferTest, OtherProgramsChangesShowAfterRefill) {
  EXPECT_EQ(FirstByteOf(buffer_, file_, 3), 'd');
  ChangeBehindTheBuffer(path_, 5, 'Z');
  EXPECT_EQ(FirstByteOf(buffer_, file_, 5), 'f');  // window filled before the change
  // A record before the window refills starting at that record.
  EXPECT_EQ(FirstByteOf(buffer_, file_, 2), 'c');
  EXPECT_EQ(FirstByteOf(buffer_, file_, 5), 'Z');
  ChangeBehindTheBuffer(path_, 6, 'Q');
  buffer_.Invalidate();
  EXPECT_EQ(FirstByteOf(buffer_, file_, 6), 'Q');
}

TEST_F(ReadAheadBufferTest, RefillStartsAtTheRequestedRecord) {
  EXPECT_EQ(FirstByteOf(buffer_, file_, 50), 'a' + 50 % 26);
  ChangeBehindTheBuffer(path_, 49, 'M');
  ChangeBehindTheBuffer(path_, 81, 'N');
  ChangeBehindTheBuffer(path_, 82, 'O');
  EXPECT_EQ(FirstByteOf(buffer_, file_, 81), 'a' + 81 % 26);  // 50..81 are held
  EXPECT_EQ(FirstByteOf(buffer_, file_, 82), 'O');            // refilled at 82
  EXPECT_EQ(FirstByteOf(buffer_, file_, 49), 'M');
}

TEST_F(ReadAheadBufferTest, WritesInsideTheWindowUpdateTheCopy) {
  EXPECT_EQ(FirstByteOf(buffer_, file_, 1), 'b');
  const std::string written(kRecord + 10, 'W');  // spills into the next record
  file_.Write(OffsetOf(4) - 5, written.data(), written.size());
  buffer_.NoteWrite(OffsetOf(4) - 5, reinterpret_cast<const uint8_t*>(written.data()),
                    written.size());
  std::string record(kRecord, '\0');
  buffer_.Read(file_, OffsetOf(3), reinterpret_cast<uint8_t*>(record.data()), kRecord);
  EXPECT_EQ(record, std::string(kRecord - 5, 'd') + "WWWWW");
  buffer_.Read(file_, OffsetOf(4), reinterpret_cast<uint8_t*>(record.data()), kRecord);
  EXPECT_EQ(record, std::string(kRecord, 'W'));
  buffer_.Read(file_, OffsetOf(5), reinterpret_cast<uint8_t*>(record.data()), kRecord);
  EXPECT_EQ(record.substr(0, 6), "WWWWWf");
  // A write straddling the window's end updates only the part inside it.
  const std::string tail(2 * kRecord, 'T');
  buffer_.NoteWrite(OffsetOf(32), reinterpret_cast<const uint8_t*>(tail.data()), tail.size());
  EXPECT_EQ(FirstByteOf(buffer_, file_, 32), 'T');
}

TEST_F(ReadAheadBufferTest, ShortWindowAtTheEndOfTheFile) {
  std::string record(kRecord, '\0');
  EXPECT_EQ(FirstByteOf(buffer_, file_, 100), 'a' + 100 % 26);
  // Past the end: nothing, and a record appended later is read from the file.
  EXPECT_EQ(buffer_.Read(file_, OffsetOf(101), reinterpret_cast<uint8_t*>(record.data()), kRecord),
            0u);
  DiskFile other;
  other.Open(path_, true, true);
  other.Write(OffsetOf(101), std::string(kRecord, 'N').data(), kRecord);
  EXPECT_EQ(FirstByteOf(buffer_, file_, 101), 'N');
}

TEST_F(ReadAheadBufferTest, HeaderReadsAndDisabledBufferGoToTheFile) {
  EXPECT_EQ(FirstByteOf(buffer_, file_, 1), 'b');
  ChangeBehindTheBuffer(path_, 2, 'D');
  buffer_.Disable();
  EXPECT_FALSE(buffer_.enabled());
  EXPECT_EQ(FirstByteOf(buffer_, file_, 2), 'D');
  buffer_.Enable(kHeader, kRecord);
  uint8_t header[4];
  EXPECT_EQ(buffer_.Read(file_, 0, header, 4), 4u);
  EXPECT_EQ(header[0], 'H');
}

TEST(ReadAheadBufferSize, RecordLongerThanTheTargetStillGetsOneRecord) {
  ScratchDirectory dir;
  constexpr uint32_t kLong = 40000;
  std::string image(10, 'H');
  image += std::string(kLong, 'a') + std::string(kLong, 'b');
  const std::string path = dir.Write("L.DBF", image);
  DiskFile file;
  file.Open(path, true, true);
  ReadAheadBuffer buffer;
  buffer.Enable(10, kLong);
  std::string record(kLong, '\0');
  EXPECT_EQ(buffer.Read(file, 10, reinterpret_cast<uint8_t*>(record.data()), kLong), kLong);
  EXPECT_EQ(record, std::string(kLong, 'a'));
  EXPECT_EQ(buffer.Read(file, 10 + kLong, reinterpret_cast<uint8_t*>(record.data()), kLong), kLong);
  EXPECT_EQ(record, std::string(kLong, 'b'));
}

}  // namespace
}  // namespace dbf
