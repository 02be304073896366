// The invoice export end to end: selection, existence tests, customer lookup,
// the records written, the counter and the messages.

#include "accounting/invoice_export.h"

#include <filesystem>
#include <fstream>

#include "accounting/saldex_fields.h"
#include "export_fixture.h"

namespace accounting_testing {
namespace {

using ::testing::ElementsAre;

TEST_F(ExportTest, WritesEveryFieldOfReceivableAndAddress) {
  AddCustomer({.code = "100", .name = "Stavebniny Úvaly a Kostelec nad Černými lesy"});
  AddInvoice({.number = "2400001",
              .customer = "100",
              .total = 1234.5,
              .base22 = 1000.41,
              .vat22 = 220.09,
              .base5 = 3.1,
              .vat5 = 0.16,
              .rounding = -0.4,
              .dealer = "12"});
  const auto summary = Export();
  EXPECT_EQ(summary.exported, 1);
  EXPECT_THAT(Messages(), ElementsAre(kWarning, kClosing));

  const auto receivables = Receivables();
  ASSERT_EQ(receivables.size(), 1u);
  Row r = receivables[0];
  EXPECT_EQ(r["CISLO"], "42");
  EXPECT_EQ(r["TYPDOKLADU"], "2");
  EXPECT_EQ(r["CISDOKLADU"], "2400001");
  EXPECT_EQ(r["VARIABILNI"], "2400001");
  EXPECT_EQ(r["DATUMVYSTA"], "05.01.2024");
  EXPECT_EQ(r["DATUMSPLAT"], "19.01.2024");
  EXPECT_EQ(r["DATUMPLNEN"], "05.01.2024");
  EXPECT_EQ(r["ZPUS_UCTOV"], "620001");
  EXPECT_EQ(r["POZNAMKA"], Oem("Pekárna Čáp a syn"));
  EXPECT_EQ(r["ICO"], "12345678");
  EXPECT_EQ(r["DIC"], "CZ12345678");
  EXPECT_EQ(r["CASTKA"], "1234.50");
  EXPECT_EQ(r["ZAKLAD_Z"], "1000.41");
  EXPECT_EQ(r["DPH_Z"], "220.09");
  EXPECT_EQ(r["ZAKLAD_S"], "3.10");
  EXPECT_EQ(r["DPH_S"], "0.16");
  EXPECT_EQ(r["ZAKLAD_N"], "-0.40");
  EXPECT_EQ(r["ZAKAZKA"], "12");
  EXPECT_EQ(r["MENA"], "K\x9F");  // "Kč" in code page 852
  EXPECT_EQ(r["PLATBA"], "0.00");
  EXPECT_EQ(r["PECET"], "");
  EXPECT_EQ(r["UCTOVANO"], "F");

  const auto addresses = Addresses();
  ASSERT_EQ(addresses.size(), 1u);
  Row a = addresses[0];
  EXPECT_EQ(a["NAZEV"], Oem("Stavebniny Úvaly a Kos"));  // cut to 22
  EXPECT_EQ(a["ICO"], "12345678");
  EXPECT_EQ(a["DIC"], "CZ12345678");
  EXPECT_EQ(a["JMENO"], Oem("Jan Čáp"));
  EXPECT_EQ(a["PRIJMENI"], Oem("Jan Čáp"));
  EXPECT_EQ(a["ULICE"], Oem("Dlouhá 5"));
  EXPECT_EQ(a["MESTO"], Oem("Třebíč"));
  EXPECT_EQ(a["PSC"], "67401");
  EXPECT_EQ(a["E_MAIL"], "cap@pekarna.cz");
  EXPECT_EQ(a["KOD_CENY"], "9");
  EXPECT_EQ(a["POZNAMKA"], "");
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "42");
}

TEST_F(ExportTest, ContactPersonIsCutToEachNameFieldsWidth) {
  AddCustomer({.code = "1", .person = "Bohuslava Šťastná-Příhodová"});
  AddInvoice({.number = "1", .customer = "1"});
  Export();
  Row a = Addresses().at(0);
  EXPECT_EQ(a["JMENO"], Oem("Bohuslava Šťast"));
  EXPECT_EQ(a["PRIJMENI"], Oem("Bohuslava Šťastná-"));
}

TEST_F(ExportTest, FurtherFieldsOfTheAddressBookStayEmpty) {
  auto layout = demo::SaldexLayout(accounting::AddressFields());
  layout.push_back({"KATEGORIE", 'C', 12});
  layout.push_back({"OBRAT", 'N', 12, 2});
  demo::CreateTable(Saldex("ADRESAR.DBF"), layout);
  AddCustomer({.code = "1"});
  AddInvoice({.number = "1", .customer = "1"});
  EXPECT_EQ(Export().addresses_added, 1);
  Row a = Addresses().at(0);
  EXPECT_EQ(a["KATEGORIE"], "");
  EXPECT_EQ(a["OBRAT"], "0.00");
  EXPECT_EQ(a["ICO"], "12345678");
}

TEST_F(ExportTest, PrefixSelectsLeadingCharactersOnly) {
  prefix_ = "24";
  AddCustomer({.code = "1"});
  for (const char* number : {"245", "124", "2", "24", "3245"}) {
    AddInvoice({.number = number, .customer = "1"});
  }
  const auto summary = Export();
  EXPECT_EQ(summary.read, 5);
  EXPECT_EQ(summary.not_selected, 3);
  EXPECT_EQ(summary.exported, 1);
  // 24 is selected, but the receivable of 245 just written begins with it.
  EXPECT_EQ(summary.already_present, 1);
  const auto rows = Receivables();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].at("CISDOKLADU"), "245");
}

TEST_F(ExportTest, CountersFollowTheWalkAndSecondRunExportsNothing) {
  AddCustomer({.code = "1"});
  for (const char* number : {"501", "502", "503"}) AddInvoice({.number = number, .customer = "1"});
  EXPECT_EQ(Export().exported, 3);
  std::vector<std::string> numbers;
  for (const Row& r : Receivables()) numbers.push_back(r.at("CISLO"));
  EXPECT_THAT(numbers, ElementsAre("42", "43", "44"));
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "44");
  EXPECT_FALSE(ucto_.Ciselnik.active());
  EXPECT_FALSE(odberatele_->active());
  EXPECT_TRUE(faktury_->Eof());

  operator_.messages.clear();
  const auto second = Export();
  EXPECT_EQ(second.exported, 0);
  EXPECT_EQ(second.already_present, 3);
  EXPECT_EQ(Receivables().size(), 3u);
  EXPECT_EQ(Addresses().size(), 1u);
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "44");
  EXPECT_THAT(Messages(), ElementsAre(kWarning, kClosing));
}

TEST_F(ExportTest, ReceivableBeginningWithTheNumberCountsAsExported) {
  AddSaldexRecord("KPOHLED.DBF", {{"CISLO", "7"}, {"CISDOKLADU", "1234"}});
  AddCustomer({.code = "1"});
  AddInvoice({.number = "123", .customer = "1"});
  AddInvoice({.number = "12345", .customer = "1"});
  const auto summary = Export();
  EXPECT_EQ(summary.already_present, 1);
  EXPECT_EQ(summary.exported, 1);
  EXPECT_EQ(Receivables().back().at("CISDOKLADU"), "12345");
}

TEST_F(ExportTest, AddressBeginningWithTheIcoCountsAsPresent) {
  AddSaldexRecord("ADRESAR.DBF", {{"NAZEV", "Jiný"}, {"ICO", "12345678"}});
  AddCustomer({.code = "1", .ico = "123"});
  AddInvoice({.number = "1", .customer = "1"});
  EXPECT_EQ(Export().exported, 1);
  EXPECT_EQ(Addresses().size(), 1u);
  EXPECT_EQ(Receivables().at(0).at("ICO"), "123");
}

TEST_F(ExportTest, NewCustomerOfTwoInvoicesGetsOneAddress) {
  AddCustomer({.code = "1", .ico = "87654321"});
  AddInvoice({.number = "1", .customer = "1"});
  AddInvoice({.number = "2", .customer = "1"});
  const auto summary = Export();
  EXPECT_EQ(summary.exported, 2);
  EXPECT_EQ(summary.addresses_added, 1);
  EXPECT_EQ(Addresses().size(), 1u);
}

TEST_F(ExportTest, MissingCustomerCodeTakesTheFirstCustomerBeginningWithIt) {
  AddCustomer({.code = "123", .ico = "11111111", .name = "Odběratel 123"});
  AddInvoice({.number = "1", .customer = "12"});
  EXPECT_EQ(Export().exported, 1);
  EXPECT_EQ(Receivables().at(0).at("ICO"), "11111111");
}

TEST_F(ExportTest, CustomerNotInTheTableIsReportedAndSkipped) {
  AddCustomer({.code = "500"});
  AddInvoice({.number = "1", .customer = "77"});
  AddInvoice({.number = "2", .customer = ""});
  AddInvoice({.number = "3", .customer = "500"});
  const auto summary = Export();
  EXPECT_EQ(summary.customer_missing, 2);
  EXPECT_EQ(summary.exported, 1);
  EXPECT_THAT(Messages(),
              ElementsAre(kWarning,
                          "Odběratel s kódem 77 nebyl nalezen v seznamu odběratelů, faktura 1 "
                          "nebude převedena !",
                          "Odběratel s kódem  nebyl nalezen v seznamu odběratelů, faktura 2 "
                          "nebude převedena !",
                          kClosing));
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "42");
}

TEST_F(ExportTest, CustomerWithoutDicIsReportedAndRaisesNoCounter) {
  AddCustomer({.code = "1", .dic = "   ", .name = "Řeznictví Ďáblice"});
  AddCustomer({.code = "2", .ico = "", .name = "Bez IČO"});
  AddInvoice({.number = "9001", .customer = "1"});
  AddInvoice({.number = "9002", .customer = "2"});
  const auto summary = Export();
  EXPECT_EQ(summary.customer_incomplete, 2);
  EXPECT_THAT(Messages(),
              ElementsAre(kWarning,
                          "U odběratele Řeznictví Ďáblice není zadáno IČO nebo DIČ, faktura 9001 "
                          "nebude převedena !",
                          "U odběratele Bez IČO není zadáno IČO nebo DIČ, faktura 9002 "
                          "nebude převedena !",
                          kClosing));
  EXPECT_TRUE(Receivables().empty());
  EXPECT_TRUE(Addresses().empty());
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "41");
}

TEST_F(ExportTest, EmptyDueDateIsTheZeroDateAndEmptyDealerStaysEmpty) {
  AddCustomer({.code = "1"});
  AddInvoice({.number = "1", .customer = "1", .due = "", .dealer = ""});
  Export();
  Row r = Receivables().at(0);
  EXPECT_EQ(r["DATUMSPLAT"], "30.12.1899");
  dbf::DbfFile t;
  t.Open(Saldex("KPOHLED.DBF"), true, false);
  t.GoTo(1);
  EXPECT_EQ(t.Raw(t.RequireField("DATUMSPLAT")), "18991230");
  // Empty as the engine stores an empty number: as a blank record has it.
  EXPECT_EQ(t.Raw(t.RequireField("ZAKAZKA")), t.Raw(t.RequireField("OPRAVA")));
}

TEST_F(ExportTest, EmptyCounterTableStartsAtOne) {
  demo::CreateTable(Saldex("SYSTEMAK.DBF"), {{"POHLEDAVKY", 'N', 8}});
  AddCustomer({.code = "1"});
  AddInvoice({.number = "1", .customer = "1"});
  AddInvoice({.number = "2", .customer = "1"});
  Export();
  ASSERT_EQ(Counters().size(), 1u);
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "2");
  EXPECT_EQ(Receivables().at(0).at("CISLO"), "1");
  EXPECT_EQ(Receivables().at(1).at("CISLO"), "2");
}

TEST_F(ExportTest, OnlyTheFirstCounterRecordIsRaised) {
  AddSaldexRecord("SYSTEMAK.DBF", {{"POHLEDAVKY", "900"}});
  AddCustomer({.code = "1"});
  AddInvoice({.number = "1", .customer = "1"});
  Export();
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "42");
  EXPECT_EQ(Counters()[1]["POHLEDAVKY"], "900");
}

TEST_F(ExportTest, EmptyInvoiceTableShowsBothMessagesAndWritesNothing) {
  const std::string before = testing_support::ReadFileBytes(Saldex("KPOHLED.DBF"));
  const auto summary = Export();
  EXPECT_EQ(summary.read, 0);
  EXPECT_THAT(Messages(), ElementsAre(kWarning, kClosing));
  EXPECT_EQ(testing_support::ReadFileBytes(Saldex("KPOHLED.DBF")), before);
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "41");
}

TEST_F(ExportTest, NumberThatIsNotANumberEndsTheExportAfterEarlierReceivables) {
  AddCustomer({.code = "1"});
  AddInvoice({.number = "100", .customer = "1"});
  AddInvoice({.number = "10A", .customer = "1"});
  AddInvoice({.number = "102", .customer = "1"});
  OpenTables();
  for (const auto method :
       {accounting::SearchMethod::kIndexed, accounting::SearchMethod::kSequential}) {
    SCOPED_TRACE(static_cast<int>(method));
    operator_.messages.clear();
    accounting::InvoiceExport run(Store(), ucto_, operator_, method);
    try {
      run.Run();
      FAIL() << "the export went past an invoice number that is not a number";
    } catch (const dbf::EngineError& e) {
      EXPECT_STREQ(e.what(), "Invalid Number value for field CISDOKLADU");
    }
    EXPECT_EQ(run.summary().exported, method == accounting::SearchMethod::kIndexed ? 1 : 0);
    EXPECT_THAT(Messages(), ElementsAre(kWarning));
    ASSERT_EQ(Receivables().size(), 1u);
    EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "42");
  }
}

TEST_F(ExportTest, NumberThatIsNotANumberChangesNothingOnAnEmptyReceivablesTable) {
  AddCustomer({.code = "1"});
  AddInvoice({.number = "10A", .customer = "1"});
  OpenTables();
  for (const auto method :
       {accounting::SearchMethod::kIndexed, accounting::SearchMethod::kSequential}) {
    SCOPED_TRACE(static_cast<int>(method));
    accounting::InvoiceExport run(Store(), ucto_, operator_, method);
    try {
      run.Run();
      FAIL() << "the export went past an invoice number that is not a number";
    } catch (const dbf::EngineError& e) {
      EXPECT_STREQ(e.what(), "Invalid Number value for field CISDOKLADU");
    }
    EXPECT_TRUE(Receivables().empty());
    EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "41");  // no counter raised for it
  }
}

TEST_F(ExportTest, CutReceivablesTableStopsTheExportBeforeItWritesForTheInvoice) {
  AddSaldexRecord("KPOHLED.DBF", {{"CISDOKLADU", "5"}});
  // Another program's receivable cut short: its first 30 bytes, no end mark.
  const std::string path = Saldex("KPOHLED.DBF");
  std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1);
  std::ofstream(path, std::ios::app | std::ios::binary) << std::string(30, ' ');
  AddCustomer({.code = "1"});
  AddInvoice({.number = "100", .customer = "1"});
  const std::string receivables = testing_support::ReadFileBytes(path);
  const std::string addresses = testing_support::ReadFileBytes(Saldex("ADRESAR.DBF"));
  OpenTables();
  accounting::InvoiceExport run(Store(), ucto_, operator_);
  try {
    run.Run();
    FAIL() << "the export appended onto a cut receivables table";
  } catch (const dbf::EngineError& e) {
    EXPECT_EQ(e.what(), "Cannot append to " + path + ": the file ends with a partial record");
  }
  EXPECT_EQ(testing_support::ReadFileBytes(path), receivables);
  EXPECT_EQ(testing_support::ReadFileBytes(Saldex("ADRESAR.DBF")), addresses);
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "41");
  EXPECT_EQ(run.summary().exported, 0);
}

TEST_F(ExportTest, FractionalDealerLeavesNoHalfReceivable) {
  AddCustomer({.code = "1"});
  AddInvoice({.number = "100", .customer = "1"});
  AddInvoice({.number = "101", .customer = "1", .dealer = "1.5"});
  OpenTables();
  accounting::InvoiceExport run(Store(), ucto_, operator_);
  EXPECT_THROW(run.Run(), dbf::EngineError);
  // The counter raised for the failing invoice went back with its receivable,
  // which is gone even when the table is used and closed afterwards.
  EXPECT_EQ(ucto_.Pohledavky.state(), dbf::DataSetState::kBrowse);
  ucto_.Pohledavky.Last();
  ucto_.Pohledavky.Close();
  ASSERT_EQ(Receivables().size(), 1u);
  EXPECT_EQ(Counters()[0]["POHLEDAVKY"], "42");
  EXPECT_EQ(run.summary().numbers_given_back, 1);
}

TEST_F(ExportTest, InvoicesAreWalkedInTheTablesCurrentOrder) {
  AddCustomer({.code = "1"});
  AddInvoice({.number = "3", .customer = "1"});
  AddInvoice({.number = "1", .customer = "1"});
  Export();
  EXPECT_EQ(Receivables().at(0).at("CISDOKLADU"), "3");
  EXPECT_EQ(Receivables().at(0).at("CISLO"), "42");
}

}  // namespace
}  // namespace accounting_testing
