#ifndef SALDEX_TESTS_ACCOUNTING_EXPORT_FIXTURE_H_
#define SALDEX_TESTS_ACCOUNTING_EXPORT_FIXTURE_H_

// A Korvana store (invoices and customers) and a Saldex 2 directory in a
// temporary directory, the cursors the export works on, and readers of what
// the export wrote.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "accounting/data_ucto.h"
#include "accounting/invoice_export.h"
#include "dbf/charset_tables.h"
#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "index/cursor_index_support.h"
#include "korvana_schema.h"
#include "saldex_tables.h"
#include "store/ansi_text.h"
#include "store/recording_operator.h"
#include "support/table_builder.h"
#include "table_image.h"

namespace accounting_testing {

struct Invoice {
  std::string number;    // HLA_DO1
  std::string customer;  // HLA_ODB
  std::string issued = "20240105", due = "20240119", supplied = "20240105";
  std::string name = "Pekárna Čáp a syn";  // HLA_NAC, UTF-8
  double total = 1220.0, base22 = 1000.0, vat22 = 220.0, base5 = 0, vat5 = 0, rounding = 0;
  std::string dealer = "7";  // HLA_OBC
};

struct Customer {
  std::string code;  // EXT_KOD
  std::string ico = "12345678", dic = "CZ12345678";
  std::string name = "Pekárna Čáp a syn";  // UTF-8
  std::string person = "Jan Čáp", street = "Dlouhá 5", town = "Třebíč", zip = "67401";
  std::string mail = "cap@pekarna.cz";
};

// Field name -> the table file layer's string form (code page 852 bytes).
using Row = std::map<std::string, std::string>;

inline std::vector<Row> ReadRows(const std::string& path) {
  dbf::DbfFile table;
  table.Open(path, true, false);
  std::vector<Row> rows;
  for (uint32_t recno = 1; table.GoTo(recno); ++recno) {
    Row row;
    for (const dbf::FieldDescriptor& f : table.fields()) row[f.name] = table.GetString(f.number);
    rows.push_back(row);
  }
  return rows;
}

inline std::string Oem(const std::string& utf8) {
  return dbf::Utf8ToCp852(utf8);
}

// The fields of a store table as the demo store lays it out.
inline std::vector<demo::FieldDef> StoreLayout(const std::string& component) {
  for (const demo::KorvanaTableSchema& table : demo::KorvanaSchemas("0001")) {
    if (table.component == component) return table.fields;
  }
  return {};
}

class ExportTest : public ::testing::Test {
 protected:
  ExportTest() {
    saldex_ = dir_.path() + "/saldex";
    std::filesystem::create_directories(saldex_);
    demo::CreateSaldexTables(saldex_, 41);
    demo::CreateTable(Korvana("Fak0001.dbf"), StoreLayout("Faktury"));
    demo::CreateTable(Korvana("Ext0001.dbf"), StoreLayout("Odberatele"));
  }

  std::string Korvana(const std::string& name) const { return dir_.path() + "/" + name; }
  std::string Saldex(const std::string& name) const { return saldex_ + "/" + name; }

  void AddInvoice(const Invoice& i) {
    dbf::DbfFile t;
    t.Open(Korvana("Fak0001.dbf"), true, true);
    t.BlankRecord();
    t.PutString("HLA_DO1", i.number);
    t.PutString("HLA_ODB", i.customer);
    t.PutString("HLA_NAC", Oem(i.name));
    t.PutNumber(t.RequireField("HLA_CUH"), i.total);
    t.PutNumber(t.RequireField("HLA_FHV"), i.rounding);
    t.PutString("HLA_DVS", i.issued);
    t.PutString("HLA_DZP", i.supplied);
    t.PutString("HLA_DSP", i.due);
    t.PutNumber(t.RequireField("HLA_Z05"), i.base5);
    t.PutNumber(t.RequireField("HLA_Z22"), i.base22);
    t.PutNumber(t.RequireField("HLA_D05"), i.vat5);
    t.PutNumber(t.RequireField("HLA_D22"), i.vat22);
    t.PutString("HLA_OBC", i.dealer);
    t.Append();
  }
  void AddCustomer(const Customer& c) {
    dbf::DbfFile t;
    t.Open(Korvana("Ext0001.dbf"), true, true);
    t.BlankRecord();
    t.PutString("EXT_KOD", c.code);
    t.PutString("EXT_ICO", c.ico);
    t.PutString("EXT_DIC", c.dic);
    t.PutString("EXT_NAC", Oem(c.name));
    t.PutString("EXT_ULI", Oem(c.street));
    t.PutString("EXT_MES", Oem(c.town));
    t.PutString("EXT_PSC", c.zip);
    t.PutString("EXT_EML", c.mail);
    t.PutString("EXT_KO1", Oem(c.person));
    t.Append();
  }
  // A receivable or address Saldex 2 holds already: only the named fields.
  void AddSaldexRecord(const std::string& table_name, const Row& values) {
    dbf::DbfFile t;
    t.Open(Saldex(table_name), true, true);
    t.BlankRecord();
    for (const auto& [name, value] : values) t.PutString(name, value);
    t.Append();
  }

  // Opens the store's cursors and the Saldex 2 tables as the main window does.
  void OpenTables() {
    faktury_ = std::make_unique<dbf::DbfDataSet>();
    faktury_->SetDatabaseName(dir_.path());
    faktury_->SetTableName("Fak0001.dbf");
    faktury_->Open();
    faktury_->Last();
    odberatele_ = std::make_unique<dbf::DbfDataSet>();
    idx::InstallIndexSupport(*odberatele_);
    odberatele_->SetDatabaseName(dir_.path());
    odberatele_->SetTableName("Ext0001.dbf");
    // The customers' index file with the tag the store's rebuild gives it.
    odberatele_->Open();
    odberatele_->CreateTag(Korvana("Ext0001.cdx"), "KOD", "EXT_KOD", "", 0, 0);
    odberatele_->Close();
    ucto_.SetDirectory(saldex_);
    ucto_.Pohledavky.Open();
    ucto_.Adresar.Open();
  }

  accounting::StoreSide Store() {
    return {*faktury_, *odberatele_,
            [this] {  // OpenOdb(0, "KOD")
              if (!odberatele_->active()) odberatele_->Open();
              if (odberatele_->TagCount() == 0) odberatele_->OpenIndexFile("Ext0001.cdx");
              odberatele_->SelectTag("KOD");
              return true;
            },
            [this] { odberatele_->Close(); }, prefix_};
  }

  // Runs one export; returns its summary.
  accounting::ExportSummary Export(
      accounting::SearchMethod method = accounting::SearchMethod::kIndexed) {
    if (!faktury_) OpenTables();
    accounting::InvoiceExport run(Store(), ucto_, operator_, method);
    run.Run();
    return run.summary();
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& m : operator_.messages) texts.push_back(m.text);
    return texts;
  }
  std::vector<Row> Receivables() const { return ReadRows(Saldex("KPOHLED.DBF")); }
  std::vector<Row> Addresses() const { return ReadRows(Saldex("ADRESAR.DBF")); }
  std::vector<Row> Counters() const { return ReadRows(Saldex("SYSTEMAK.DBF")); }

  testing_support::TempDir dir_;
  std::string saldex_;
  std::string prefix_;
  std::unique_ptr<dbf::DbfDataSet> faktury_, odberatele_;
  accounting::TDataUcto ucto_;
  testing_support::RecordingOperator operator_;
};

inline const char* kWarning = "POZOR - Saldex 2 nesmí být spuštěn !!!";
inline const char* kClosing = "POZOR - V Saldex2 proveďte indexaci a doplnění pečetí !!!";

}  // namespace accounting_testing

#endif  // SALDEX_TESTS_ACCOUNTING_EXPORT_FIXTURE_H_
