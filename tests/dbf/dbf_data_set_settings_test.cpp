// Settings of the cursor: the table name and directory with the alias list,
// the rules for changing settings while open, and the settings handed to the
// table file layer.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data_set_test_support.h"
#include "dbf/alias_list.h"
#include "dbf/errors.h"

namespace {

using namespace data_set_testing;

template <typename Call>
std::string ErrorOf(Call&& call) {
  try {
    call();
  } catch (const dbf::EngineError& e) {
    return e.what();
  }
  return "(no error)";
}

TableBuilder OneRecord() {
  return TableBuilder({{"NAME", 'C', 4}}).Record({"A"});
}

TEST(DataSetOpen, TableNameMissing) {
  dbf::DbfDataSet ds;
  EXPECT_EQ(ErrorOf([&] { ds.Open(); }), "Table name missing");
  EXPECT_FALSE(ds.active());
}

TEST(DataSetOpen, MissingFileNamesThePath) {
  TempDir dir;
  auto ds = CursorOn(dir, "NOPE");
  EXPECT_EQ(ErrorOf([&] { ds->Open(); }), "Cannot find file " + dir.path() + "/NOPE.DBF");
  EXPECT_EQ(ds->table_name(), "NOPE.DBF");
}

TEST(DataSetOpen, AddsTheExtensionAndFindsTheFileWithoutRegardToCase) {
  TempDir dir;
  OneRecord().WriteTo(dir.File("kpohled.dbf"));
  auto ds = CursorOn(dir, "KPOHLED");
  ds->Open();
  EXPECT_EQ(ds->table_name(), "KPOHLED.DBF");
  EXPECT_EQ(ds->FieldByName("NAME").AsString(), "A");
}

TEST(DataSetOpen, ExclusiveOpenKeepsOthersOut) {
  TempDir dir;
  OneRecord().WriteTo(dir.File("T.DBF"));
  auto first = CursorOn(dir, "T");
  first->set_exclusive(true);
  first->Open();
  auto second = CursorOn(dir, "T");
  EXPECT_EQ(ErrorOf([&] { second->Open(); }), "Access denied to file " + dir.File("T.DBF"));
}

TEST(DataSetSettings, NamesChangeOnlyWhileClosed) {
  TempDir dir;
  OneRecord().WriteTo(dir.File("T.DBF"));
  auto ds = CursorOn(dir, "T");
  ds->Open();
  const std::string open = "Cannot perform this operation on an open dataset";
  EXPECT_EQ(ErrorOf([&] { ds->SetTableName("U"); }), open);
  EXPECT_EQ(ErrorOf([&] { ds->SetDatabaseName("/tmp"); }), open);
  ds->SetTableName("T.DBF");  // the same value changes nothing
  ds->SetDatabaseName(dir.path());
  EXPECT_EQ(ErrorOf([&] { ds->DeclareField("X", dbf::FieldKind::kString); }), open);
  ds->Close();
  ds->SetIndexFiles({"T.CDX"});
  ds->SetIndexName("TAG");
  ds->SetTableName("U");  // a new table name clears the index files
  EXPECT_TRUE(ds->index_files().empty());
  EXPECT_EQ(ds->index_name(), "TAG");
  ds->SetIndexFiles({});
  EXPECT_EQ(ds->index_name(), "");
}

// The trailing separator is dropped from the stored name and the alias list
// learns name=name; the table is found in that directory.
TEST(DataSetDirectory, DatabaseNameWithTrailingSeparator) {
  TempDir dir;
  OneRecord().WriteTo(dir.File("KPOHLED.DBF"));
  dbf::DbfDataSet ds;
  ds.SetDatabaseName(dir.path() + "/");
  ds.SetTableName("KPOHLED");
  EXPECT_EQ(ds.database_name(), dir.path());
  EXPECT_EQ(dbf::AliasList::Global().Value(dir.path()), dir.path());
  EXPECT_EQ(ds.ResolvedDirectory(), dir.path() + "/");
  ds.Open();
  EXPECT_EQ(ds.table_name(), "KPOHLED.DBF");
  EXPECT_EQ(ds.file().path(), dir.path() + "/KPOHLED.DBF");
}

TEST(DataSetDirectory, RootStaysRootAndEmptyIsTheCurrentDirectory) {
  dbf::DbfDataSet ds;
  EXPECT_EQ(ds.ResolvedDirectory(), "");
  ds.SetDatabaseName("/");
  EXPECT_EQ(ds.database_name(), "/");
  EXPECT_EQ(ds.ResolvedDirectory(), "/");
}

TEST(DataSetDirectory, DefaultDirectoryIsTheProgramDirectory) {
  dbf::DbfDataSet ds;
  ds.SetDatabaseName("default DIRECTORY");
  EXPECT_EQ(ds.database_name(), "default DIRECTORY");
  EXPECT_FALSE(dbf::AliasList::Global().Contains("default DIRECTORY"));
  const auto program = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(ds.ResolvedDirectory(), program.parent_path().string() + "/");
}

class AliasFileTest : public ::testing::Test {
 protected:
  void TearDown() override { dbf::AliasList::SetConfigDirectory("/etc"); }
  void WriteConfig(const std::string& name, const std::string& text) {
    std::ofstream(config_.File(name)) << text;
    dbf::AliasList::SetConfigDirectory(config_.path());
  }
  TempDir config_, data_;
};

TEST_F(AliasFileTest, AliasSectionNamesTheDirectory) {
  WriteConfig("TABULON.CFG",
              "[Other]\nDATA=/nowhere\n[alias]\n; comment\nData = " + data_.path() + "\nEMPTY=\n");
  EXPECT_EQ(dbf::AliasList::Global().lines().size(), 2u);
  OneRecord().WriteTo(data_.File("T.DBF"));
  dbf::DbfDataSet ds;
  ds.SetDatabaseName("DATA");
  ds.SetTableName("T");
  EXPECT_EQ(ds.ResolvedDirectory(), data_.path() + "/");
  ds.Open();
  EXPECT_EQ(ds.FieldByName("NAME").AsString(), "A");
  ds.Close();
  ds.SetDatabaseName("EMPTY");  // an alias without a path: the name itself
  EXPECT_EQ(ds.ResolvedDirectory(), "EMPTY/");
}

TEST_F(AliasFileTest, MissingFileOrSectionLeavesTheListEmpty) {
  dbf::AliasList::SetConfigDirectory(config_.path());
  EXPECT_TRUE(dbf::AliasList::Global().lines().empty());
  WriteConfig("tabulon.cfg", "[Paths]\nDATA=/x\n");
  EXPECT_TRUE(dbf::AliasList::Global().lines().empty());
}

TEST(DataSetSettings, LockProtocolTakesEffectAtOnce) {
  TempDir dir;
  const TableBuilder b = OneRecord();
  b.WriteTo(dir.File("T.DBF"));
  auto ds = CursorOn(dir, "T");
  ds->SetLockProtocol(dbf::LockProtocol::kClipLock);
  ds->Open();
  ASSERT_TRUE(ds->LockRecord());
  EXPECT_EQ(ds->file().disk().locked_range(), (dbf::LockRange{1000000001, 1}));
  ds->UnlockRecord();
  ds->SetLockProtocol(dbf::LockProtocol::kDefault);
  ASSERT_TRUE(ds->LockRecord());
  EXPECT_EQ(ds->file().disk().locked_range(), (dbf::LockRange{0x40000000u + b.HeaderLength(), 1}));
  ds->UnlockRecord();
}

TEST(DataSetSettings, UserIdIsWrittenIntoTheHeader) {
  TempDir dir;
  OneRecord().WriteTo(dir.File("T.DBF"));
  auto ds = CursorOn(dir, "T");
  ds->Open();
  ds->SetUserId(0x01020304);
  ds->Edit();
  ds->FieldByName("NAME").SetAsString("B");
  ds->Post();
  EXPECT_EQ(testing_support::ReadFileBytes(dir.File("T.DBF")).substr(20, 4), "\x04\x03\x02\x01");
}

TEST(DataSetSettings, OnStatusReceivesReports) {
  dbf::DbfDataSet ds;
  std::vector<int32_t> seen;
  ds.ReportStatus(1, 2, 3);  // no handler: nothing happens
  ds.set_on_status([&](int32_t a, int32_t b, int32_t c) { seen = {a, b, c}; });
  ds.ReportStatus(4, 5, 6);
  EXPECT_EQ(seen, (std::vector<int32_t>{4, 5, 6}));
}

}  // namespace
