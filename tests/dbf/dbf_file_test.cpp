#include "dbf/dbf_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "dbf/clock.h"
#include "dbf/errors.h"
#include "dbf/format_settings.h"
#include "support/table_builder.h"

namespace dbf {
namespace {

using testing_support::FieldSpec;
using testing_support::ReadFileBytes;
using testing_support::TableBuilder;
using testing_support::TempDir;

uint32_t Load32(const std::string& s, size_t at) {
  return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
         static_cast<uint8_t>(s[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

class DbfFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SetClockForTesting(LocalTime{2026, 12, 9, 10, 20, 30, 400}); }
  void TearDown() override { SetClockForTesting(std::nullopt); }

  static TableBuilder Invoices() {
    return TableBuilder({{"HLA_DO1", 'C', 10},
                         {"HLA_CEN", 'N', 10, 2},
                         {"HLA_DAT", 'D', 8},
                         {"HLA_PLA", 'L', 1},
                         {"HLA_KUS", 'N', 6}});
  }
  std::string Write(const TableBuilder& b, const std::string& name = "FAK0001.DBF") {
    const std::string path = dir_.File(name);
    b.WriteTo(path);
    return path;
  }

  TempDir dir_;
};

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EngineError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST_F(DbfFileTest, OpenReadsGeometryAndCountsRecordsFromFileSize) {
  TableBuilder b = Invoices();
  for (int i = 0; i < 12; ++i)
    b.Record({"F" + std::to_string(i), "  1234.50", "20240105", "T", "     7"});
  b.HeaderCount(10);
  const std::string path = Write(b);
  DbfFile t;
  t.Open(path, true, false);
  EXPECT_EQ(t.record_count(), 12u);
  EXPECT_EQ(t.header_length(), 32u + 5 * 32 + 1);
  EXPECT_EQ(t.record_length(), 36u);
  EXPECT_EQ(t.field_count(), 5);
  EXPECT_EQ(t.field(3).offset, 21u);
  EXPECT_EQ(t.alias(), "FAK0001");
  EXPECT_EQ(t.FieldNumber("hla_dat  "), 3);
  EXPECT_EQ(t.FieldNumber("HLA_DAT_LONGER"), 0);
  EXPECT_EQ(ErrorOf([&] { t.RequireField("NIC"); }), "There is no field name " + path + "->NIC");
}

TEST_F(DbfFileTest, NameIsFoundWithoutRegardToCaseAndKeptAsComposed) {
  Write(Invoices().Record({"A"}), "Fak0001.dbf");
  DbfFile t;
  t.Open(dir_.File("FAK0001"), true, false);
  EXPECT_EQ(t.path(), dir_.File("FAK0001.DBF"));  // as composed; the file found is Fak0001.dbf
  EXPECT_EQ(t.record_count(), 1u);
  EXPECT_EQ(t.alias(), "FAK0001");
  t.Close();
  // A doubled separator stays in the name, as the caller composed it.
  const std::string doubled = dir_.path() + "//NONE.DBF";
  EXPECT_EQ(ErrorOf([&] { t.Open(doubled, true, false); }),
            "File " + doubled + " could not be found");
}

TEST_F(DbfFileTest, PartialLastRecordIsNotCounted) {
  TableBuilder b = Invoices();
  b.Record({"A"}).Record({"B"}).WithoutEofByte();
  const std::string path = Write(b);
  std::ofstream(path, std::ios::app | std::ios::binary) << std::string(20, ' ');
  DbfFile t;
  t.Open(path, true, false);
  EXPECT_EQ(t.record_count(), 2u);
}

// Another program cuts the file after this handle counted its records.
class ShortReadTest : public DbfFileTest {
 protected:
  std::string Open(int records) {
    TableBuilder b = Invoices();
    for (int i = 1; i <= records; ++i) b.Record({"R" + std::to_string(i), "      1.00"});
    path_ = Write(b);
    header_ = b.HeaderLength();
    length_ = b.RecordLength();
    table_.Open(path_, true, true);
    return path_;
  }
  void CutInsideRecord(uint32_t recno) {
    std::filesystem::resize_file(path_, header_ + (recno - 1) * length_ + 5);
  }
  std::string Image(const uint8_t* record) const {
    return std::string(reinterpret_cast<const char*>(record), length_);
  }
  std::string path_;
  uint32_t header_ = 0, length_ = 0;
  DbfFile table_;
};

TEST_F(ShortReadTest, KeepsTheCurrentRecordAndItsSavedCopy) {
  Open(3);
  ASSERT_TRUE(table_.GoTo(1u));
  const std::string first = Image(table_.record());
  CutInsideRecord(2);
  EXPECT_EQ(ErrorOf([&] { table_.GoTo(2u); }), "Error on Read of file " + path_);
  EXPECT_EQ(table_.recno(), 1u);
  EXPECT_EQ(Image(table_.record()), first);
  EXPECT_EQ(Image(table_.saved_record()), first);  // index maintenance takes old keys from it
  EXPECT_EQ(table_.GetString(1), "R1");
}

TEST_F(ShortReadTest, RefillOfTheReadAheadWindowKeepsTheCurrentRecord) {
  Open(1000);
  table_.EnableReadAhead(true);
  const uint32_t per_window = ReadAheadBuffer::kTargetSize / length_;
  ASSERT_TRUE(table_.GoTo(1u));
  ASSERT_TRUE(table_.GoTo(per_window));  // the last record of the first window
  const std::string last = Image(table_.record());
  CutInsideRecord(per_window + 1);
  EXPECT_EQ(ErrorOf([&] { table_.GoTo(per_window + 1); }), "Error on Read of file " + path_);
  EXPECT_EQ(table_.recno(), per_window);
  EXPECT_EQ(Image(table_.record()), last);
  EXPECT_EQ(Image(table_.saved_record()), last);
}

TEST_F(DbfFileTest, FieldNameHasAtMostTenCharacters) {
  std::string image = Invoices().Record({"A"}).Image();
  image.replace(32, 11, "ABCDEFGHIJK");  // no NUL byte in the name area
  const std::string path = dir_.File("NAMES.DBF");
  std::ofstream(path, std::ios::binary) << image;
  DbfFile t;
  t.Open(path, true, false);
  EXPECT_EQ(t.field(1).name, "ABCDEFGHIJ");
  EXPECT_EQ(t.FieldNumber("abcdefghij"), 1);
  EXPECT_EQ(t.FieldNumber("ABCDEFGHIJK"), 0);
}

TEST_F(DbfFileTest, WideCharacterFieldUsesDecimalByteAsHighByte) {
  const std::string path =
      Write(TableBuilder({{"POZ", 'C', 300}, {"X", 'N', 3}}).Record({"a", "  1"}));
  DbfFile t;
  t.Open(path, true, false);
  EXPECT_EQ(t.field(1).width, 300u);
  EXPECT_EQ(t.field(1).decimals, 0u);
  EXPECT_EQ(t.field(2).offset, 301u);
  ASSERT_TRUE(t.GoTo(DbfFile::Move::kFirst));
  EXPECT_EQ(t.GetNumber(2), 1.0);
}

TEST_F(DbfFileTest, OpenRefusesBadFilesWithTheirMessages) {
  const std::string good = Invoices().Record({"A"}).Image();
  struct Case {
    const char* name;
    std::string image;
    const char* message;
  };
  auto patched = [&](size_t at, std::initializer_list<uint8_t> bytes) {
    std::string s = good;
    for (uint8_t b : bytes) s[at++] = static_cast<char>(b);
    return s;
  };
  const Case cases[] = {
      {"ShortHeader", good.substr(0, 20), "Error on Read of file %s"},
      {"BadVersion", patched(0, {0x02}), "Table Header for %s is invalid"},
      {"Encrypted", patched(15, {1}), "No Password for encrypted file %s"},
      {"HeaderBelow33", patched(8, {32, 0}), "Table Header for %s is invalid"},
      {"ZeroRecordLength", patched(10, {0, 0}), "Table Header for %s is invalid"},
      {"DescriptorsPastEnd", patched(8, {0xFF, 0x7F}).substr(0, 100), "Error on Read of file %s"},
      {"FieldsPastRecord", patched(10, {5, 0}), "Table Header for %s is invalid"},
      {"VfpWithoutItsArea", patched(0, {0x30}), "Table Header for %s is invalid"},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File(std::string(c.name) + ".dbf");
    std::ofstream(path, std::ios::binary) << c.image;
    DbfFile t;
    EXPECT_EQ(ErrorOf([&] { t.Open(path, true, false); }), FormatMessage(c.message, path))
        << c.name;
    EXPECT_FALSE(t.is_open()) << c.name;
  }
  DbfFile t;
  const std::string missing = dir_.File("NONE.DBF");
  EXPECT_EQ(ErrorOf([&] { t.Open(dir_.File("NONE"), true, false); }),
            "File " + missing + " could not be found");
}

TEST_F(DbfFileTest, MovesFollowTheEndRules) {
  const std::string path = Write(Invoices().Record({"A"}).Record({"B"}).Record({"C"}));
  DbfFile t;
  t.Open(path, true, false);
  EXPECT_TRUE(t.at_start());
  EXPECT_EQ(t.recno(), 0u);
  ASSERT_TRUE(t.GoTo(DbfFile::Move::kFirst));
  EXPECT_FALSE(t.GoTo(DbfFile::Move::kPrevious));
  EXPECT_TRUE(t.at_start());
  EXPECT_EQ(t.recno(), 1u);
  EXPECT_EQ(t.GetString(1), "A");
  ASSERT_TRUE(t.GoTo(DbfFile::Move::kLast));
  EXPECT_EQ(t.GetString(1), "C");
  EXPECT_FALSE(t.GoTo(DbfFile::Move::kNext));
  EXPECT_TRUE(t.at_end());
  EXPECT_EQ(t.recno(), 3u);
  EXPECT_EQ(ErrorOf([&] { t.GoTo(0u); }), "Record number 0 is not in table " + path);
  EXPECT_EQ(ErrorOf([&] { t.GoTo(5u); }), "Record number 5 is not in table " + path);
  EXPECT_EQ(t.recno(), 3u);
  EXPECT_FALSE(t.GoTo(4u));
  EXPECT_TRUE(t.at_end());
  ASSERT_TRUE(t.GoTo(2u));
  EXPECT_FALSE(t.at_end());
  EXPECT_EQ(t.GetString(1), "B");
}

TEST_F(DbfFileTest, EmptyTableIsAtStartAndAtEnd) {
  const std::string path = Write(Invoices());
  DbfFile t;
  t.Open(path, true, false);
  EXPECT_FALSE(t.GoTo(DbfFile::Move::kFirst));
  EXPECT_TRUE(t.at_start());
  EXPECT_TRUE(t.at_end());
}

TEST_F(DbfFileTest, AppendWritesRecordEndByteAndHeader) {
  const std::string path = Write(Invoices().Record({"A"}).Record({"B"}));
  const std::string before = ReadFileBytes(path);
  DbfFile t;
  t.Open(path, true, true);
  t.set_user_id(7);
  t.BlankRecord();
  t.PutString("HLA_DO1", "2400001");
  t.PutNumber(2, 1234.5);
  t.PutJulianDay(3, 2444240);
  t.PutLogical(4, true);
  t.Append();
  EXPECT_EQ(t.recno(), 3u);
  EXPECT_EQ(t.record_count(), 3u);
  t.Close();

  const std::string after = ReadFileBytes(path);
  const size_t h = 32 + 5 * 32 + 1, r = 36;
  ASSERT_EQ(after.size(), h + 3 * r + 1);
  EXPECT_EQ(after.substr(h + 2 * r, r), " 2400001      1234.5019800101T     0");
  EXPECT_EQ(after.back(), '\x1A');
  EXPECT_EQ(after.substr(32, h + 2 * r - 32), before.substr(32, h + 2 * r - 32));
  // Header: today's date, count, stamp ((10*64+20)*64+30)*1024+400, user 7.
  EXPECT_EQ(after[0], before[0]);
  EXPECT_EQ(after[1], 26);
  EXPECT_EQ(after[2], 12);
  EXPECT_EQ(after[3], 9);
  EXPECT_EQ(Load32(after, 4), 3u);
  EXPECT_EQ(Load32(after, 16), ((10u * 64 + 20) * 64 + 30) * 1024 + 400);
  EXPECT_EQ(Load32(after, 20), 7u);
  EXPECT_EQ(after.substr(8, 8), before.substr(8, 8));
  EXPECT_EQ(after.substr(24, 8), before.substr(24, 8));
}

TEST_F(DbfFileTest, AppendOntoACutTableIsRefusedAndWritesNothing) {
  const struct {
    const char* name;
    std::string tail;  // after two whole records
  } cases[] = {
      {"CutRecord", std::string(20, ' ')}, {"OneByteNotTheMark", "x"}, {"MarkAndMore", "\x1A\x1A"}};
  for (const auto& c : cases) {
    TableBuilder b = Invoices();
    const std::string path =
        Write(b.Record({"A"}).Record({"B"}).WithoutEofByte(), std::string(c.name) + ".DBF");
    std::ofstream(path, std::ios::app | std::ios::binary) << c.tail;
    const std::string before = ReadFileBytes(path);
    DbfFile t;
    t.Open(path, true, true);
    t.BlankRecord();
    t.PutString(1, "C");
    EXPECT_EQ(ErrorOf([&] { t.Append(); }),
              "Cannot append to " + path + ": the file ends with a partial record")
        << c.name;
    EXPECT_EQ(ReadFileBytes(path), before) << c.name;
    DbfFile other;
    other.Open(path, true, true);
    EXPECT_TRUE(other.disk().LockRange(AppendLockRange(other.lock_protocol())))
        << "append lock kept";
  }
  // Nothing or the end-of-file mark after the last record: the append goes ahead.
  for (const bool mark : {false, true}) {
    TableBuilder b = Invoices();
    b.Record({"A"});
    if (!mark) b.WithoutEofByte();
    DbfFile t;
    t.Open(Write(b, mark ? "MARK.DBF" : "NOMARK.DBF"), true, true);
    t.BlankRecord();
    t.Append();
    EXPECT_EQ(t.record_count(), 2u);
  }
}

TEST_F(DbfFileTest, RewriteKeepsSizeAndRewritesHeaderDate) {
  const std::string path = Write(Invoices().Record({"A", "      1.00"}).Record({"B"}));
  const std::string before = ReadFileBytes(path);
  DbfFile t;
  t.Open(path, true, true);
  ASSERT_TRUE(t.GoTo(1u));
  t.PutNumber(2, -2.5);
  t.PutRecord(1);
  t.Close();
  const std::string after = ReadFileBytes(path);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(32 + 5 * 32 + 1 + 11, 10), "     -2.50");
  EXPECT_EQ(after[1], 26);
  EXPECT_EQ(Load32(after, 4), 2u);
  EXPECT_EQ(after.substr(32 + 5 * 32 + 1 + 36), before.substr(32 + 5 * 32 + 1 + 36));
}

TEST_F(DbfFileTest, DeleteAndRecallRewriteTheFlag) {
  const std::string path = Write(Invoices().Record({"A"}));
  DbfFile t;
  t.Open(path, true, true);
  ASSERT_TRUE(t.GoTo(1u));
  t.Delete();
  EXPECT_EQ(ReadFileBytes(path)[32 + 5 * 32 + 1], '*');
  EXPECT_TRUE(t.deleted());
  t.Recall();
  EXPECT_EQ(ReadFileBytes(path)[32 + 5 * 32 + 1], ' ');
}

TEST_F(DbfFileTest, ReadOnlyTableNeverWritesItsHeader) {
  const std::string path = Write(Invoices().Record({"A"}));
  const std::string before = ReadFileBytes(path);
  DbfFile t;
  t.Open(path, true, false);
  ASSERT_TRUE(t.GoTo(1u));
  EXPECT_THROW(t.PutRecord(1), DbfError);
  t.Close();
  EXPECT_EQ(ReadFileBytes(path), before);
}

TEST_F(DbfFileTest, StringFormsAndPuts) {
  const std::string path =
      Write(Invoices().Record({"  lead  ", "          ", "00000000", "j", "    12"}));
  Formats().short_date_format = "dd.mm.yyyy";
  Formats().date_separator = '.';
  Formats().decimal_separator = ',';
  DbfFile t;
  t.Open(path, true, true);
  ASSERT_TRUE(t.GoTo(1u));
  EXPECT_EQ(t.GetString(1), "  lead");
  EXPECT_EQ(t.GetString(2), "0.00");
  EXPECT_EQ(t.GetString(3), "");
  EXPECT_EQ(t.GetString(4), "T");
  EXPECT_EQ(t.GetString(5), "12");
  EXPECT_EQ(t.GetJulianDay(3), 0);

  t.PutString(2, "12,5");
  EXPECT_EQ(t.Raw(2), "     12.50");
  t.PutString(2, "");
  EXPECT_EQ(t.Raw(2), "      0.00");
  EXPECT_EQ(ErrorOf([&] { t.PutString(2, "12.5"); }), "Invalid Number value for field HLA_CEN");
  t.PutString(3, "24.12.2026");
  EXPECT_EQ(t.Raw(3), "20261224");
  EXPECT_EQ(t.GetString(3), "24.12.2026");
  t.PutString(3, "19800101");
  EXPECT_EQ(t.GetJulianDay(3), 2444240);
  t.PutString(4, "n");
  EXPECT_EQ(t.Raw(4), "F");
  t.PutString(4, "2");
  EXPECT_EQ(t.Raw(4), "T");
  t.PutString(4, "0");
  EXPECT_EQ(t.Raw(4), "F");
  EXPECT_EQ(ErrorOf([&] { t.PutString(4, "?"); }), "Invalid Logical value for field HLA_PLA");
  EXPECT_EQ(ErrorOf([&] { t.PutNumber(1, 1); }), "Field HLA_DO1 is the incorrect type");
  EXPECT_TRUE(t.field_changed(4));
  Formats().decimal_separator = '.';
}

TEST_F(DbfFileTest, BadNumericTextNamesTableAndField) {
  const std::string path = Write(Invoices().Record({"A", "   1234,5"}), "Fak0001.dbf");
  DbfFile t;
  t.Open(path, true, false);
  ASSERT_TRUE(t.GoTo(1u));
  EXPECT_EQ(ErrorOf([&] { t.GetNumber(2); }),
            "Invalid numeric value in field Fak0001->HLA_CEN (   1234,5)");
}

TEST_F(DbfFileTest, RecordsAppendedByAnotherHandleAppearAfterRefresh) {
  const std::string path = Write(Invoices().Record({"A"}));
  DbfFile reader, writer;
  reader.Open(path, true, false);
  writer.Open(path, true, true);
  ASSERT_TRUE(reader.GoTo(DbfFile::Move::kFirst));
  for (const char* v : {"B", "C", "D"}) {
    writer.BlankRecord();
    writer.PutString("HLA_DO1", v);
    writer.Append();
  }
  EXPECT_EQ(reader.record_count(), 1u);  // no refresh yet
  ASSERT_TRUE(reader.GoTo(DbfFile::Move::kNext));
  EXPECT_EQ(reader.record_count(), 4u);
  EXPECT_EQ(reader.GetString(1), "B");
}

TEST_F(DbfFileTest, ReadAheadServesRecordsAndKeepsWritesAndSavedImage) {
  TableBuilder b = Invoices();
  for (int i = 1; i <= 40; ++i) b.Record({"R" + std::to_string(i)});
  const std::string path = Write(b);
  DbfFile t;
  t.Open(path, true, true);
  t.EnableReadAhead(true);
  ASSERT_TRUE(t.GoTo(DbfFile::Move::kFirst));
  ASSERT_TRUE(t.GoTo(DbfFile::Move::kNext));
  EXPECT_EQ(t.GetString(1), "R2");
  t.PutString(1, "CHANGED");
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(t.saved_record()) + 1, 2), "R2");
  t.PutRecord(2);
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(t.saved_record()) + 1, 7), "CHANGED");
  ASSERT_TRUE(t.GoTo(1u));
  ASSERT_TRUE(t.GoTo(2u));  // served from the window, which the write updated
  EXPECT_EQ(t.GetString(1), "CHANGED");
  // Switching the window off keeps the current record readable.
  ASSERT_TRUE(t.GoTo(3u));
  t.EnableReadAhead(false);
  EXPECT_EQ(t.GetString(1), "R3");
  ASSERT_TRUE(t.GoTo(DbfFile::Move::kLast));
  EXPECT_EQ(t.GetString(1), "R40");
}

TEST_F(DbfFileTest, ExclusiveTableNeverRereadsItsHeader) {
  const std::string path = Write(Invoices().Record({"A"}));
  DbfFile t;
  t.Open(path, false, true);
  // Grow the file behind the table's back: an exclusive table does not look.
  std::ofstream(path, std::ios::app | std::ios::binary) << std::string(36, ' ');
  EXPECT_FALSE(t.GoTo(2u));
  EXPECT_EQ(t.record_count(), 1u);
}

}  // namespace
}  // namespace dbf
