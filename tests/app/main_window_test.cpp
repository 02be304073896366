// MainWindow: layout, FormCreate and its rebuild fallback, colours,
// the grid and the cursor following each other, the keys.

#include <QHeaderView>
#include <QMenuBar>
#include <QTest>
#include <filesystem>

#include "controls/qt_text.h"
#include "main_window_fixture.h"

namespace app_testing {
namespace {

using app::CursorTableModel;

// Records the key presses a widget receives.
class KeySpy : public QObject {
 public:
  explicit KeySpy(QObject* target) { target->installEventFilter(this); }
  std::vector<int> keys;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) keys.push_back(static_cast<QKeyEvent*>(event)->key());
    return false;
  }
};

std::vector<QString> Headings(const CursorTableModel& model) {
  std::vector<QString> headings;
  for (int i = 0; i < model.columnCount(); ++i) {
    headings.push_back(model.headerData(i, Qt::Horizontal).toString());
  }
  return headings;
}

TEST_F(MainWindowTest, LayoutCaptionTabsStatusBarAndMenu) {
  RecordingMainWindow& w = Window();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Export faktur do Saldex 2  ver 1.04"));
  EXPECT_EQ(w.size(), QSize(597, 361));
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);

  QTabWidget* pages = w.PageControl1();
  EXPECT_EQ(pages->tabPosition(), QTabWidget::South);
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->tabText(0), QStringLiteral("Faktury"));
  EXPECT_EQ(pages->tabText(1), QStringLiteral("Pohledávky Saldex 2"));
  EXPECT_EQ(pages->tabText(2), QStringLiteral("Adresář Saldex 2"));
  EXPECT_EQ(w.SearchButton()->text(), QStringLiteral("F5 Hledej"));
  EXPECT_EQ(w.ExportButton()->text(), QStringLiteral("F10 Export"));
  EXPECT_FALSE(w.SearchButton()->focusPolicy() & Qt::TabFocus);
  EXPECT_FALSE(w.ExportButton()->focusPolicy() & Qt::TabFocus);

  app::MainStatusBar* bar = w.StatusBar1();
  EXPECT_EQ(bar->text_pane()->width(), 313);
  EXPECT_TRUE(bar->text_pane()->text().isEmpty());
  EXPECT_FALSE(bar->caps_pane()->isEnabled());
  EXPECT_TRUE(bar->num_pane()->isEnabled());
  EXPECT_EQ(bar->clock_pane()->width(), 121);
  EXPECT_EQ(bar->clock_pane()->text(), QStringLiteral("10:30:00"));

  QStringList menus;
  for (QAction* action : w.menuBar()->actions()) menus << action->text();
  EXPECT_EQ(menus, QStringList({"&Hledej", "&Sestavy", "&Nastavení", "&Konec"}));
  QStringList settings;
  for (QAction* action : w.menuBar()->actions()[2]->menu()->actions()) settings << action->text();
  EXPECT_EQ(settings, QStringList({"Údaje o &firmě", "&Systémová nastavení"}));
  EXPECT_EQ(w.menuBar()->actions()[1]->menu()->actions()[0]->text(),
            QStringLiteral("&Přehled faktur"));
}

TEST_F(MainWindowTest, GridsShowTheListedColumnsHeadingsAndWidths) {
  RecordingMainWindow& w = Window();
  const auto invoices = Headings(*w.InvoiceModel());
  ASSERT_EQ(invoices.size(), 35u);
  EXPECT_EQ(invoices[0], QStringLiteral("Vystaveno"));         // HLA_DAT
  EXPECT_EQ(invoices[1], QStringLiteral("Faktura"));           // HLA_DO1
  EXPECT_EQ(invoices[4], QStringLiteral("Název odběratele"));  // HLA_NAC
  EXPECT_EQ(invoices[34], QStringLiteral("Zapl. Kč"));         // HLA_BPL
  EXPECT_EQ(w.DBGrid1()->columnWidth(4), 200);
  EXPECT_EQ(w.DBGrid1()->columnWidth(10), 64);

  const auto receivables = Headings(*w.ReceivableModel());
  ASSERT_EQ(receivables.size(), 38u);
  EXPECT_EQ(receivables[0], QStringLiteral("Číslo"));
  EXPECT_EQ(receivables[7], QStringLiteral("Souvst."));
  EXPECT_EQ(receivables[8], QStringLiteral("POZNAMKA"));
  EXPECT_EQ(receivables[37], QStringLiteral("PECET"));
  EXPECT_EQ(w.ReceivableGrid()->columnWidth(0), 46);
  EXPECT_EQ(w.ReceivableGrid()->columnWidth(3), 77);

  const auto addresses = Headings(*w.AddressModel());
  ASSERT_EQ(addresses.size(), 64u);
  EXPECT_EQ(addresses[0], QStringLiteral("NAZEV"));
  EXPECT_EQ(addresses[63], QStringLiteral("PECET"));
  EXPECT_EQ(w.AddressGrid()->columnWidth(0), 135);

  app::DbGrid* grid = w.DBGrid1();
  EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(grid->palette().color(QPalette::Inactive, QPalette::Highlight),
            grid->palette().color(QPalette::Active, QPalette::Highlight));
}

TEST_F(MainWindowTest, FormCreateOpensTheTablesAndStandsOnTheLastInvoice) {
  RecordingMainWindow& w = Window();
  store::TData& data = *data_;
  EXPECT_EQ(w.LastStatementNo, std::string(10, ' '));
  EXPECT_EQ(w.LastPaymentType, std::string(3, ' '));
  EXPECT_EQ(w.LastPaymentDate, static_cast<double>(dbf::DaysFromCivil({2025, 6, 16})));
  ASSERT_TRUE(data.Faktury().active());
  EXPECT_EQ(data.Faktury().index_name(), "DO1");
  EXPECT_TRUE(ucto_.Pohledavky.active());
  EXPECT_TRUE(ucto_.Adresar.active());
  EXPECT_FALSE(ucto_.Ciselnik.active());
  EXPECT_EQ(ucto_.Ciselnik.database_name() + "/", layout_.export_dir);
  EXPECT_EQ(data.rebuild_count(), 0);

  // The last invoice in DO1 order is the active row, in the bottom row.
  const uint32_t last = data.Faktury().RecNo();
  data.Faktury().Last();
  EXPECT_EQ(data.Faktury().RecNo(), last);
  CursorTableModel* model = w.InvoiceModel();
  ASSERT_GT(model->rowCount(), 1);
  EXPECT_EQ(model->active_row(), model->rowCount() - 1);
  EXPECT_EQ(model->RecNoOfRow(model->active_row()), last);
  EXPECT_EQ(model->headerData(model->active_row(), Qt::Vertical).toString(),
            CursorTableModel::IndicatorText());
  EXPECT_GT(w.ReceivableModel()->rowCount(), 0);
  EXPECT_GT(w.AddressModel()->rowCount(), 0);
}

TEST_F(MainWindowTest, MissingReceivablesTableRunsTheRebuildAndTheWindowStillOpens) {
  std::filesystem::remove(layout_.export_dir + "KPOHLED.DBF");
  RecordingMainWindow& w = Window();
  store::TData& data = *data_;
  EXPECT_EQ(data.rebuild_count(), 1);
  ASSERT_TRUE(data.Faktury().active());
  EXPECT_EQ(data.Faktury().index_name(), "DO1");
  EXPECT_GT(w.InvoiceModel()->rowCount(), 0);
  EXPECT_EQ(w.InvoiceModel()->active_row(), w.InvoiceModel()->rowCount() - 1);
  EXPECT_FALSE(ucto_.Pohledavky.active());
  EXPECT_FALSE(ucto_.Adresar.active());
  EXPECT_EQ(w.ReceivableModel()->rowCount(), 0);
  EXPECT_EQ(w.AddressModel()->rowCount(), 0);
}

TEST_F(MainWindowTest, RowColoursFollowPaidTotalAndDueDateWithTheSelectedRowUncoloured) {
  // The five last invoices in DO1 order, top to bottom.
  store::TData& data = Data();
  ASSERT_TRUE(data.OpenFak("DO1"));
  dbf::DbfDataSet& invoices = data.Faktury();
  const double today = static_cast<double>(dbf::DaysFromCivil(kNow.date()));
  struct Row {
    bool paid;
    double total;
    std::optional<double> due;
  };
  const Row rows[] = {
      {false, 0.0, today - 1},      // total 0: normal
      {false, 10.0, today},         // due today: navy
      {false, 10.0, today - 1},     // due yesterday: red
      {false, 10.0, std::nullopt},  // empty due date: red
      {false, 10.0, today - 1},     // overdue but selected: normal
  };
  invoices.Last();
  invoices.MoveBy(-4);
  for (const Row& row : rows) {
    invoices.Edit();
    invoices.FieldByName("HLA_PLA").SetAsBoolean(row.paid);
    invoices.FieldByName("HLA_CUH").SetAsFloat(row.total);
    if (row.due) {
      invoices.FieldByName("HLA_DSP").SetAsDateTime(*row.due);
    } else {
      invoices.FieldByName("HLA_DSP").Clear();
    }
    invoices.Post();
    invoices.Next();
  }
  data.CloseFak();

  RecordingMainWindow& w = Window();
  CursorTableModel* model = w.InvoiceModel();
  const int bottom = model->rowCount() - 1;
  ASSERT_GE(bottom, 4);
  auto ink = [&](int row) { return model->data(model->index(row, 1), Qt::ForegroundRole); };
  EXPECT_FALSE(ink(bottom - 4).isValid());
  EXPECT_EQ(ink(bottom - 3).value<QColor>(), QColor(0, 0, 128));
  EXPECT_EQ(ink(bottom - 2).value<QColor>(), QColor(255, 0, 0));
  EXPECT_EQ(ink(bottom - 1).value<QColor>(), QColor(255, 0, 0));
  EXPECT_EQ(model->active_row(), bottom);
  EXPECT_FALSE(ink(bottom).isValid());

  // Moved off, the last row shows its colour; the new selected row loses its.
  data.Faktury().Prior();
  EXPECT_EQ(model->active_row(), bottom - 1);
  EXPECT_EQ(ink(bottom).value<QColor>(), QColor(255, 0, 0));
  EXPECT_FALSE(ink(bottom - 1).isValid());
}

TEST_F(MainWindowTest, GridFollowsCursorMovesAndCursorFollowsAClick) {
  RecordingMainWindow& w = Window();
  dbf::DbfDataSet& invoices = data_->Faktury();
  CursorTableModel* model = w.InvoiceModel();
  app::DbGrid* grid = w.DBGrid1();
  const int rows = model->rowCount();
  ASSERT_GT(rows, 3);

  invoices.MoveBy(-2);
  EXPECT_EQ(model->active_row(), rows - 3);
  EXPECT_EQ(grid->currentIndex().row(), rows - 3);

  // A jump outside the window: the first invoice in the top row.
  EXPECT_TRUE(w.InvoiceNavigator()->first_button()->isEnabled());
  QTest::mouseClick(w.InvoiceNavigator()->first_button(), Qt::LeftButton);
  Settle();
  EXPECT_FALSE(w.InvoiceNavigator()->first_button()->isEnabled());
  EXPECT_TRUE(w.InvoiceNavigator()->last_button()->isEnabled());
  EXPECT_EQ(model->active_row(), 0);
  EXPECT_EQ(model->RecNoOfRow(0), invoices.RecNo());
  EXPECT_EQ(grid->currentIndex().row(), 0);
  EXPECT_TRUE(invoices.Bof());

  // A click on the third row moves the cursor there.
  const QRect cell = grid->visualRect(model->index(2, 1));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(invoices.RecNo(), model->RecNoOfRow(2));
  EXPECT_EQ(model->active_row(), 2);

  // Keys of the grid move the cursor: Down past the bottom scrolls by one.
  grid->setFocus();
  const uint32_t top = model->RecNoOfRow(0);
  for (int i = 2; i < rows; ++i) QTest::keyClick(grid, Qt::Key_Down);
  Settle();
  EXPECT_EQ(model->active_row(), rows - 1);
  EXPECT_EQ(model->RecNoOfRow(0), model->RecNoOfRow(0));
  EXPECT_NE(model->RecNoOfRow(0), top);
  EXPECT_EQ(invoices.RecNo(), model->RecNoOfRow(rows - 1));
  QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(model->RecNoOfRow(0), top);
  EXPECT_EQ(invoices.RecNo(), top);
}

// Keys come as the keyboard sends them: to the window, which hands them to
// the focused control.
TEST_F(MainWindowTest, KeysF5F9PreviewedAndPassedOn) {
  RecordingMainWindow& w = Window();
  app::DbGrid* grid = w.DBGrid1();
  grid->setFocus();
  KeySpy spy(grid);
  QTest::keyClick(w.windowHandle(), Qt::Key_F5);
  EXPECT_EQ(w.searches, 1);
  EXPECT_TRUE(grid->hasFocus());
  QTest::keyClick(w.windowHandle(), Qt::Key_F9);
  ASSERT_EQ(w.payments.size(), 1u);
  EXPECT_EQ(w.payments[0], data_->Faktury().FieldByName("HLA_DO1").AsString());
  EXPECT_FALSE(w.payments[0].empty());
  // Neither key was consumed by the preview.
  EXPECT_EQ(spy.keys, (std::vector<int>{Qt::Key_F5, Qt::Key_F9}));
  // The menu "Hledej" runs the same search.
  w.menuBar()->actions()[0]->trigger();
  EXPECT_EQ(w.searches, 2);
}

// A command that shows a dialog installs and removes an application event
// filter (so does a tool tip) and gives the focus back to the grid: the key
// press that started it must not start it again, on the first press after
// the start or any later one.
TEST_F(MainWindowTest, EachF5AndF9RunsItsCommandOnceWhateverTheCommandDoes) {
  RecordingMainWindow& w = Window();
  app::DbGrid* grid = w.DBGrid1();
  grid->setFocus();
  KeySpy spy(grid);
  w.during_command = [&] {
    QObject dialog_filter;
    qApp->installEventFilter(&dialog_filter);
    w.InvoiceNavigator()->setFocus();
    qApp->removeEventFilter(&dialog_filter);
    grid->setFocus();
  };
  for (size_t press = 1; press <= 3; ++press) {
    QTest::keyClick(w.windowHandle(), Qt::Key_F5);
    EXPECT_EQ(w.searches, static_cast<int>(press));
    QTest::keyClick(w.windowHandle(), Qt::Key_F9);
    EXPECT_EQ(w.payments.size(), press);
  }
  EXPECT_EQ(spy.keys.size(), 6u);
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages also while a grid has the
// focus, round and round; the page's grid takes the focus.
TEST_F(MainWindowTest, CtrlTabTurnsThePagesFromTheGrid) {
  RecordingMainWindow& w = Window();
  w.DBGrid1()->setFocus();
  QTest::keyClick(w.windowHandle(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(w.PageControl1()->currentIndex(), 1);
  EXPECT_TRUE(w.ReceivableGrid()->hasFocus());
  QTest::keyClick(w.windowHandle(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(w.PageControl1()->currentIndex(), 2);
  QTest::keyClick(w.windowHandle(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(w.PageControl1()->currentIndex(), 0);
  EXPECT_TRUE(w.DBGrid1()->hasFocus());
  QTest::keyClick(w.windowHandle(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(w.PageControl1()->currentIndex(), 2);
  EXPECT_TRUE(w.AddressGrid()->hasFocus());
}

TEST_F(MainWindowTest, F9OnAnEmptyInvoiceTablePassesAnEmptyNumber) {
  store::TData& data = Data();
  ASSERT_TRUE(data.OpenFak("DO1"));
  dbf::DbfDataSet& invoices = data.Faktury();
  invoices.First();
  while (!invoices.IsEmpty()) invoices.Delete();
  data.CloseFak();
  RecordingMainWindow& w = Window();
  EXPECT_EQ(w.InvoiceModel()->rowCount(), 0);
  QTest::keyClick(w.windowHandle(), Qt::Key_F9);
  EXPECT_EQ(w.payments, std::vector<std::string>{""});
}

TEST_F(MainWindowTest, F10FromTheAddressTabShowsInvoicesThenExports) {
  RecordingMainWindow& w = Window();
  w.PageControl1()->setCurrentIndex(2);
  w.AddressGrid()->setFocus();
  const int addresses_before = static_cast<int>(ucto_.Adresar.RecordCount());
  const int receivables_before = static_cast<int>(ucto_.Pohledavky.RecordCount());
  op_.messages.clear();
  // The tab changes before the export's first message.
  size_t messages_at_tab_change = 99;
  QObject::connect(w.PageControl1(), &QTabWidget::currentChanged,
                   [&] { messages_at_tab_change = op_.messages.size(); });
  QTest::keyClick(w.windowHandle(), Qt::Key_F10);
  EXPECT_EQ(messages_at_tab_change, 0u);
  EXPECT_EQ(w.PageControl1()->currentIndex(), 0);
  ASSERT_GE(op_.messages.size(), 2u);
  EXPECT_EQ(op_.messages.front().text, "POZOR - Saldex 2 nesmí být spuštěn !!!");
  EXPECT_EQ(op_.messages.back().text, "POZOR - V Saldex2 proveďte indexaci a doplnění pečetí !!!");
  EXPECT_EQ(op_.messages.front().caption, "Exportni modul pro Saldex 2");
  EXPECT_GT(static_cast<int>(ucto_.Pohledavky.RecordCount()), receivables_before);
  EXPECT_GT(static_cast<int>(ucto_.Adresar.RecordCount()), addresses_before);
  EXPECT_FALSE(ucto_.Ciselnik.active());
  EXPECT_TRUE(w.DBGrid1()->hasFocus());
  // The receivables grid shows the appended receivables.
  Settle();
  ucto_.Pohledavky.Last();
  Settle();
  EXPECT_EQ(w.ReceivableModel()->RecNoOfRow(w.ReceivableModel()->active_row()),
            ucto_.Pohledavky.RecNo());
  EXPECT_EQ(ucto_.Pohledavky.RecNo(), ucto_.Pohledavky.RecordCount());
}

TEST_F(MainWindowTest, KonecClosesTheWindowAndTheInvoiceTable) {
  RecordingMainWindow& w = Window();
  ASSERT_TRUE(data_->Faktury().active());
  w.menuBar()->actions()[3]->trigger();
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(data_->Faktury().active());
  EXPECT_EQ(w.InvoiceModel()->rowCount(), 0);
}

}  // namespace
}  // namespace app_testing
