#include <gtest/gtest.h>

#include <fstream>

#include "dbf/dbf_file.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/expression_key_source.h"
#include "index/index_set.h"
#include "support/run_command.h"
#include "support/table_builder.h"

namespace {

using testing_support::RunTool;
using testing_support::TempDir;

// EXT.DBF (KOD C6, NAZ C20, CEN N8.2, DAT D8) with EXT.cdx holding the tags KOD, CEN
// (descending), DAT and NAZ FOR CEN > 10, all kept by key maintenance while the records were
// appended.
class DbftoolIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    table_path_ = dir_.File("EXT.DBF");
    index_path_ = dir_.File("EXT.cdx");
    testing_support::TableBuilder(
        {{"KOD", 'C', 6}, {"NAZ", 'C', 20}, {"CEN", 'N', 8, 2}, {"DAT", 'D', 8}})
        .WriteTo(table_path_);
    dbf::DbfFile table;
    table.Open(table_path_, true, true);
    idx::ExpressionKeySourceFactory factory(table);
    {
      auto index = idx::CdxIndex::Open(index_path_, {.may_create = true, .table = &table});
      AddTag(*index, "KOD", "KOD", "", 6, false);
      AddTag(*index, "CEN", "CEN", "", 8, true);
      AddTag(*index, "DAT", "DAT", "", 8, false);
      AddTag(*index, "NAZ", "UPPER(NAZ)", "CEN > 10", 20, false);
    }
    idx::IndexSet set(table, &factory);
    table.set_index_hooks(&set);
    set.Attach(index_path_);
    const char* rows[][4] = {{"C3", "Cerny", "5.00", "20260105"},
                             {"A1", "Adam", "25.50", "20260103"},
                             {"B2", "Bily", "12.00", "20260110"},
                             {"A10", "Alois", "1.00", "20260101"}};
    for (const auto& row : rows) {
      table.BlankRecord();
      for (int f = 0; f < 4; ++f) table.PutString(f + 1, row[f]);
      table.Append();
    }
    table.set_index_hooks(nullptr);
  }

  static void AddTag(idx::CdxIndex& index, const char* name, const char* key,
                     const char* for_clause, uint16_t length, bool descending) {
    idx::CdxTagHeader header;
    header.key_length = length;
    header.key_expression = key;
    header.for_expression = for_clause;
    header.descending = descending;
    index.AddEmptyTag(name, header);
  }

  TempDir dir_;
  std::string table_path_, index_path_;
};

TEST_F(DbftoolIndexTest, TagsListsEveryTagWithItsLayout) {
  const auto r = RunTool("dbftool", {"tags", index_path_});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("CEN        N       8 no     descending"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("DAT        D       8 no     ascending"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("KOD        C       6 no     ascending"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("FOR CEN > 10"), std::string::npos) << r.out;
}

TEST_F(DbftoolIndexTest, DumpWalksTheTagWithinTheRange) {
  auto r = RunTool("dbftool", {"dump", table_path_, "--index", index_path_, "--tag", "kod"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 5), "A1 | ");
  EXPECT_LT(r.out.find("A10 | "), r.out.find("B2 | "));
  r = RunTool("dbftool", {"dump", table_path_, "--index", index_path_, "--tag", "CEN", "--json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')).find("\"_recno\":2"), 1u) << r.out;
  EXPECT_NE(r.out.find("\"_key\":\"25.5\""), std::string::npos) << r.out;
  r = RunTool("dbftool", {"dump", table_path_, "--index", index_path_, "--tag", "DAT", "--range",
                          "03.01.2026", "05.01.2026"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 12), "2026-01-03 |");
  EXPECT_NE(r.out.find("2026-01-05 |"), std::string::npos);
  EXPECT_EQ(r.out.find("2026-01-10"), std::string::npos);
  r = RunTool("dbftool", {"dump", table_path_, "--index", index_path_, "--tag", "NAZ"});
  EXPECT_EQ(r.out.find("CERNY"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("BILY"), std::string::npos) << r.out;
}

TEST_F(DbftoolIndexTest, SeekFindsExactAndNearKeys) {
  auto r = RunTool("dbftool", {"seek", table_path_, index_path_, "KOD", "A"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("found:       2   A1"), std::string::npos) << r.out;
  r = RunTool("dbftool", {"seek", table_path_, index_path_, "KOD", "A", "--exact"});
  EXPECT_EQ(r.status, 1);
  r = RunTool("dbftool", {"seek", table_path_, index_path_, "KOD", "B0", "--near"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("near:       3   B2"), std::string::npos) << r.out;
  r = RunTool("dbftool", {"seek", table_path_, index_path_, "NONE", "A"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Cannot find index tag NONE"), std::string::npos) << r.err;
}

TEST_F(DbftoolIndexTest, CheckPassesASoundFileAndReportsAStaleKey) {
  auto r = RunTool("dbftool", {"check", table_path_});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  // Another program changed a code without maintaining the index.
  std::string bytes = testing_support::ReadFileBytes(table_path_);
  const size_t header = 32 + 4 * 32 + 1;
  const size_t record_length = 1 + 6 + 20 + 8 + 8;
  bytes[header + 1] = 'Z';
  std::ofstream(table_path_, std::ios::binary | std::ios::trunc) << bytes;
  r = RunTool("dbftool", {"check", table_path_, index_path_});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("FAULT tag KOD: record 1 is held under \"C3\" but its key is \"Z3\""),
            std::string::npos)
      << r.out;
  // A price raised above 10 brings record 4 under the FOR clause of NAZ without an entry.
  bytes.replace(header + 3 * record_length + 1 + 6 + 20, 8, "   99.00");
  std::ofstream(table_path_, std::ios::binary | std::ios::trunc) << bytes;
  r = RunTool("dbftool", {"check", table_path_});
  EXPECT_NE(r.out.find("FAULT tag NAZ: record 4 is missing"), std::string::npos) << r.out;
}

TEST_F(DbftoolIndexTest, CheckReportsACorruptedHeader) {
  std::string bytes = testing_support::ReadFileBytes(index_path_);
  bytes[0] = 0;
  bytes[1] = 0;
  std::ofstream(index_path_, std::ios::binary | std::ios::trunc) << bytes;
  const auto r = RunTool("dbftool", {"check", table_path_});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("is corrupted"), std::string::npos) << r.out;
}

}  // namespace

namespace {

TEST_F(DbftoolIndexTest, WriteCommandsWithIndexKeepEveryTagCurrent) {
  auto r = RunTool("dbftool", {"append", table_path_, "KOD=A05", "NAZ=Anna", "CEN=30",
                               "DAT=2026-01-04", "--protocol", "clip", "--index", index_path_});
  ASSERT_EQ(r.status, 0) << r.err;
  r = RunTool("dbftool", {"set", table_path_, "1", "KOD=A00", "CEN=50", "--index", index_path_});
  ASSERT_EQ(r.status, 0) << r.err;
  r = RunTool("dbftool", {"check", table_path_});
  EXPECT_EQ(r.status, 0) << r.out;
  r = RunTool("dbftool", {"dump", table_path_, "--index", index_path_, "--tag", "KOD"});
  EXPECT_EQ(r.out.substr(0, 4), "A00 ") << r.out;
  EXPECT_NE(r.out.find("A05 | "), std::string::npos) << r.out;
  r = RunTool("dbftool", {"dump", table_path_, "--index", index_path_, "--tag", "NAZ"});
  EXPECT_NE(r.out.find("CERNY"), std::string::npos) << r.out;
}

}  // namespace
