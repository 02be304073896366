// The in-memory existence test against the sequential partial-key scan: the
// same first record for every question, on numbers and Czech texts, with
// deleted records and records appended while questions are asked.

#include "accounting/prefix_index.h"

#include <random>

#include "accounting/existence_search.h"
#include "export_fixture.h"

namespace accounting_testing {
namespace {

using accounting::PrefixIndex;

class PrefixIndexTest : public ::testing::Test {
 protected:
  void Build(const std::vector<testing_support::FieldSpec>& fields,
             const std::vector<std::pair<std::string, bool>>& values) {
    testing_support::TableBuilder builder(fields);
    for (const auto& [value, deleted] : values) builder.Record({value}, deleted);
    builder.WriteTo(dir_.File("T.DBF"));
    table_.SetDatabaseName(dir_.path());
    table_.SetTableName("T.DBF");
    table_.set_large_integer_as(dbf::LargeIntegerAs::kAsLargeInt);
    table_.Open();
  }
  // Record number the sequential scan lands on; 0 for none.
  uint32_t Scan(const std::string& value) {
    auto scan = accounting::MakeExistenceSearch(accounting::SearchMethod::kSequential, table_, "F");
    table_.First();
    return scan->Locate(value) ? table_.RecNo() : 0;
  }

  testing_support::TempDir dir_;
  dbf::DbfDataSet table_;
};

TEST_F(PrefixIndexTest, NumbersMatchByTheirLeadingDigits) {
  Build({{"F", 'N', 10}},
        {{"20050011", false}, {"2005001", false}, {"", false}, {"-15", false}, {"7", true}});
  PrefixIndex index(table_, "F");
  EXPECT_EQ(index.FirstMatch("2005001"), 1u);  // 20050011 comes first
  EXPECT_EQ(index.FirstMatch("20050011"), 1u);
  EXPECT_EQ(index.FirstMatch("200500111"), std::nullopt);
  EXPECT_EQ(index.FirstMatch("0"), 3u);  // a blank number reads 0
  EXPECT_EQ(index.FirstMatch(""), 3u);   // so does an empty value
  EXPECT_EQ(index.FirstMatch("-1"), 4u);
  EXPECT_EQ(index.FirstMatch("7"), std::nullopt);  // deleted
  try {
    index.FirstMatch("10A");
    FAIL() << "a value that is not a number was accepted";
  } catch (const dbf::EngineError& e) {
    EXPECT_STREQ(e.what(), "Invalid Number value for field F");
  }
}

TEST_F(PrefixIndexTest, BothSearchesRefuseANonNumberWhenNoRecordIsShown) {
  for (const bool one_deleted_record : {false, true}) {
    SCOPED_TRACE(one_deleted_record);
    table_.Close();
    Build({{"F", 'N', 10}}, one_deleted_record
                                ? std::vector<std::pair<std::string, bool>>{{"1", true}}
                                : std::vector<std::pair<std::string, bool>>{});
    for (const auto method :
         {accounting::SearchMethod::kIndexed, accounting::SearchMethod::kSequential}) {
      auto search = accounting::MakeExistenceSearch(method, table_, "F");
      try {
        search->Locate("10A");
        FAIL() << "a value that is not a number was accepted";
      } catch (const dbf::EngineError& e) {
        EXPECT_STREQ(e.what(), "Invalid Number value for field F");
      }
      EXPECT_FALSE(search->Locate("1"));
    }
  }
}

TEST_F(PrefixIndexTest, TextsMatchCaseSensitivelyInTheFilesCodePage) {
  Build({{"F", 'C', 10}},
        {{Oem("Čáp"), false}, {" 12", false}, {"12345678901", false}, {Oem("čáp"), false}});
  PrefixIndex index(table_, "F");
  EXPECT_EQ(index.FirstMatch(store::Ansi("čá")), 4u);
  EXPECT_EQ(index.FirstMatch(store::Ansi("Čáp")), 1u);
  EXPECT_EQ(index.FirstMatch("12"), 3u);
  EXPECT_EQ(index.FirstMatch(" 1"), 2u);
  // A value longer than the field is cut to it, as in the key record.
  EXPECT_EQ(index.FirstMatch("1234567890XYZ"), 3u);
  EXPECT_EQ(index.FirstMatch(""), 1u);
}

TEST_F(PrefixIndexTest, RecordsAppendedMeanwhileAreSeen) {
  Build({{"F", 'C', 10}}, {{"A1", false}});
  PrefixIndex index(table_, "F");
  EXPECT_EQ(index.FirstMatch("B"), std::nullopt);
  table_.Append();
  table_.FieldByName("F").SetAsString("B2");
  table_.Post();
  {
    dbf::DbfFile other;  // another program appends too
    other.Open(dir_.File("T.DBF"), true, true);
    other.BlankRecord();
    other.PutString("F", "B1");
    other.Append();
  }
  EXPECT_EQ(index.FirstMatch("B"), 2u);
  EXPECT_EQ(index.FirstMatch("B1"), 3u);
}

// Random tables and questions: the index answers exactly as the scan.
TEST_F(PrefixIndexTest, AgreesWithTheSequentialScan) {
  std::mt19937 random(20240105);
  auto digits = [&](int length) {
    std::string text;
    for (int i = 0; i < length; ++i) text += static_cast<char>('0' + random() % 4);
    if (text.size() > 1 && text[0] == '0') text[0] = '1';
    return text;
  };
  for (const char type : {'N', 'C'}) {
    SCOPED_TRACE(type);
    table_.Close();
    std::vector<std::pair<std::string, bool>> values;
    for (int i = 0; i < 300; ++i) values.push_back({digits(1 + random() % 6), random() % 10 == 0});
    Build({{"F", type, 8}}, values);
    auto fast = accounting::MakeExistenceSearch(accounting::SearchMethod::kIndexed, table_, "F");
    for (int i = 0; i < 400; ++i) {
      const std::string question = digits(1 + random() % 7);
      const uint32_t expected = Scan(question);
      table_.First();
      const bool found = fast->Locate(question);
      EXPECT_EQ(found ? table_.RecNo() : 0, expected) << question;
      if (i % 7 == 0) {  // the table grows between questions
        table_.Append();
        table_.FieldByName("F").SetAsString(digits(1 + random() % 6));
        table_.Post();
      }
    }
  }
}

TEST_F(ExportTest, IndexedAndSequentialExportsWriteTheSameFiles) {
  std::mt19937 random(7);
  for (int c = 0; c < 12; ++c) {
    AddCustomer({.code = std::to_string(c * 7),
                 .ico = c % 5 == 4 ? "" : std::to_string(1000 + c % 6 * 11),
                 .name = "Firma " + std::to_string(c)});
  }
  AddSaldexRecord("KPOHLED.DBF", {{"CISDOKLADU", "24017"}});
  AddSaldexRecord("ADRESAR.DBF", {{"ICO", "10111"}});
  for (int i = 0; i < 120; ++i) {
    AddInvoice({.number = std::to_string(240 + random() % 8) + std::to_string(random() % 12),
                .customer = std::to_string(random() % 90)});
  }
  const std::string start_receivables = testing_support::ReadFileBytes(Saldex("KPOHLED.DBF"));
  const std::string start_addresses = testing_support::ReadFileBytes(Saldex("ADRESAR.DBF"));
  const std::string start_counters = testing_support::ReadFileBytes(Saldex("SYSTEMAK.DBF"));

  const auto sequential = Export(accounting::SearchMethod::kSequential);
  const uint32_t sequential_position = ucto_.Pohledavky.RecNo();
  const uint32_t sequential_address = ucto_.Adresar.RecNo();
  const auto receivables = Receivables();
  const auto addresses = Addresses();
  const auto messages = Messages();

  ucto_.Pohledavky.Close();
  ucto_.Adresar.Close();
  std::ofstream(Saldex("KPOHLED.DBF"), std::ios::binary) << start_receivables;
  std::ofstream(Saldex("ADRESAR.DBF"), std::ios::binary) << start_addresses;
  std::ofstream(Saldex("SYSTEMAK.DBF"), std::ios::binary) << start_counters;
  operator_.messages.clear();
  ucto_.Pohledavky.Open();
  ucto_.Adresar.Open();
  const auto indexed = Export(accounting::SearchMethod::kIndexed);

  EXPECT_GT(sequential.exported, 10);
  EXPECT_GT(sequential.already_present, 10);
  EXPECT_GT(sequential.customer_missing, 5);
  EXPECT_EQ(indexed.exported, sequential.exported);
  EXPECT_EQ(indexed.already_present, sequential.already_present);
  EXPECT_EQ(indexed.addresses_added, sequential.addresses_added);
  EXPECT_EQ(Receivables(), receivables);
  EXPECT_EQ(Addresses(), addresses);
  EXPECT_EQ(Messages(), messages);
  EXPECT_EQ(ucto_.Pohledavky.RecNo(), sequential_position);
  EXPECT_EQ(ucto_.Adresar.RecNo(), sequential_address);
}

}  // namespace
}  // namespace accounting_testing
