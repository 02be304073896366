#include "reports/text_dump.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "dbf/errors.h"
#include "reports/staging_layout.h"
#include "store/temp_dir.h"

namespace reports {
namespace {

constexpr const char* kHeader =
    "\"Vystaveno\",\"Faktura\",\"Proforma\",\"KodOdb\",\"KodOdbPob\",\"Nazev\",\"CelkemNC\","
    "\"CelkemPC\",\"Zaklad22\",\"Zaklad05\",\"Zaklad00\",\"Dan22\",\"Dan05\",\"HalVyr\",\"Mena\","
    "\"Kurz\",\r\n";

class TextDumpTest : public ::testing::Test {
 protected:
  TextDumpTest() {
    DeclareStagingFields(table_);
    table_.Open();
  }
  // A staged invoice of 5 March 2004 with the given number and name.
  void Stage(const std::string& number, const std::string& name) {
    table_.Append();
    table_.FieldByName("Vystaveno").SetAsDateTime(dbf::DaysFromCivil({2004, 3, 5}));
    table_.FieldByName("Faktura").SetAsString(number);
    table_.FieldByName("KodOdb").SetAsString("C0001");
    table_.FieldByName("KodOdbPob").SetAsString("001");
    table_.FieldByName("Nazev").SetAsString(name);
    const double values[] = {800, 1220.5, 1000, 0.00001, 0, 220, 1e20, -0.5};
    const char* fields[] = {"CelkemNC", "CelkemPC", "Zaklad22", "Zaklad05",
                            "Zaklad00", "Dan22",    "Dan05",    "HalVyr"};
    for (int i = 0; i < 8; ++i) table_.FieldByName(fields[i]).SetAsFloat(values[i]);
    table_.Post();
  }
  std::string Saved() {
    table_.SaveToFile(dir_.path() + "dump.txt");
    return dir_.ReadFile("dump.txt");
  }

  MemTable table_;
  testing_support::TempDir dir_;
};

TEST_F(TextDumpTest, EmptyTableWritesOnlyTheHeaderLine) {
  EXPECT_EQ(Saved(), kHeader);
}

TEST_F(TextDumpTest, RowsAreQuotedValuesWithNothingForEmptyFieldsAndATrailingComma) {
  Stage("2004/0001", "Novák s.r.o.");
  const std::string expected =
      std::string(kHeader) +
      "\"05/03/2004\",\"2004/0001\",,\"C0001\",\"001\",\"Novák s.r.o.\",\"800\",\"1220.5\","
      "\"1000\",\"1E-5\",\"0\",\"220\",\"1E20\",\"-0.5\",,,\r\n";
  EXPECT_EQ(Saved(), expected);
}

TEST_F(TextDumpTest, EveryDataLineEndsWithThreeCommas) {
  Stage("1", "A");
  Stage("2", "B");
  const std::string text = Saved();
  size_t lines = 0;
  for (size_t end = text.find("\r\n"), start = 0; end != std::string::npos;
       start = end + 2, end = text.find("\r\n", start)) {
    const std::string line = text.substr(start, end - start);
    if (++lines == 1) continue;
    EXPECT_EQ(line.substr(line.size() - 4), "\",,,") << line;
  }
  EXPECT_EQ(lines, 3u);
}

TEST_F(TextDumpTest, PercentSignsAreDoubledAndQuotesDoubledInsideTheQuotes) {
  EXPECT_EQ(QuotedDumpText("10% sleva"), "\"10%% sleva\"");
  EXPECT_EQ(QuotedDumpText("Firma \"U Lva\""), "\"Firma \"\"U Lva\"\"\"");
  Stage("F%1", "Firma \"U Lva\"");
  const std::string text = Saved();
  EXPECT_NE(text.find(",\"F%%1\","), std::string::npos);
  EXPECT_NE(text.find(",\"Firma \"\"U Lva\"\"\","), std::string::npos);
}

TEST_F(TextDumpTest, LineBreaksAndZeroBytesAreEscapedAndEmptyTextIsTwoQuotes) {
  EXPECT_EQ(QuotedDumpText(std::string("a\rb\nc\0d", 7)), "\"a%cb%nc%0d\"");
  EXPECT_EQ(QuotedDumpText(""), "\"\"");
}

TEST_F(TextDumpTest, CodePage1250BytesAreWrittenAsTheyAre) {
  Stage("1", "\x8A\x9E\xE8");  // Šžč in code page 1250
  EXPECT_NE(Saved().find("\"\x8A\x9E\xE8\""), std::string::npos);
}

TEST_F(TextDumpTest, TheCursorStaysWhereItWas) {
  Stage("1", "A");
  Stage("2", "B");
  table_.First();
  Saved();
  EXPECT_EQ(table_.FieldByName("Faktura").AsString(), "1");
}

TEST_F(TextDumpTest, AFileThatCannotBeCreatedRaises) {
  std::filesystem::create_directory(dir_.path() + "dump.txt");
  EXPECT_THROW(Saved(), std::runtime_error);
}

TEST_F(TextDumpTest, AnExistingFileIsReplaced) {
  dir_.WriteFile("dump.txt", std::string(5000, 'x'));
  EXPECT_EQ(Saved(), kHeader);
}

}  // namespace
}  // namespace reports
