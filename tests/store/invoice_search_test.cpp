#include "store/invoice_search.h"

#include <gtest/gtest.h>

#include "dbf/ansi_case.h"
#include "store/ansi_text.h"
#include "store/demo_store.h"

namespace store {
namespace {

using testing_support::DemoStoreTest;

struct CompletionCase {
  const char* name;
  const char* current;
  const char* typed;
  const char* completed;
};

class CompleteInvoiceNumberTest : public ::testing::TestWithParam<CompletionCase> {};

TEST_P(CompleteInvoiceNumberTest, CompletesFromTheCurrentNumber) {
  const CompletionCase& c = GetParam();
  EXPECT_EQ(CompleteInvoiceNumber(c.current, c.typed), c.completed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompleteInvoiceNumberTest,
    ::testing::Values(CompletionCase{"ShortTail", "2024000123", "45", "2024000145"},
                      CompletionCase{"LeadingBlankKept", "2024000123", " 45", "20240001 45"},
                      CompletionCase{"TrailingBlankKept", "2024000123", "45 ", "2024000145 "},
                      CompletionCase{"AsLong", "2024000123", "2025000001", "2025000001"},
                      CompletionCase{"Longer", "2400001", "24000015", "24000015"},
                      CompletionCase{"Empty", "2024000123", "", "2024000123"},
                      CompletionCase{"NoCurrentInvoice", "", "45", "45"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InvoiceSearchKey, TrimsAndUpperCasesOnlyTheName) {
  EXPECT_EQ(InvoiceSearchKey(InvoiceSearchChoice::kCustomerName, Ansi(" novák ")), Ansi("NOVÁK"));
  EXPECT_EQ(InvoiceSearchKey(InvoiceSearchChoice::kCustomerName, Ansi("žluťoučký kůň")),
            Ansi("ŽLUŤOUČKÝ KŮŇ"));
  EXPECT_EQ(InvoiceSearchKey(InvoiceSearchChoice::kOrderNumber, " obj1 "), "obj1");
  EXPECT_EQ(InvoiceSearchKey(InvoiceSearchChoice::kInvoiceNumber, "20240001 45"), "20240001 45");
}

TEST(InvoiceSearchTag, EachChoiceHasItsTag) {
  EXPECT_STREQ(InvoiceSearchTag(InvoiceSearchChoice::kInvoiceNumber), "DO1");
  EXPECT_STREQ(InvoiceSearchTag(InvoiceSearchChoice::kCustomerName), "NAC");
  EXPECT_STREQ(InvoiceSearchTag(InvoiceSearchChoice::kOrderNumber), "DO2");
  EXPECT_STREQ(InvoiceSearchTag(InvoiceSearchChoice::kProformaNumber), "DO3");
}

class InvoiceSearchTest : public DemoStoreTest {
 protected:
  void SetUp() override {
    MakeStore();
    ASSERT_TRUE(Module().OpenFak("DO1"));
    AddInvoice("2024000123", Ansi("Novák Jaroslav"), "OBJ-77");
    AddInvoice("2024000145", Ansi("Šťastný Ondřej"), "");
  }
  dbf::DbfDataSet& Faktury() { return Module().Faktury(); }
  void AddInvoice(const std::string& number, const std::string& name, const std::string& order) {
    Faktury().Append();
    Faktury().FieldByName("HLA_DO1").SetAsString(number);
    Faktury().FieldByName("HLA_NAC").SetAsString(name);
    Faktury().FieldByName("HLA_DO2").SetAsString(order);
    Faktury().Post();
  }
  std::string Current(const char* field) { return Faktury().FieldByName(field).AsString(); }
  void GoTo(const std::string& number) {
    Faktury().SelectTag("DO1");
    ASSERT_TRUE(Faktury().Find(number, true, false));
  }
};

TEST_F(InvoiceSearchTest, AShortNumberIsCompletedFromTheCurrentInvoice) {
  GoTo("2024000123");
  EXPECT_EQ(SearchInvoice(Faktury(), InvoiceSearchChoice::kInvoiceNumber, "45"), "2024000145");
  EXPECT_EQ(Current("HLA_DO1"), "2024000145");
  EXPECT_EQ(Faktury().index_name(), "DO1");
}

// The main window stands on the last invoice after the start (Last: at Eof):
// the digits typed complete that invoice's number, not the first one's.
TEST_F(InvoiceSearchTest, AfterLastTheNumberIsCompletedFromTheLastInvoice) {
  Faktury().Last();
  ASSERT_TRUE(Faktury().Eof());
  const std::string shown = Current("HLA_DO1");
  ASSERT_GT(shown.size(), 2u);
  const std::string wanted = shown.substr(0, shown.size() - 2) + "12";
  EXPECT_EQ(SearchInvoice(Faktury(), InvoiceSearchChoice::kInvoiceNumber, "12"), wanted);
  EXPECT_GE(Current("HLA_DO1"), wanted);
}

TEST_F(InvoiceSearchTest, ALeadingBlankIsSoughtAsTyped) {
  GoTo("2024000123");
  // "20240001 45" sorts before every "20240001..." number: the next greater key.
  EXPECT_EQ(SearchInvoice(Faktury(), InvoiceSearchChoice::kInvoiceNumber, " 45"), "20240001 45");
  EXPECT_EQ(Current("HLA_DO1"), "2024000123");
}

TEST_F(InvoiceSearchTest, ANameIsSoughtInUpperCaseAndTheTagStays) {
  GoTo("2024000145");
  EXPECT_EQ(SearchInvoice(Faktury(), InvoiceSearchChoice::kCustomerName, Ansi("novák")),
            Ansi("novák"));
  EXPECT_EQ(dbf::AnsiUpperCase(Current("HLA_NAC")).substr(0, 5), Ansi("NOVÁK"));
  EXPECT_EQ(Faktury().index_name(), "NAC");
}

TEST_F(InvoiceSearchTest, ANamePastEveryNameStandsOnTheLastInvoiceInNameOrder) {
  Faktury().SelectTag("NAC");
  Faktury().Last();
  const uint32_t last = Faktury().RecNo();
  GoTo("2024000123");
  SearchInvoice(Faktury(), InvoiceSearchChoice::kCustomerName, Ansi("žžžžž"));
  EXPECT_EQ(Faktury().RecNo(), last);
  EXPECT_EQ(Faktury().index_name(), "NAC");
}

TEST_F(InvoiceSearchTest, OrderNumbersAreSoughtByTheirBeginning) {
  GoTo("2024000145");
  SearchInvoice(Faktury(), InvoiceSearchChoice::kOrderNumber, " OBJ-7 ");
  EXPECT_EQ(Current("HLA_DO1"), "2024000123");
  EXPECT_EQ(Faktury().index_name(), "DO2");
}

}  // namespace
}  // namespace store
