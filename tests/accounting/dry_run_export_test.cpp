// The export's dry run: the same decision for every invoice as the real
// export on the same data, and not one byte changed in Saldex 2.

#include "accounting/dry_run_export.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "export_fixture.h"

namespace accounting_testing {
namespace {

using accounting::ExportDecision;
using accounting::InvoiceOutcome;

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

bool operator==(const accounting::ExportSummary& a, const accounting::ExportSummary& b) {
  return a.read == b.read && a.not_selected == b.not_selected &&
         a.already_present == b.already_present && a.customer_missing == b.customer_missing &&
         a.customer_incomplete == b.customer_incomplete && a.exported == b.exported &&
         a.addresses_added == b.addresses_added;
}

class DryRunTest : public ExportTest {
 protected:
  // Every kind of invoice: outside the prefix, present already, present
  // through a receivable the same run appends, customer missing, customer
  // without DIČ, a new customer of two invoices, a customer whose address
  // Saldex 2 holds.
  void FillEveryKind() {
    prefix_ = "24";
    AddSaldexRecord("KPOHLED.DBF", {{"CISLO", "7"}, {"CISDOKLADU", "2400002"}});
    AddSaldexRecord("ADRESAR.DBF", {{"NAZEV", "Známý"}, {"ICO", "22222222"}});
    AddCustomer({.code = "1", .ico = "11111111"});
    AddCustomer({.code = "2", .ico = "22222222"});
    AddCustomer({.code = "3", .dic = ""});
    AddInvoice({.number = "2300001", .customer = "1"});
    AddInvoice({.number = "2400001", .customer = "1"});
    AddInvoice({.number = "2400002", .customer = "1"});
    AddInvoice({.number = "2400003", .customer = "9"});
    AddInvoice({.number = "2400004", .customer = "3"});
    AddInvoice({.number = "2400005", .customer = "1"});
    AddInvoice({.number = "2400006", .customer = "2"});
    AddInvoice({.number = "240000", .customer = "2"});
  }

  std::vector<InvoiceOutcome> DryRun(accounting::ExportSummary* summary) {
    if (!faktury_) OpenTables();
    faktury_->Last();
    std::vector<InvoiceOutcome> outcomes;
    accounting::DryRunExport run(Store(), saldex_ + "/", operator_);
    run.Run([&](const InvoiceOutcome& o) { outcomes.push_back(o); });
    *summary = run.summary();
    return outcomes;
  }

  std::vector<InvoiceOutcome> RealRun(accounting::ExportSummary* summary) {
    if (!faktury_) OpenTables();
    std::vector<InvoiceOutcome> outcomes;
    accounting::InvoiceExport run(Store(), ucto_, operator_);
    run.set_listener([&](const InvoiceOutcome& o) { outcomes.push_back(o); });
    run.Run();
    *summary = run.summary();
    return outcomes;
  }

  std::map<std::string, std::string> SaldexBytes() const {
    std::map<std::string, std::string> bytes;
    for (const char* name : {"KPOHLED.DBF", "ADRESAR.DBF", "SYSTEMAK.DBF"}) {
      bytes[name] = FileBytes(Saldex(name));
    }
    return bytes;
  }
};

TEST_F(DryRunTest, DecidesAsTheRealExportAndWritesNothing) {
  FillEveryKind();
  const auto before = SaldexBytes();
  accounting::ExportSummary dry_summary, real_summary;
  const auto dry = DryRun(&dry_summary);
  EXPECT_EQ(SaldexBytes(), before);
  EXPECT_TRUE(operator_.messages.empty());
  const auto real = RealRun(&real_summary);

  ASSERT_EQ(dry.size(), 8u);
  ASSERT_EQ(real.size(), dry.size());
  for (size_t i = 0; i < dry.size(); ++i) {
    SCOPED_TRACE(dry[i].invoice);
    EXPECT_EQ(dry[i].invoice, real[i].invoice);
    EXPECT_EQ(dry[i].decision, real[i].decision);
    EXPECT_EQ(dry[i].address_added, real[i].address_added);
  }
  EXPECT_TRUE(dry_summary == real_summary);
  // Each kind met, including the appends' effect on later invoices: the new
  // customer's second invoice adds no second address, and 240000 finds the
  // receivable 2400001 just appended.
  EXPECT_EQ(dry[0].decision, ExportDecision::kNotSelected);
  EXPECT_EQ(dry[1].decision, ExportDecision::kExported);
  EXPECT_TRUE(dry[1].address_added);
  EXPECT_EQ(dry[2].decision, ExportDecision::kAlreadyPresent);
  EXPECT_EQ(dry[3].decision, ExportDecision::kCustomerMissing);
  EXPECT_EQ(dry[4].decision, ExportDecision::kCustomerIncomplete);
  EXPECT_EQ(dry[5].decision, ExportDecision::kExported);
  EXPECT_FALSE(dry[5].address_added);
  EXPECT_FALSE(dry[6].address_added);
  EXPECT_EQ(dry[7].decision, ExportDecision::kAlreadyPresent);
  EXPECT_EQ(real_summary.exported, 3);
  EXPECT_NE(SaldexBytes(), before);
}

TEST_F(DryRunTest, MissingSaldexTableIsReportedByItsRealPath) {
  FillEveryKind();
  OpenTables();
  std::filesystem::remove(Saldex("SYSTEMAK.DBF"));
  accounting::ExportSummary summary;
  try {
    DryRun(&summary);
    FAIL() << "no error";
  } catch (const dbf::EngineError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot find file " + saldex_ + "/SYSTEMAK.DBF");
  }
}

}  // namespace
}  // namespace accounting_testing
