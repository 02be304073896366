#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

#include "accounting/export_tables.h"
#include "accounting/invoice_export.h"
#include "app/dialogs/dialog_commands.h"
#include "app/error_display.h"
#include "app/invoice_ink.h"
#include "app/invoice_overview.h"
#include "dbf/clock.h"

namespace app {
namespace {

constexpr QColor kOverdueInk(255, 0, 0);
constexpr QColor kNotYetDueInk(0, 0, 128);

std::optional<QColor> InvoiceRowInk(const dbf::DbfDataSet& invoices) {
  switch (InvoiceInkOfCurrent(invoices)) {
    case InvoiceInk::kOverdue:
      return kOverdueInk;
    case InvoiceInk::kNotYetDue:
      return kNotYetDueInk;
    case InvoiceInk::kNormal:
      break;
  }
  return std::nullopt;
}

QPushButton* ToolButton(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  // Out of the tab order; a click still focuses it.
  button->setFocusPolicy(Qt::ClickFocus);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

MainWindow::MainWindow(store::TData& data, accounting::TDataUcto& ucto, store::Operator& op,
                       const MainWindowStart& start, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                              Qt::CustomizeWindowHint),
      data_(data),
      ucto_(ucto),
      op_(op) {
  setWindowTitle(QStringLiteral("Export faktur do Saldex 2  ver 1.04"));
  resize(kWidth, kHeight);
  BuildMenu();
  pages_ = new QTabWidget(this);
  pages_->setTabPosition(QTabWidget::South);
  pages_->setFocusPolicy(Qt::NoFocus);
  pages_->addTab(BuildInvoicePage(), QStringLiteral("Faktury"));
  pages_->addTab(BuildSaldexPage(ucto_.Pohledavky, ReceivableGridColumns(), receivable_model_,
                                 receivable_grid_),
                 QStringLiteral("Pohledávky Saldex 2"));
  pages_->addTab(
      BuildSaldexPage(ucto_.Adresar, AddressGridColumns(), address_model_, address_grid_),
      QStringLiteral("Adresář Saldex 2"));
  setCentralWidget(pages_);
  status_bar_ = new MainStatusBar(this);
  setStatusBar(status_bar_);
  // Today's date decides the invoice colours.
  connect(status_bar_, &MainStatusBar::dayChanged, invoice_model_.get(), &CursorTableModel::Refill);
  new controls::KeyPreview(this, [this](QKeyEvent* event) { return PreviewKey(event); });

  RunInstanceGuard(start);
  FormCreate();
  invoice_grid_->setFocus();
}

MainWindow::~MainWindow() {
  for (DbGrid* grid : {invoice_grid_, receivable_grid_, address_grid_})
    grid->SetCursorModel(nullptr);
}

void MainWindow::BuildMenu() {
  QMenuBar* bar = menuBar();
  QAction* search = bar->addAction(QStringLiteral("&Hledej"));
  connect(search, &QAction::triggered, this,
          [this] { RunCommand([this] { OpenInvoiceSearch(); }); });
  QMenu* reports = bar->addMenu(QStringLiteral("&Sestavy"));
  connect(reports->addAction(QStringLiteral("&Přehled faktur")), &QAction::triggered, this,
          [this] { RunCommand([this] { OpenOverview(); }); });
  QMenu* settings = bar->addMenu(QStringLiteral("&Nastavení"));
  connect(settings->addAction(QStringLiteral("Údaje o &firmě")), &QAction::triggered, this,
          [this] { RunCommand([this] { OpenCompanyHeader(); }); });
  connect(settings->addAction(QStringLiteral("&Systémová nastavení")), &QAction::triggered, this,
          [this] { RunCommand([this] { OpenSystemSettings(); }); });
  QAction* end = bar->addAction(QStringLiteral("&Konec"));
  connect(end, &QAction::triggered, this, [this] { Quit(); });
}

QWidget* MainWindow::BuildPage(dbf::DbfDataSet& table, std::vector<GridColumn> columns,
                               std::unique_ptr<CursorTableModel>& model, DbGrid*& grid,
                               QHBoxLayout*& strip) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* strip_widget = new QWidget(page);
  strip = new QHBoxLayout(strip_widget);
  strip->setContentsMargins(2, 2, 2, 2);
  strip->addWidget(new DbNavigator(table, strip_widget));
  layout->addWidget(strip_widget);
  model = std::make_unique<CursorTableModel>(table, std::move(columns));
  grid = new DbGrid(page);
  grid->SetCursorModel(model.get());
  layout->addWidget(grid->Panel(page));
  return page;
}

QWidget* MainWindow::BuildInvoicePage() {
  QHBoxLayout* strip = nullptr;
  QWidget* page =
      BuildPage(data_.Faktury(), InvoiceGridColumns(), invoice_model_, invoice_grid_, strip);
  invoice_model_->set_row_ink(InvoiceRowInk);
  invoice_navigator_ = qobject_cast<DbNavigator*>(strip->itemAt(0)->widget());
  QWidget* owner = strip->parentWidget();
  search_button_ = ToolButton(QStringLiteral("F5 Hledej"), owner);
  export_button_ = ToolButton(QStringLiteral("F10 Export"), owner);
  strip->addSpacing(8);
  strip->addWidget(search_button_);
  strip->addWidget(export_button_);
  strip->addStretch();
  connect(search_button_, &QPushButton::clicked, this,
          [this] { RunCommand([this] { OpenInvoiceSearch(); }); });
  connect(export_button_, &QPushButton::clicked, this,
          [this] { RunCommand([this] { ExportInvoices(); }); });
  return page;
}

QWidget* MainWindow::BuildSaldexPage(dbf::DbfDataSet& table, std::vector<GridColumn> columns,
                                     std::unique_ptr<CursorTableModel>& model, DbGrid*& grid) {
  QHBoxLayout* strip = nullptr;
  QWidget* page = BuildPage(table, std::move(columns), model, grid, strip);
  strip->addStretch();
  return page;
}

void MainWindow::RunInstanceGuard(const MainWindowStart& start) {
  if (start.instance_name.isEmpty()) return;
  one_instance_ = std::make_unique<TOneInstance>(start.instance_name);
  one_instance_->ShowOnNewInstance = true;
  one_instance_->set_window(this);
  one_instance_->Start(start.arguments);
  never_show_ = one_instance_->handed_over();
}

void MainWindow::FormCreate() {
  LastStatementNo = std::string(10, ' ');
  LastPaymentType = std::string(3, ' ');
  LastPaymentDate = std::floor(dbf::Now().ToDateTime());
  // Errors are swallowed there: the window opens with what could be opened.
  accounting::OpenExportTables(data_, ucto_, /*may_rebuild=*/true);
}

void MainWindow::ShowCentred() {
  if (never_show_) return;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  show();
}

void MainWindow::FormClose() {
  data_.CloseFak();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  RunCommand([this] { FormClose(); });
  event->accept();
}

void MainWindow::OpenInvoiceSearch() {
  ShowInvoiceSearch();
  invoice_grid_->setFocus();
}

void MainWindow::ExportInvoices() {
  accounting::InvoiceExport exporter(
      {data_.Faktury(), data_.Odberatele(), [this] { return data_.OpenOdb(0, "KOD"); },
       [this] { data_.CloseOdb(); }, data_.settings.ExportPrefix},
      ucto_, op_);
  exporter.Run();
  invoice_grid_->setFocus();
}

void MainWindow::OpenOverview() {
  ShowOverview();
}

void MainWindow::OpenCompanyHeader() {
  ShowCompanyHeader();
}

void MainWindow::OpenSystemSettings() {
  ShowSystemSettings();
}

void MainWindow::Quit() {
  close();
}

void MainWindow::ShowInvoiceSearch() {
  RunInvoiceSearch(this, data_);
}

void MainWindow::OpenPayments(const std::string& invoice_number) {
  store::PaymentDefaults defaults{LastStatementNo, LastPaymentType, LastPaymentDate};
  RunInvoicePayments(this, data_, defaults, invoice_number);
  invoice_grid_->setFocus();
  LastStatementNo = defaults.statement_no;
  LastPaymentType = defaults.payment_type;
  LastPaymentDate = defaults.payment_date;
}

void MainWindow::ShowOverview() {
  if (data_sestavy_ != nullptr) RunInvoiceOverview(this, data_, *data_sestavy_);
}

void MainWindow::ShowCompanyHeader() {
  RunCompanyHeader(this, data_);
}

void MainWindow::ShowSystemSettings() {
  static const QtPrinterList installed;
  RunSystemSettings(this, data_, printers_ ? *printers_ : installed);
}

void MainWindow::FormKeyDown(int key) {
  if (key == Qt::Key_F5) OpenInvoiceSearch();
  if (key == Qt::Key_F10) {
    pages_->setCurrentIndex(0);
    ExportInvoices();
  }
  if (key == Qt::Key_F9) {
    dbf::DbfDataSet& invoices = data_.Faktury();
    // A closed table has no current invoice either.
    const std::string number =
        invoices.active() ? invoices.FieldByName("HLA_DO1").AsString() : std::string();
    OpenPayments(number);
  }
}

bool MainWindow::PreviewKey(const QKeyEvent* event) {
  const int key = event->key();
  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, whichever control has the
  // focus (a grid would take them as its own keys); the page's grid gets the focus.
  if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
      (event->modifiers() & Qt::ControlModifier) && !(event->modifiers() & Qt::AltModifier)) {
    const bool back = key == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
    const int count = pages_->count();
    pages_->setCurrentIndex((pages_->currentIndex() + (back ? count - 1 : 1)) % count);
    DbGrid* grids[] = {invoice_grid_, receivable_grid_, address_grid_};
    grids[pages_->currentIndex()]->setFocus(Qt::TabFocusReason);
    return true;
  }
  if (key == Qt::Key_F5 || key == Qt::Key_F10 || key == Qt::Key_F9) {
    RunCommand([this, key] { FormKeyDown(key); });
  }
  return false;
}

}  // namespace app
