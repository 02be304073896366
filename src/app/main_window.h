#ifndef SALDEX_APP_MAIN_WINDOW_H_
#define SALDEX_APP_MAIN_WINDOW_H_

#include <QAction>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>
#include <memory>
#include <string>
#include <vector>

#include "accounting/data_ucto.h"
#include "app/cursor_table_model.h"
#include "app/db_grid.h"
#include "app/db_navigator.h"
#include "app/main_status_bar.h"
#include "app/one_instance.h"
#include "controls/key_preview.h"
#include "dbf/dates.h"
#include "store/data_module.h"
#include "store/operator.h"
#include "store/printer_settings.h"

namespace reports {
class TDataSestavy;
}  // namespace reports

namespace app {

// How the main window is started: the single-instance guard's name (empty:
// no guard, as in tests) and the command line it hands over.
struct MainWindowStart {
  QString instance_name;
  std::vector<std::string> arguments;
};

// The main window `MainWindow`: the store's invoices, the Saldex 2
// receivables and address book on three tabs, and every command of the
// program (F5 search, F10 export, F9 payments, the menu). Loading it runs
// the single-instance guard, then FormCreate; a later instance that handed
// its command line over is never shown (never_show()).
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kWidth = 597;
  static constexpr int kHeight = 361;

  MainWindow(store::TData& data, accounting::TDataUcto& ucto, store::Operator& op,
             const MainWindowStart& start = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  bool never_show() const { return never_show_; }
  // Shows the window centred on the screen unless never_show().
  void ShowCentred();

  // Remembered payment defaults (used by the payments window).
  std::string LastStatementNo;  // 10 characters
  std::string LastPaymentType;  // 3 characters
  dbf::DateTime LastPaymentDate = 0;

  // --- controls (for the dialogs and tests)
  QTabWidget* PageControl1() const { return pages_; }
  DbGrid* DBGrid1() const { return invoice_grid_; }
  DbGrid* ReceivableGrid() const { return receivable_grid_; }
  DbGrid* AddressGrid() const { return address_grid_; }
  CursorTableModel* InvoiceModel() const { return invoice_model_.get(); }
  CursorTableModel* ReceivableModel() const { return receivable_model_.get(); }
  CursorTableModel* AddressModel() const { return address_model_.get(); }
  DbNavigator* InvoiceNavigator() const { return invoice_navigator_; }
  QPushButton* SearchButton() const { return search_button_; }
  QPushButton* ExportButton() const { return export_button_; }
  MainStatusBar* StatusBar1() const { return status_bar_; }
  TOneInstance* OneInstance() const { return one_instance_.get(); }
  store::TData& data() const { return data_; }
  // The printers the system settings list (tests give their own); the
  // printing system's list when none is set.
  void set_printer_list(const store::PrinterList* printers) { printers_ = printers; }
  accounting::TDataUcto& ucto() const { return ucto_; }
  // The reports data module the overview command uses; none: the command
  // does nothing.
  void set_data_sestavy(reports::TDataSestavy* sestavy) { data_sestavy_ = sestavy; }

  // --- commands
  // F5, button "F5 Hledej", menu "Hledej": the search dialog, then the
  // focus on the invoice grid.
  void OpenInvoiceSearch();
  // Button "F10 Export": the invoice export.
  void ExportInvoices();
  // Menu "Přehled faktur", "Údaje o firmě", "Systémová nastavení", "Konec".
  void OpenOverview();
  void OpenCompanyHeader();
  void OpenSystemSettings();
  void Quit();
  // Key preview: F5, F10, F9 tested in this order; the key is not consumed.
  void FormKeyDown(int key);

 protected:
  // Dialogs of the commands.
  virtual void ShowInvoiceSearch();
  virtual void OpenPayments(const std::string& invoice_number);
  virtual void ShowOverview();
  virtual void ShowCompanyHeader();
  virtual void ShowSystemSettings();

  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  // A tab page: a tool strip with the table's navigator over the grid.
  QWidget* BuildPage(dbf::DbfDataSet& table, std::vector<GridColumn> columns,
                     std::unique_ptr<CursorTableModel>& model, DbGrid*& grid, QHBoxLayout*& strip);
  QWidget* BuildInvoicePage();
  QWidget* BuildSaldexPage(dbf::DbfDataSet& table, std::vector<GridColumn> columns,
                           std::unique_ptr<CursorTableModel>& model, DbGrid*& grid);
  void RunInstanceGuard(const MainWindowStart& start);
  void FormCreate();
  void FormClose();
  // Key preview: runs the command of F5, F10 or F9; the key is not consumed.
  bool PreviewKey(const QKeyEvent* event);

  store::TData& data_;
  accounting::TDataUcto& ucto_;
  reports::TDataSestavy* data_sestavy_ = nullptr;
  store::Operator& op_;
  std::unique_ptr<TOneInstance> one_instance_;
  bool never_show_ = false;

  QTabWidget* pages_ = nullptr;
  std::unique_ptr<CursorTableModel> invoice_model_, receivable_model_, address_model_;
  DbGrid* invoice_grid_ = nullptr;
  DbGrid* receivable_grid_ = nullptr;
  DbGrid* address_grid_ = nullptr;
  DbNavigator* invoice_navigator_ = nullptr;
  QPushButton* search_button_ = nullptr;
  QPushButton* export_button_ = nullptr;
  MainStatusBar* status_bar_ = nullptr;
  const store::PrinterList* printers_ = nullptr;
};

}  // namespace app

#endif  // SALDEX_APP_MAIN_WINDOW_H_
