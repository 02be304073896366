#include <sched.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "dbf/dbf_file.h"
#include "dbf/disk_file.h"
#include "dbf/errors.h"
#include "dbf/lock_protocol.h"
#include "process_test_support.h"

namespace dbf {
namespace {

using testing::ChildProcess;
using testing::ScratchDirectory;

// A version 0x03 table without records:
//   WRITER C(1)  SEQ N(6,0)  PAYLOAD C(30)  AMOUNT N(10,2)
// H = 32 + 4 * 32 + 1 = 161, R = 1 + 1 + 6 + 30 + 10 = 48.
constexpr uint32_t kHeaderLength = 161;
constexpr uint32_t kRecordLength = 48;

std::string EmptyTableImage() {
  std::string image(32, '\0');
  image[0] = 0x03;
  image[1] = 124;
  image[2] = 1;
  image[3] = 1;
  image[8] = static_cast<char>(kHeaderLength & 0xFF);
  image[9] = static_cast<char>(kHeaderLength >> 8);
  image[10] = static_cast<char>(kRecordLength);
  struct Field {
    const char* name;
    char type;
    uint8_t width, decimals;
  };
  for (const Field& f : {Field{"WRITER", 'C', 1, 0}, Field{"SEQ", 'N', 6, 0},
                         Field{"PAYLOAD", 'C', 30, 0}, Field{"AMOUNT", 'N', 10, 2}}) {
    std::string descriptor(32, '\0');
    std::memcpy(descriptor.data(), f.name, std::strlen(f.name));
    descriptor[11] = f.type;
    descriptor[16] = static_cast<char>(f.width);
    descriptor[17] = static_cast<char>(f.decimals);
    image += descriptor;
  }
  image += '\x0D';
  image += '\x1A';
  return image;
}

std::string PayloadOf(char writer, int seq) {
  return std::string("writer ") + writer + " record " + std::to_string(seq);
}

double AmountOf(char writer, int seq) {
  return seq * 1.25 + (writer - 'A');
}

void FillRecord(DbfFile& table, char writer, int seq) {
  table.BlankRecord();
  table.PutString("WRITER", std::string(1, writer));
  table.PutNumber(table.RequireField("SEQ"), seq);
  table.PutString("PAYLOAD", PayloadOf(writer, seq));
  table.PutNumber(table.RequireField("AMOUNT"), AmountOf(writer, seq));
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Le32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value * 256 + static_cast<uint8_t>(bytes[at + i]);
  return value;
}

struct ProtocolRow {
  std::string name;
  LockProtocol protocol;
};

class ConcurrentAppendTest : public ::testing::TestWithParam<ProtocolRow> {};

// Appends `count` records as `writer` in batches of `batch`: each batch
// starts at the parent's 'g' and ends with 'd'. Writes the record numbers it
// was given to `recnos_path` (4 bytes each).
int AppendAsWriter(const ChildProcess::Channel& parent, const std::string& table_path,
                   LockProtocol protocol, char writer, int count, int batch,
                   const std::string& recnos_path) {
  DbfFile table;
  table.Open(table_path, true, true);
  table.set_lock_protocol(protocol);
  std::vector<uint32_t> recnos;
  parent.Send('r');
  for (int seq = 1; seq <= count; ++seq) {
    if ((seq - 1) % batch == 0 && parent.Receive() != 'g') return 1;
    FillRecord(table, writer, seq);
    table.Append();
    recnos.push_back(table.recno());
    if (seq % batch == 0 || seq == count) parent.Send('d');
  }
  table.Close();
  std::ofstream out(recnos_path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(recnos.data()),
            static_cast<std::streamsize>(recnos.size() * sizeof(uint32_t)));
  return out ? 0 : 2;
}

// Checks the table written by two writers of `per_writer` records each.
void ExpectEveryRecordOnce(const ScratchDirectory& dir, const std::string& path, int per_writer) {
  const uint32_t total = 2 * per_writer;
  const std::string image = ReadWholeFile(path);
  ASSERT_EQ(image.size(), kHeaderLength + uint64_t{total} * kRecordLength + 1);
  EXPECT_EQ(Le32(image, 4), total);
  EXPECT_EQ(image.back(), '\x1A');
  EXPECT_EQ(image.substr(32, kHeaderLength - 32), EmptyTableImage().substr(32, kHeaderLength - 32));

  // Every record number was given to exactly one writer.
  std::vector<int> claimed(total + 1, 0);
  for (const char writer : {'A', 'B'}) {
    const std::string bytes = ReadWholeFile(dir.File(std::string("recnos_") + writer));
    ASSERT_EQ(bytes.size(), per_writer * sizeof(uint32_t));
    for (int i = 0; i < per_writer; ++i) {
      const uint32_t recno = Le32(bytes, i * sizeof(uint32_t));
      ASSERT_GE(recno, 1u);
      ASSERT_LE(recno, total);
      EXPECT_EQ(++claimed[recno], 1) << "record " << recno << " claimed twice";
    }
  }

  // Every record survives intact, each writer's in its own order.
  DbfFile table;
  table.Open(path, true, false);
  ASSERT_EQ(table.record_count(), total);
  std::set<std::pair<char, int>> seen;
  int last_seq[2] = {0, 0};
  for (uint32_t recno = 1; recno <= total; ++recno) {
    ASSERT_TRUE(table.GoTo(recno));
    ASSERT_FALSE(table.deleted()) << "record " << recno;
    const std::string writer = table.GetString("WRITER");
    ASSERT_TRUE(writer == "A" || writer == "B") << "record " << recno << ": " << writer;
    const char w = writer[0];
    const int seq = static_cast<int>(table.GetNumber(table.RequireField("SEQ")));
    EXPECT_EQ(table.GetString("PAYLOAD"), PayloadOf(w, seq)) << "record " << recno;
    EXPECT_DOUBLE_EQ(table.GetNumber(table.RequireField("AMOUNT")), AmountOf(w, seq));
    EXPECT_EQ(seq, last_seq[w - 'A'] + 1) << "record " << recno;
    last_seq[w - 'A'] = seq;
    EXPECT_TRUE(seen.insert({w, seq}).second);
  }
  EXPECT_EQ(seen.size(), total);
}

std::vector<std::unique_ptr<ChildProcess>> StartWriters(const ScratchDirectory& dir,
                                                        const std::string& path,
                                                        LockProtocol protocol, int per_writer,
                                                        int batch) {
  std::vector<std::unique_ptr<ChildProcess>> writers;
  for (const char writer : {'A', 'B'}) {
    const std::string recnos = dir.File(std::string("recnos_") + writer);
    writers.push_back(std::make_unique<ChildProcess>([=](const ChildProcess::Channel& parent) {
      return AppendAsWriter(parent, path, protocol, writer, per_writer, batch, recnos);
    }));
  }
  for (auto& w : writers) {
    if (w->Receive() != 'r') ADD_FAILURE() << "writer did not start";
  }
  return writers;
}

constexpr int kPerWriter = 2000;

// Both writers race for the append lock (whoever loses waits), released
// together for every batch so that their appends overlap again and again.
// Several rounds, because how often the two really collide is up to the
// scheduler.
TEST_P(ConcurrentAppendTest, TwoProcessesRacingLoseNothing) {
  constexpr int kBatch = 20;
  constexpr int kRounds = 3;
  ScratchDirectory dir;
  for (int round = 1; round <= kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::string path =
        dir.Write("APPEND" + std::to_string(round) + ".DBF", EmptyTableImage());
    auto writers = StartWriters(dir, path, GetParam().protocol, kPerWriter, kBatch);
    for (int done = 0; done < kPerWriter; done += kBatch) {
      for (auto& w : writers) w->Send('g');
      for (auto& w : writers) ASSERT_EQ(w->Receive(), 'd');
    }
    for (auto& w : writers) ASSERT_EQ(w->Wait(), 0);
    ExpectEveryRecordOnce(dir, path, kPerWriter);
  }
}

// The writers alternate record by record, so each append must see the other
// process's last record through the header refresh under the append lock.
TEST_P(ConcurrentAppendTest, TwoProcessesAlternatingLoseNothing) {
  ScratchDirectory dir;
  const std::string path = dir.Write("APPEND.DBF", EmptyTableImage());
  auto writers = StartWriters(dir, path, GetParam().protocol, kPerWriter, 1);
  for (int seq = 1; seq <= kPerWriter; ++seq) {
    for (auto& w : writers) {
      w->Send('g');
      ASSERT_EQ(w->Receive(), 'd') << "record " << seq;
    }
  }
  for (auto& w : writers) ASSERT_EQ(w->Wait(), 0);
  ExpectEveryRecordOnce(dir, path, kPerWriter);
  const std::string image = ReadWholeFile(path);
  for (uint32_t recno = 1; recno <= 2 * kPerWriter; ++recno) {
    ASSERT_EQ(image[kHeaderLength + (recno - 1) * kRecordLength + 1], recno % 2 ? 'A' : 'B');
  }
}

// Another program appends in a loop, writing each record in two steps under
// its append lock (first half, then the rest with the end mark, then the
// header count), while this process tests the tail and appends as the export
// does for every receivable. Its half-written records must never be taken for
// a cut table: no refusal, every record intact, the header count right.
TEST_P(ConcurrentAppendTest, TailTestBesideAProgramAppendingInTwoSteps) {
  constexpr int kRecords = 1500;
  ScratchDirectory dir;
  const std::string path = dir.Write("APPEND.DBF", EmptyTableImage());
  const LockProtocol protocol = GetParam().protocol;
  ChildProcess other([&](const ChildProcess::Channel& parent) {
    DbfFile table;  // formats the records; the writes go through its DiskFile
    table.Open(path, true, true);
    DiskFile& file = table.disk();
    std::vector<uint32_t> recnos;
    parent.Send('r');
    for (int seq = 1; seq <= kRecords; ++seq) {
      FillRecord(table, 'B', seq);
      const std::string record(reinterpret_cast<const char*>(table.record()), kRecordLength);
      while (!file.LockRange(AppendLockRange(protocol))) ::sched_yield();
      const uint64_t size = file.FileSize();
      const uint32_t count = static_cast<uint32_t>((size - kHeaderLength) / kRecordLength);
      const uint64_t at = kHeaderLength + uint64_t{count} * kRecordLength;
      file.Write(at, record.data(), kRecordLength / 2);
      ::sched_yield();
      file.Write(at + kRecordLength / 2, record.data() + kRecordLength / 2,
                 kRecordLength - kRecordLength / 2);
      file.Write(at + kRecordLength, "\x1A", 1);
      uint8_t stored[4];
      for (int i = 0; i < 4; ++i) stored[i] = static_cast<uint8_t>((count + 1) >> (8 * i));
      file.Write(4, stored, 4);
      file.Unlock();
      recnos.push_back(count + 1);
    }
    std::ofstream out(dir.File("recnos_B"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(recnos.data()),
              static_cast<std::streamsize>(recnos.size() * sizeof(uint32_t)));
    return out ? 0 : 2;
  });
  ASSERT_EQ(other.Receive(), 'r');

  DbfFile table;
  table.Open(path, true, true);
  table.set_lock_protocol(protocol);
  std::vector<uint32_t> recnos;
  for (int seq = 1; seq <= kRecords; ++seq) {
    ASSERT_NO_THROW(table.RequireAppendableTail()) << "record " << seq;
    FillRecord(table, 'A', seq);
    ASSERT_NO_THROW(table.Append()) << "record " << seq;
    recnos.push_back(table.recno());
  }
  {
    std::ofstream out(dir.File("recnos_A"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(recnos.data()),
              static_cast<std::streamsize>(recnos.size() * sizeof(uint32_t)));
  }
  ASSERT_EQ(other.Wait(), 0);
  ExpectEveryRecordOnce(dir, path, kRecords);
}

TEST_P(ConcurrentAppendTest, TwoHandlesOfOneProcessTakeTurns) {
  ScratchDirectory dir;
  const std::string path = dir.Write("APPEND.DBF", EmptyTableImage());
  DbfFile first;
  DbfFile second;
  first.Open(path, true, true);
  second.Open(path, true, true);
  first.set_lock_protocol(GetParam().protocol);
  second.set_lock_protocol(GetParam().protocol);
  for (int seq = 1; seq <= 50; ++seq) {
    FillRecord(first, 'A', seq);
    first.Append();
    EXPECT_EQ(first.recno(), static_cast<uint32_t>(2 * seq - 1));
    FillRecord(second, 'B', seq);
    second.Append();
    EXPECT_EQ(second.recno(), static_cast<uint32_t>(2 * seq));
  }
  const std::string image = ReadWholeFile(path);
  EXPECT_EQ(image.size(), kHeaderLength + 100u * kRecordLength + 1);
  EXPECT_EQ(Le32(image, 4), 100u);
}

TEST_P(ConcurrentAppendTest, AppendFailsAndWritesNothingWhileAnotherProcessHoldsTheAppendLock) {
  ScratchDirectory dir;
  const std::string path = dir.Write("APPEND.DBF", EmptyTableImage());
  const LockProtocol protocol = GetParam().protocol;
  DbfFile table;
  table.Open(path, true, true);
  table.set_lock_protocol(protocol);
  FillRecord(table, 'A', 1);
  table.Append();
  const std::string before = ReadWholeFile(path);

  ChildProcess holder([&](const ChildProcess::Channel& parent) {
    DiskFile file;
    file.Open(path, true, true);
    if (!file.LockRange(AppendLockRange(protocol))) return 1;
    parent.Send('l');
    parent.Receive();  // held until the parent has seen its append fail
    return 0;
  });
  ASSERT_EQ(holder.Receive(), 'l');
  FillRecord(table, 'A', 2);
  try {
    table.Append();
    ADD_FAILURE() << "append succeeded under another process's append lock";
  } catch (const DbfError& error) {
    EXPECT_EQ(std::string(error.what()), "Can not Lock file " + table.path());
  }
  EXPECT_EQ(ReadWholeFile(path), before);
  EXPECT_EQ(table.record_count(), 1u);
  EXPECT_EQ(table.disk().lock_count(), 0);
  holder.Send('x');
  ASSERT_EQ(holder.Wait(), 0);

  // Once released, the same record appends as number 2.
  FillRecord(table, 'A', 2);
  table.Append();
  EXPECT_EQ(table.recno(), 2u);
  EXPECT_EQ(ReadWholeFile(path).size(), kHeaderLength + 2u * kRecordLength + 1);
}

INSTANTIATE_TEST_SUITE_P(Protocols, ConcurrentAppendTest,
                         ::testing::Values(ProtocolRow{"ClipLock", LockProtocol::kClipLock},
                                           ProtocolRow{"Default", LockProtocol::kDefault}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace dbf
