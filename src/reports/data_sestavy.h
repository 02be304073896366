#ifndef SALDEX_REPORTS_DATA_SESTAVY_H_
#define SALDEX_REPORTS_DATA_SESTAVY_H_

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "dbf/data_set.h"
#include "reports/mem_table.h"
#include "reports/report_canvas.h"
#include "store/data_module.h"

namespace reports {

// What the date-range dialog returns when closed with "Start".
struct OverviewRequest {
  dbf::DateTime from = 0;
  dbf::DateTime to = 0;
  bool spreadsheet = false;  // "Export data do souboru XLS ( MS Excel )" ticked
};

// The reports data module `DataSestavy`: its own view `SesFak` of the
// invoice table, the staging table `SesFakMem`, the invoice overview's
// staging, side outputs and page handler. The dialog and the report system
// (preview, printing) are the program's; they come in as callbacks.
// User-interface thread only.
class TDataSestavy {
 public:
  // Shows the date-range dialog; nullopt when it was cancelled.
  using RangeDialog = std::function<std::optional<OverviewRequest>()>;
  // Runs the report selected by ReportSelector (the preview, modal,
  // landscape); it draws the pages through SestavyPrint.
  using ReportRun = std::function<void()>;
  // Shows the hourglass pointer (true) or restores the pointer shown before
  // (false).
  using BusyPointer = std::function<void(bool busy)>;
  // Told the error that ended the command, in place of the message box.
  using ErrorReport = std::function<void(const std::exception& error)>;

  static constexpr const char* kTextDumpName = "PrehledPrijemek.txt";
  static constexpr int32_t kInvoiceOverview = 6;

  explicit TDataSestavy(store::TData& data);
  TDataSestavy(const TDataSestavy&) = delete;
  TDataSestavy& operator=(const TDataSestavy&) = delete;

  // The command "Přehled faktur": the view opened in tag "DAT", the dialog,
  // SesPreh with its dates, the view closed. Any error leaves the view and
  // the staging table closed and shows "Ošetření vyjímky" (or, when
  // `report_error` is given, is handed to it). The menu and the batch
  // overview both run the report through here.
  void PrehledFaktur(const RangeDialog& dialog, const ReportRun& run,
                     const ErrorReport& report_error = {});

  // The view pointed at the invoice table and opened with its index file,
  // tag "DAT" selected (closed first when open).
  void OpenSesFak();
  // Index file and view closed.
  void CloseSesFak();
  // CestaData + "/Fak" + StoreCode + ".cdx".
  std::string SesFakIndexFile() const;

  // Stages the range, writes the side outputs, runs the report, closes the
  // staging table and clears the range. REQUIRES: the view open (OpenSesFak).
  void SesPreh(dbf::DateTime from, dbf::DateTime to, const ReportRun& run);
  // Steps of SesPreh, for the batch overview and tests:
  // the range set over the two dates as "dd.mm.yyyy" texts (both inclusive)
  // and every invoice of it staged in date order, pending window messages
  // run once per invoice.
  void Stage(dbf::DateTime from, dbf::DateTime to);
  // The text dump into the current directory (errors propagate) and, with
  // the spreadsheet flag, the workbook when rows are staged (its failure
  // shows "Nejze komunikovat s MS Excel"), under the hourglass pointer.
  void WriteSideOutputs();
  // The staging table closed and the view's range cleared.
  void FinishOverview();
  // The error text of the last workbook that failed in WriteSideOutputs;
  // empty when it was written or not asked for.
  const std::string& workbook_error() const { return workbook_error_; }

  // The page handler: draws the report selected by ReportSelector.
  // Vlastnik is opened when closed and stays open.
  void SestavyPrint(ReportCanvas& canvas);

  // Where the workbook goes: CestaXls (or the documents folder) + "Přehled
  // faktur k " + today + ".xlsx", UTF-8.
  std::string WorkbookFile() const;

  dbf::DbfDataSet SesFak;
  MemTable SesFakMem;
  dbf::DateTime OdData = 0;
  dbf::DateTime DoData = 0;
  bool ExportXls = false;
  int32_t ReportSelector = 0;
  // The program's pointer; none in batch runs.
  BusyPointer SetBusyPointer;

 private:
  void WriteWorkbookGuarded();

  store::TData& data_;
  std::string workbook_error_;
};

}  // namespace reports

#endif  // SALDEX_REPORTS_DATA_SESTAVY_H_
