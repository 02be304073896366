#ifndef SALDEX_TESTS_REPORTS_OVERVIEW_FIXTURE_H_
#define SALDEX_TESTS_REPORTS_OVERVIEW_FIXTURE_H_

// A store directory holding just the invoice table (with tag "DAT") and the
// company header, written from the invoices a test names, and the data
// modules over it. The test runs in that directory, where the text dump goes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dbf/clock.h"
#include "dbf/data_set.h"
#include "index/cursor_index_support.h"
#include "korvana_schema.h"
#include "reports/data_sestavy.h"
#include "store/data_module.h"
#include "store/recording_operator.h"
#include "store/temp_dir.h"
#include "table_image.h"

namespace testing_support {

struct Invoice {
  int year = 2004, month = 3, day = 1;
  std::string number;  // UTF-8
  std::string order;
  std::string customer = "C0001";
  std::string branch = "001";
  std::string name = "Železářství Novák";
  double total = 0;  // HLA_CUH
  double purchase = 0;
  double base22 = 0, base05 = 0, base00 = 0, vat22 = 0, vat05 = 0, rounding = 0;
};

inline std::vector<demo::FieldDef> StoreLayout(const std::string& component) {
  for (const demo::KorvanaTableSchema& schema : demo::KorvanaSchemas("0001")) {
    if (schema.component == component) return schema.fields;
  }
  ADD_FAILURE() << "no schema " << component;
  return {};
}

// Writes Fak0001.dbf of these invoices with Fak0001.cdx holding the tag
// "DAT", and Vla0000.dbf naming the store, into `data_dir`.
inline void WriteInvoiceTables(const std::string& data_dir, const std::vector<Invoice>& invoices,
                               const std::string& store_name) {
  demo::TableImage faktury(StoreLayout("Faktury"));
  for (const Invoice& i : invoices) {
    faktury.AddRecord();
    faktury.SetDate("HLA_DAT", i.year, i.month, i.day);
    faktury.SetText("HLA_DO1", i.number);
    faktury.SetText("HLA_DO2", i.order);
    faktury.SetText("HLA_ODB", i.customer);
    faktury.SetText("HLA_ODP", i.branch);
    faktury.SetText("HLA_NAC", i.name);
    faktury.SetNumber("HLA_CUH", i.total);
    faktury.SetNumber("HLA_NCA", i.purchase);
    faktury.SetNumber("HLA_Z22", i.base22);
    faktury.SetNumber("HLA_Z05", i.base05);
    faktury.SetNumber("HLA_Z00", i.base00);
    faktury.SetNumber("HLA_D22", i.vat22);
    faktury.SetNumber("HLA_D05", i.vat05);
    faktury.SetNumber("HLA_FHV", i.rounding);
  }
  std::filesystem::remove(data_dir + "Fak0001.cdx");
  faktury.Write(data_dir + "Fak0001.dbf");
  demo::TableImage vlastnik(StoreLayout("Vlastnik"));
  vlastnik.AddRecord();
  vlastnik.SetText("VLA_NAC", store_name);
  vlastnik.Write(data_dir + "Vla0000.dbf");

  dbf::DbfDataSet table;
  idx::InstallIndexSupport(table);
  table.SetDatabaseName(data_dir);
  table.SetTableName("Fak0001");
  table.Open();
  table.CreateTag("Fak0001.cdx", "DAT", "HLA_DAT", "", 1, 0);
  table.Close();
}

class OverviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dbf::SetClockForTesting(dbf::LocalTime{2004, 4, 2, 10, 0, 0, 0});
    old_dir_ = std::filesystem::current_path();
    std::filesystem::create_directories(dir_.path() + "data");
    std::filesystem::create_directories(dir_.path() + "work");
    std::filesystem::current_path(dir_.path() + "work");
  }
  void TearDown() override {
    sestavy_.reset();
    data_.reset();
    std::filesystem::current_path(old_dir_);
    dbf::SetClockForTesting(std::nullopt);
  }

  std::string DataDir() const { return dir_.path() + "data/"; }
  std::string WorkDir() const { return dir_.path() + "work/"; }

  // Writes Fak0001.dbf with its tag "DAT" and Vla0000.dbf.
  void WriteStore(const std::vector<Invoice>& invoices,
                  const std::string& store_name = "Pobočka Brno") {
    WriteInvoiceTables(DataDir(), invoices, store_name);
  }

  store::TData& Module() {
    if (!data_) {
      data_ = std::make_unique<store::TData>(op_, dir_.path());
      data_->settings.CestaData = DataDir();
      data_->settings.StoreCode = "0001";
      data_->settings.CestaXls = dir_.path() + "xls";
      data_->tables().SetLocations(DataDir(), "0001");
    }
    return *data_;
  }
  reports::TDataSestavy& Sestavy() {
    if (!sestavy_) sestavy_ = std::make_unique<reports::TDataSestavy>(Module());
    return *sestavy_;
  }

  static dbf::DateTime Day(int year, int month, int day) {
    return static_cast<dbf::DateTime>(dbf::DaysFromCivil({year, month, day}));
  }

  TempDir dir_;
  RecordingOperator op_;
  std::unique_ptr<store::TData> data_;
  std::unique_ptr<reports::TDataSestavy> sestavy_;

 private:
  std::filesystem::path old_dir_;
};

}  // namespace testing_support

#endif  // SALDEX_TESTS_REPORTS_OVERVIEW_FIXTURE_H_
