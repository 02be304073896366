// CreateTag on the cursor with compiled expressions: the progress reports, the busy cursor
// during the build, the cursor's state afterwards, FOR, unique and descending tags, Czech keys,
// the equality of a built tag with one kept by key maintenance, rebuilding, and every failure.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "cursor_test_support.h"
#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "index/cdx_checker.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/expression_key_source.h"

namespace idx {
namespace {

using testing_support::ErrorText;
using testing_support::IndexedCursor;
using testing_support::TableBuilder;
using testing_support::TempDir;
using testing_support::WalkField;
using testing_support::WalkForward;

using Status = std::tuple<int32_t, int32_t, int32_t>;
using Entry = std::pair<std::string, uint32_t>;

// Stock card: code, index, stock, goods issued and received, paid flag, name.
TableBuilder StockTable() {
  return TableBuilder({{"SKL_KAV", 'C', 8},
                       {"SKL_IND", 'C', 2},
                       {"SKL_STA", 'N', 8, 2},
                       {"BLO_KUS", 'N', 6},
                       {"BLO_VYD", 'N', 6},
                       {"HLA_PLA", 'L', 1},
                       {"SOR_NAC", 'C', 16}});
}

class CursorCreateTagTest : public ::testing::Test {
 protected:
  dbf::DbfDataSet& OpenTable(const TableBuilder& builder) {
    builder.WriteTo(dir_.File("SKL.DBF"));
    ds_ = IndexedCursor(dir_, "SKL");
    ds_->set_on_status(
        [this](int32_t a, int32_t b, int32_t c) { statuses_.emplace_back(a, b, c); });
    ds_->Open();
    return *ds_;
  }

  // Entries of one tag as the file holds them, read through a separate handle.
  std::vector<Entry> Entries(const std::string& tag_name) {
    dbf::DbfFile table;
    table.Open(dir_.File("SKL.DBF"), true, false);
    table.set_translate_ascii(ds_ == nullptr || ds_->translate_ascii());
    ExpressionKeySourceFactory factory(table);
    auto index = CdxIndex::Open(dir_.File("SKL.cdx"),
                                {.read_write = false, .table = &table, .key_sources = &factory});
    std::vector<Entry> entries;
    index->FindTag(tag_name)->ForEachEntry(
        [&](const std::string& key, uint32_t record) { entries.emplace_back(key, record); });
    const CdxCheckReport report = CheckCdx(*index, &table);
    for (const auto& fault : report.faults) ADD_FAILURE() << fault;
    return entries;
  }

  TempDir dir_;
  std::unique_ptr<dbf::DbfDataSet> ds_;
  std::vector<Status> statuses_;
};

TEST_F(CursorCreateTagTest, EmptyTableReportsTheFourStatusesAndGetsAnEmptyTag) {
  dbf::DbfDataSet& ds = OpenTable(StockTable());
  ds.CreateTag("SKL", "KAV", "SKL_KAV + SKL_IND", "", 0, 0);
  EXPECT_EQ(statuses_, (std::vector<Status>{{-1, 1, 0}, {0, 0, 0}, {-1, 2, 0}, {0, 0, 0}}));
  EXPECT_TRUE(Entries("KAV").empty());
  EXPECT_TRUE(ds.Eof() && ds.Bof());
}

TEST_F(CursorCreateTagTest, ProgressCountsEveryRecordAndEveryPairOfAForTag) {
  dbf::DbfDataSet& ds = OpenTable(StockTable()
                                      .Record({"A", "", "    2.00"})
                                      .Record({"B", "", "    0.00"})
                                      .Record({"C", "", "   -1.00"})
                                      .Record({"D", "", "    0.50"}));
  ds.CreateTag("SKL", "PUJ", "SKL_KAV", "SKL_STA >0", 1, 0);
  EXPECT_EQ(statuses_, (std::vector<Status>{{-1, 1, 4},
                                            {1, 1, 0},
                                            {1, 2, 0},
                                            {1, 3, 0},
                                            {1, 4, 0},
                                            {0, 0, 0},
                                            {-1, 2, 4},
                                            {2, 1, 0},
                                            {2, 2, 0},
                                            {0, 0, 0}}));
  const auto entries = Entries("PUJ");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].second, 1u);
  EXPECT_EQ(entries[1].second, 4u);
}

TEST_F(CursorCreateTagTest, CursorIsBusyDuringTheBuildAndOnItsFirstRecordAfterwards) {
  dbf::DbfDataSet& ds = OpenTable(StockTable().Record({"B"}).Record({"A"}).Record({"C"}));
  ds.CreateTag("SKL", "KAV", "SKL_KAV", "", 0, 0);
  ds.OpenIndexFile("SKL");
  ds.SelectTag("KAV");
  ds.Last();
  ASSERT_EQ(ds.RecNo(), 3u);
  std::vector<std::string> seen;
  ds.set_on_status([&](int32_t a, int32_t, int32_t) {
    if (a != 1) return;
    seen.push_back(ErrorText([&] { ds.Next(); }));
    seen.push_back(ErrorText([&] { ds.Find("A", false, false); }));
    seen.push_back(ErrorText([&] { ds.TagCount(); }));
    seen.push_back(ErrorText([&] { ds.Edit(); }));
    seen.push_back(ds.FieldByName("SKL_KAV").AsString());  // fields can still be read
  });
  ds.CreateTag("SKL", "IND", "SKL_IND", "", 1, 0);
  const std::string busy = "Table is busy building an index";
  ASSERT_EQ(seen.size(), 15u);
  EXPECT_EQ(seen[0], busy);
  EXPECT_EQ(seen[1], busy);
  EXPECT_EQ(seen[2], busy);
  EXPECT_EQ(seen[3], busy);
  EXPECT_EQ(seen[4], "C");
  EXPECT_FALSE(ds.building_index());
  EXPECT_EQ(ds.TagCount(), 0);
  EXPECT_EQ(ds.index_name(), "");
  EXPECT_EQ(ds.RecNo(), 1u);
  EXPECT_EQ(WalkForward(ds), (std::vector<uint32_t>{1, 2, 3}));
}

TEST_F(CursorCreateTagTest, ForExpressionsOverNumbersAndLogicals) {
  dbf::DbfDataSet& ds = OpenTable(StockTable()
                                      .Record({"A", "", "", "     5", "     5", "T"})
                                      .Record({"B", "", "", "     7", "     2", "F"})
                                      .Record({"C", "", "", "     1", "     3", "N"})
                                      .Record({"D", "", "", "     4", "     0", "Y"}, true));
  ds.CreateTag("SKL", "BLO", "SKL_KAV", "(BLO_KUS-BLO_VYD)>0", 1, 0);
  ds.CreateTag("SKL", "NEZ", "SKL_KAV", "NOT HLA_PLA", 1, 0);
  ds.OpenIndexFile("SKL");
  ds.SelectTag("BLO");
  EXPECT_EQ(WalkForward(ds), (std::vector<uint32_t>{2}));  // D is deleted but indexed
  EXPECT_EQ(Entries("BLO").size(), 2u);
  ds.SelectTag("NEZ");
  EXPECT_EQ(WalkForward(ds), (std::vector<uint32_t>{2, 3}));
  // Writes through the cursor move records in and out of FOR tags.
  ds.SetRecNo(3);
  ds.Edit();
  ds.FieldByName("HLA_PLA").SetAsBoolean(true);
  ds.FieldByName("BLO_KUS").SetAsInteger(9);
  ds.Post();
  EXPECT_EQ(WalkForward(ds), (std::vector<uint32_t>{2}));
  ds.SelectTag("BLO");
  EXPECT_EQ(WalkForward(ds), (std::vector<uint32_t>{2, 3}));
}

// -3 * 0 is -0.0: stored with all 64 bits inverted, as other programs write it, and found
// again as the old key when the record is rewritten.
TEST_F(CursorCreateTagTest, NegativeZeroKeyIsStoredInvertedAndMaintainedInPlace) {
  dbf::DbfDataSet& ds = OpenTable(StockTable()
                                      .Record({"A", "", "", "    -3", "     0"})
                                      .Record({"B", "", "", "     2", "     1"}));
  ds.CreateTag("SKL", "SOU", "BLO_KUS*BLO_VYD", "", 1, 0);
  const Entry negative_zero{std::string(1, '\x7F') + std::string(7, '\xFF'), 1};
  const Entry two{"\xC0", 2};
  EXPECT_EQ(Entries("SOU"), (std::vector<Entry>{negative_zero, two}));
  ds.OpenIndexFile("SKL");
  ds.SetRecNo(1);
  ds.Edit();
  ds.FieldByName("SOR_NAC").SetAsString("renamed");
  ds.Post();
  EXPECT_EQ(Entries("SOU"), (std::vector<Entry>{negative_zero, two}));
}

// The key type comes from the key on the current record, not on a blank one: a division by a
// field that is never zero builds and opens as an N tag, and an IIF whose condition holds on the
// records gives the type of its second argument.
TEST_F(CursorCreateTagTest, KeyTypeIsFoundOnTheCurrentRecord) {
  dbf::DbfDataSet& ds = OpenTable(StockTable()
                                      .Record({"A", "", "   12.00", "     4", "", "T"})
                                      .Record({"B", "", "    3.00", "     1", "", "T"})
                                      .Record({"C", "", "   10.00", "     2", "", "T"}));
  ds.CreateTag("SKL", "DIV", "SKL_STA/BLO_KUS", "", 1, 0);
  ds.CreateTag("SKL", "IIF", "IIF(HLA_PLA,BLO_KUS,SOR_NAC)", "", 1, 0);
  ds.CreateTag("SKL", "KAV", "SKL_KAV", "", 1, 0);
  ds.Close();
  ds.SetIndexFiles({"SKL"});
  ds.SetIndexName("DIV");
  ds.Open();
  EXPECT_EQ(WalkForward(ds), (std::vector<uint32_t>{1, 2, 3}));  // 3, 3, 5 as numbers
  ds.SelectTag("IIF");
  EXPECT_EQ(WalkForward(ds), (std::vector<uint32_t>{2, 3, 1}));
  EXPECT_EQ(Entries("IIF")[0].first, "\xBF\xF0");  // 1.0 as an N key
  ds.Close();

  // A key that fails on the first record (the table's current one at open) and on a blank
  // record leaves its tag unusable, not the whole file.
  {
    dbf::DbfFile table;
    table.Open(dir_.File("SKL.DBF"), true, true);
    table.GoTo(1);
    table.PutString("BLO_KUS", "0");
    table.PutRecord(1);
  }
  ds.SetIndexName("KAV");
  ds.Open();
  EXPECT_EQ(WalkField(ds, "SKL_KAV"), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(ErrorText([&] { ds.SelectTag("DIV"); }), "Argument for / must be non-zero");
  EXPECT_EQ(ds.index_name(), "KAV");
  EXPECT_EQ(ErrorText([&] { ds.CreateTag("SKL", "DIV", "SKL_STA/BLO_KUS", "", 1, 0); }),
            "Argument for / must be non-zero");
}

// No sortable key: a result of no sortable kind, and text in a tag whose type is N.
TEST_F(CursorCreateTagTest, KeysThatCannotBeSortedRaiseTheirMessage) {
  dbf::DbfDataSet& ds = OpenTable(StockTable()
                                      .Record({"A", "", "", "     1", "", "T"})
                                      .Record({"B", "", "", "     2", "", "T"}));
  ds.CreateTag("SKL", "IIF", "IIF(HLA_PLA,BLO_KUS,SOR_NAC)", "", 1, 0);
  EXPECT_EQ(ErrorText([&] { ds.CreateTag("SKL", "EMP", "TRIM(SOR_NAC)", "", 1, 0); }),
            "Sort key length must be 1-240 bytes, is 0");
  ds.OpenIndexFile("SKL");
  ds.SetRecNo(2);
  ds.Edit();
  ds.FieldByName("HLA_PLA").SetAsBoolean(false);
  EXPECT_EQ(ErrorText([&] { ds.Post(); }), "Variant type cannot be sorted");
}

TEST_F(CursorCreateTagTest, UniqueTagKeepsTheLowestRecordOfEachKey) {
  dbf::DbfDataSet& ds =
      OpenTable(StockTable().Record({"X"}).Record({"Y"}).Record({"X"}).Record({"Y"}).Record({"W"}));
  ds.CreateTag("SKL", "KAV", "SKL_KAV", "", 0, 0);
  const auto entries = Entries("KAV");
  EXPECT_EQ(entries, (std::vector<Entry>{{"W", 5}, {"X", 1}, {"Y", 2}}));
}

TEST_F(CursorCreateTagTest, DescendingTagWalksFromTheHighestKey) {
  dbf::DbfDataSet& ds = OpenTable(
      StockTable().Record({"K2", "1"}).Record({"K1", "2"}).Record({"K2", "0"}).Record({"K3"}));
  ds.CreateTag("SKL", "KAV", "SKL_KAV + SKL_IND", "", 1, 1);
  ds.OpenIndexFile("SKL");
  ds.SelectTag("KAV");
  EXPECT_EQ(WalkForward(ds), (std::vector<uint32_t>{4, 1, 3, 2}));
  ds.Last();
  EXPECT_EQ(ds.RecNo(), 2u);
  // Sort order 8: descending as well, built with the normal collation.
  ds.CreateTag("SKL", "GEN", "SKL_KAV + SKL_IND", "", 1, 8);
  ds.OpenIndexFile("SKL");
  ds.SelectTag("GEN");
  EXPECT_EQ(WalkForward(ds), (std::vector<uint32_t>{4, 1, 3, 2}));
}

TEST_F(CursorCreateTagTest, UpperOfCzechNamesInCollationOrder) {
  TableBuilder builder = StockTable();
  for (const char* name :
       {"Žito", "cibule", "čáp", "Čapek", "šroub", "sekera", "zebra", "Adámek"}) {
    builder.Record({"", "", "", "", "", "", dbf::Utf8ToCp852(name)});
  }
  dbf::DbfDataSet& ds = OpenTable(builder);
  ds.CreateTag("SKL", "NAC", "UPPER(SOR_NAC)", "", 1, 0);
  ds.OpenIndexFile("SKL");
  ds.SelectTag("NAC");
  EXPECT_EQ(WalkForward(ds), (std::vector<uint32_t>{8, 2, 4, 3, 6, 5, 7, 1}));
  const auto entries = Entries("NAC");
  ASSERT_EQ(entries.size(), 8u);
  EXPECT_EQ(entries[0].first, dbf::Utf8ToCp852("ADÁMEK"));
}

// The cursor's TranslateASCII reaches the key expressions: without it UPPER reads the OEM bytes
// as ANSI letters (852 č, á are 1250 ź and a no-break space).
TEST_F(CursorCreateTagTest, TranslateAsciiOfTheCursorReachesTheKeys) {
  dbf::DbfDataSet& ds =
      OpenTable(StockTable().Record({"", "", "", "", "", "", dbf::Utf8ToCp852("čáp")}));
  ds.CreateTag("SKL", "NAC", "UPPER(SOR_NAC)", "", 1, 0);
  EXPECT_EQ(Entries("NAC")[0].first, dbf::Utf8ToCp852("ČÁP"));
  ds.set_translate_ascii(false);
  ds.CreateTag("SKL", "NAC", "UPPER(SOR_NAC)", "", 1, 0);
  EXPECT_EQ(Entries("NAC")[0].first, "\x8F\xA0P");
  ds.Close();
  ds.Open();  // the setting holds from the open on
  ds.CreateTag("SKL", "NAC", "UPPER(SOR_NAC)", "", 1, 0);
  EXPECT_EQ(Entries("NAC")[0].first, "\x8F\xA0P");
}

// A tag built over the records holds exactly what maintenance gives when the same records are
// appended one by one through the cursor.
TEST_F(CursorCreateTagTest, BuiltTagEqualsTheTagKeptByMaintenance) {
  TableBuilder builder = StockTable();
  for (int i = 0; i < 700; ++i) {
    builder.Record(
        {"K" + std::to_string((i * 37) % 250), std::to_string(i % 3), std::to_string(i % 11 - 5)},
        i % 17 == 0);  // deleted records are indexed too
  }
  dbf::DbfDataSet& ds = OpenTable(builder);
  ds.CreateTag("SKL", "KAV", "SKL_KAV + SKL_IND", "", 1, 0);
  ds.CreateTag("SKL", "UNI", "SKL_KAV", "", 0, 0);
  ds.CreateTag("SKL", "PUJ", "SKL_KAV", "SKL_STA >0", 1, 0);
  const auto built_kav = Entries("KAV"), built_uni = Entries("UNI"), built_puj = Entries("PUJ");
  ASSERT_EQ(built_kav.size(), 700u);
  ds.Close();

  // The same tags over an empty copy, then the records appended through the cursor.
  std::filesystem::rename(dir_.File("SKL.DBF"), dir_.File("ALL.DBF"));
  std::filesystem::remove(dir_.File("SKL.cdx"));
  dbf::DbfDataSet& copy = OpenTable(StockTable());
  copy.CreateTag("SKL", "KAV", "SKL_KAV + SKL_IND", "", 1, 0);
  copy.CreateTag("SKL", "UNI", "SKL_KAV", "", 0, 0);
  copy.CreateTag("SKL", "PUJ", "SKL_KAV", "SKL_STA >0", 1, 0);
  copy.OpenIndexFile("SKL");
  auto source = IndexedCursor(dir_, "ALL");
  source->set_use_deleted(true);
  source->Open();
  for (source->First(); !source->Eof(); source->Next()) {
    copy.Append();
    for (int f = 0; f < copy.field_count(); ++f) {
      copy.field(f).SetAsString(source->field(f).AsString());
    }
    copy.Post();
    if (source->deleted()) copy.Delete();
  }
  copy.Close();
  EXPECT_EQ(Entries("KAV"), built_kav);
  EXPECT_EQ(Entries("UNI"), built_uni);
  EXPECT_EQ(Entries("PUJ"), built_puj);
}

TEST_F(CursorCreateTagTest, RebuildingATagReplacesItsEntryWhileTheFileGrows) {
  TableBuilder builder = StockTable();
  for (int i = 0; i < 300; ++i) builder.Record({"K" + std::to_string(i)});
  dbf::DbfDataSet& ds = OpenTable(builder);
  ds.CreateTag("SKL", "KAV", "SKL_KAV", "", 0, 0);
  const auto size_once = std::filesystem::file_size(dir_.File("SKL.cdx"));
  ds.CreateTag("SKL", "kav", "SKL_KAV", "", 0, 0);
  const auto size_twice = std::filesystem::file_size(dir_.File("SKL.cdx"));
  EXPECT_EQ(size_twice - size_once, size_once - 1536);  // the new tag's pages, the old unused
  ds.OpenIndexFile("SKL");
  EXPECT_EQ(ds.TagCount(), 1);
  EXPECT_EQ(Entries("KAV").size(), 300u);
}

TEST_F(CursorCreateTagTest, FailuresAndTheStateTheyLeave) {
  dbf::DbfDataSet& ds = OpenTable(StockTable().Record({"B"}).Record({"A"}));
  ds.CreateTag("SKL", "KAV", "SKL_KAV", "", 0, 0);
  ds.OpenIndexFile("SKL");
  ds.SelectTag("KAV");
  EXPECT_EQ(ErrorText([&] { ds.CreateTag("SKL", " ", "SKL_KAV", "", 0, 0); }),
            "Cannot find index tag  ");
  EXPECT_EQ(ds.TagCount(), 0);  // the index files were closed all the same
  EXPECT_EQ(ds.RecNo(), 1u);
  EXPECT_EQ(ErrorText([&] { ds.CreateTag("SKL.ntx", "KAV", "SKL_KAV", "", 0, 0); }),
            "File " + dir_.File("SKL.ntx") + " could not be found");
  EXPECT_EQ(ErrorText([&] { ds.CreateTag(dir_.File("none/SKL"), "KAV", "SKL_KAV", "", 0, 0); }),
            "File " + dir_.File("none/SKL.cdx") + " could not be found");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("SKL.ntx")));
  const std::string before = testing_support::ReadFileBytes(dir_.File("SKL.cdx"));
  EXPECT_NE(ErrorText([&] { ds.CreateTag("SKL", "BAD", "SKL_KAV +", "", 0, 0); }), "(no error)");
  EXPECT_FALSE(ds.building_index());
  EXPECT_EQ(ds.RecNo(), 1u);

  std::string damaged = before;
  damaged[0x0C] = '\x7F';  // StructureTag header: key length 127 instead of 10
  std::ofstream(dir_.File("BAD.cdx"), std::ios::binary) << damaged;
  EXPECT_EQ(ErrorText([&] { ds.CreateTag("BAD", "KAV", "SKL_KAV", "", 0, 0); }),
            "Index file " + dir_.File("BAD.cdx") + " is corrupted");
  EXPECT_EQ(ds.RecNo(), 1u);
  EXPECT_EQ(ErrorText([&] { ds.CreateTag("SKL", "ELEVENCHARS", "SKL_KAV", "", 0, 0); }),
            "Tag name ELEVENCHARS is longer than 10 characters");
}

}  // namespace
}  // namespace idx
