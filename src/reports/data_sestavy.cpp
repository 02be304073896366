#include "reports/data_sestavy.h"

#include <exception>

#include "dbf/charset_tables.h"
#include "dbf/clock.h"
#include "reports/overview_pages.h"
#include "reports/overview_workbook.h"
#include "reports/staging_layout.h"
#include "reports/value_text.h"
#include "store/ansi_text.h"

namespace reports {
namespace {

constexpr const char* kExceptionMessage = "Ošetření vyjímky";
constexpr const char* kExcelMessage = "Nejze komunikovat s MS Excel";

}  // namespace

TDataSestavy::TDataSestavy(store::TData& data) : data_(data) {
  PrepareInvoiceView(SesFak);
  DeclareStagingFields(SesFakMem);
}

std::string TDataSestavy::SesFakIndexFile() const {
  return data_.settings.CestaData + "/Fak" + data_.settings.StoreCode + ".cdx";
}

void TDataSestavy::OpenSesFak() {
  SesFak.Close();
  dbf::DbfDataSet& faktury = data_.Faktury();
  SesFak.SetDatabaseName(faktury.database_name());
  SesFak.SetTableName(faktury.table_name());
  SesFak.Open();
  SesFak.OpenIndexFile(SesFakIndexFile());
  SesFak.SelectTag("DAT");
}

void TDataSestavy::CloseSesFak() {
  if (SesFak.active()) SesFak.CloseIndexFile(SesFakIndexFile());
  SesFak.Close();
}

void TDataSestavy::PrehledFaktur(const RangeDialog& dialog, const ReportRun& run,
                                 const ErrorReport& report_error) {
  try {
    OpenSesFak();
    if (const std::optional<OverviewRequest> request = dialog()) {
      OdData = request->from;
      DoData = request->to;
      ExportXls = request->spreadsheet;
      SesPreh(OdData, DoData, run);
    }
    CloseSesFak();
  } catch (const std::exception& error) {
    // Nothing of the failed run stays open.
    SesFakMem.Close();
    try {
      SesFak.Close();
    } catch (const std::exception&) {
      // The file layer releases a table that cannot be closed cleanly.
    }
    if (report_error) {
      report_error(error);
    } else {
      data_.op.ShowMessage(store::Ansi(kExceptionMessage), store::kApplicationTitle);
    }
  }
}

void TDataSestavy::Stage(dbf::DateTime from, dbf::DateTime to) {
  SesFak.SetRange(ShortDateText(from), ShortDateText(to));
  SesFak.First();
  SesFakMem.Close();
  SesFakMem.Open();
  InvoiceStager stager(SesFak, SesFakMem);
  for (; !SesFak.Eof(); SesFak.Next()) {
    data_.op.ProcessMessages();
    stager.StageCurrent();
  }
}

void TDataSestavy::WriteSideOutputs() {
  workbook_error_.clear();
  SesFakMem.SaveToFile(kTextDumpName);
  if (ExportXls) WriteWorkbookGuarded();
}

std::string TDataSestavy::WorkbookFile() const {
  return WorkbookPath(dbf::Cp1250ToUtf8(data_.settings.CestaXls), dbf::Now().date());
}

void TDataSestavy::WriteWorkbookGuarded() {
  const auto pointer = [this](bool busy) {
    if (SetBusyPointer) SetBusyPointer(busy);
  };
  pointer(true);
  if (SesFakMem.IsEmpty()) {
    pointer(false);
    return;
  }
  try {
    data_.op.ProcessMessages();
    WriteWorkbook(SesFakMem, WorkbookFile());
    data_.op.ProcessMessages();
    pointer(false);
  } catch (const std::exception& e) {
    // The pointer is back before the message shows.
    pointer(false);
    workbook_error_ = e.what();
    data_.op.ShowMessage(store::Ansi(kExcelMessage), store::kApplicationTitle);
  }
}

void TDataSestavy::FinishOverview() {
  SesFakMem.Close();
  SesFak.SetRange("", "");
}

void TDataSestavy::SesPreh(dbf::DateTime from, dbf::DateTime to, const ReportRun& run) {
  Stage(from, to);
  WriteSideOutputs();
  SesFakMem.First();
  data_.op.ProcessMessages();
  ReportSelector = kInvoiceOverview;
  run();
  FinishOverview();
}

void TDataSestavy::SestavyPrint(ReportCanvas& canvas) {
  if (ReportSelector != kInvoiceOverview) return;
  dbf::DbfDataSet& vlastnik = data_.Vlastnik();
  if (!vlastnik.active()) vlastnik.Open();
  const std::string store_name =
      vlastnik.IsEmpty() ? std::string() : vlastnik.FieldByName("VLA_NAC").AsString();
  PrintInvoiceOverview(canvas, SesFakMem, {OdData, DoData, store_name});
}

}  // namespace reports
