#include "reports/overview_workbook.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "reports/staging_layout.h"
#include "store/ansi_text.h"
#include "store/temp_dir.h"
#include "support/shell_output.h"

namespace reports {
namespace {

// Reads the workbook back with openpyxl (Debian's python3-openpyxl) and
// prints one line per cell: coordinate, value type, value, bold, number
// format; then one line per column width.
constexpr const char* kReader = R"(
import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
print('sheets', len(book.worksheets), sheet.max_row, sheet.max_column)
for row in sheet.iter_rows():
    for cell in row:
        if cell.value is None:
            continue
        print(cell.coordinate, type(cell.value).__name__, cell.value, cell.font.b,
              cell.alignment.horizontal, cell.number_format)
for letter in ('A', 'B', 'F', 'H'):
    print('width', letter, sheet.column_dimensions[letter].width)
)";

class WorkbookTest : public ::testing::Test {
 protected:
  WorkbookTest() {
    DeclareStagingFields(rows_);
    rows_.Open();
  }
  std::string ReadBack(const std::string& path) {
    dir_.WriteFile("reader.py", kReader);
    return testing_support::ShellOutput("/usr/bin/python3 " + dir_.path() + "reader.py '" + path +
                                        "' 2>&1");
  }

  MemTable rows_;
  testing_support::TempDir dir_;
};

TEST_F(WorkbookTest, OpenpyxlReadsHeadingsValuesAndTypes) {
  rows_.Append();
  rows_.FieldByName("Vystaveno").SetAsDateTime(dbf::DaysFromCivil({2004, 3, 5}));
  rows_.FieldByName("Faktura").SetAsString("F%1");
  rows_.FieldByName("Nazev").SetAsString(store::Ansi("Železářství \"U Lva\""));
  rows_.FieldByName("CelkemNC").SetAsFloat(800);
  rows_.FieldByName("CelkemPC").SetAsFloat(1220.5);
  rows_.Post();
  const std::string path = dir_.path() + "Přehled.xlsx";
  WriteWorkbook(rows_, path);
  const std::string out = ReadBack(path);
  EXPECT_NE(out.find("sheets 1 2 16\n"), std::string::npos) << out;
  EXPECT_NE(out.find("A1 str Vystaveno True center General\n"), std::string::npos) << out;
  EXPECT_NE(out.find("P1 str Kurz True center General\n"), std::string::npos) << out;
  EXPECT_NE(out.find("A2 datetime 2004-03-05 00:00:00 False None dd.mm.yyyy\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find("B2 str F%1 False None General\n"), std::string::npos) << out;
  EXPECT_NE(out.find("F2 str Železářství \"U Lva\" False"), std::string::npos) << out;
  EXPECT_NE(out.find("G2 int 800 "), std::string::npos) << out;
  EXPECT_NE(out.find("H2 float 1220.5 "), std::string::npos) << out;
  // Proforma, the codes, Mena and Kurz hold no value: no cells.
  EXPECT_EQ(out.find("C2 "), std::string::npos) << out;
  EXPECT_EQ(out.find("O2 "), std::string::npos) << out;
  EXPECT_EQ(out.find("P2 "), std::string::npos) << out;
  // Columns fitted to the longest text plus one: the name (19 characters),
  // the date (10) and the heading "CelkemPC" (8); the reader adds its padding.
  EXPECT_NE(out.find("width F 20."), std::string::npos) << out;
  EXPECT_NE(out.find("width A 11."), std::string::npos) << out;
  EXPECT_NE(out.find("width H 9."), std::string::npos) << out;
}

TEST_F(WorkbookTest, AnUnwritableDirectoryRaises) {
  EXPECT_THROW(WriteWorkbook(rows_, dir_.path() + "missing/x.xlsx"), std::runtime_error);
}

TEST(WorkbookPath, TodayInTheDirectoryOrTheDocumentsFolder) {
  EXPECT_EQ(WorkbookPath("/srv/xls", {2004, 3, 5}), "/srv/xls/Přehled faktur k 05.03.2004.xlsx");
  EXPECT_EQ(WorkbookPath("/srv/xls/", {2004, 3, 5}), "/srv/xls/Přehled faktur k 05.03.2004.xlsx");
  setenv("XDG_DOCUMENTS_DIR", "/home/u/Dokumenty", 1);
  EXPECT_EQ(WorkbookPath("", {2004, 12, 31}), "/home/u/Dokumenty/Přehled faktur k 31.12.2004.xlsx");
  unsetenv("XDG_DOCUMENTS_DIR");
}

}  // namespace
}  // namespace reports
