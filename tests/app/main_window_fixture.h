#ifndef SALDEX_TESTS_APP_MAIN_WINDOW_FIXTURE_H_
#define SALDEX_TESTS_APP_MAIN_WINDOW_FIXTURE_H_

// The main window over a small demo store and its Saldex 2 directory, with a
// recording operator and the process clock pinned.

#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "accounting/data_ucto.h"
#include "app/main_window.h"
#include "dbf/clock.h"
#include "saldex_tables.h"
#include "store/demo_store.h"

namespace app_testing {

// The main window with its dialogs replaced by recorders.
class RecordingMainWindow : public app::MainWindow {
 public:
  using MainWindow::MainWindow;

  std::vector<std::string> payments;  // OpenPayments' arguments
  int searches = 0;
  // Runs inside each recorded command (what a dialog would do meanwhile).
  std::function<void()> during_command;

 protected:
  void ShowInvoiceSearch() override {
    ++searches;
    if (during_command) during_command();
  }
  void OpenPayments(const std::string& invoice_number) override {
    payments.push_back(invoice_number);
    if (during_command) during_command();
  }
};

class MainWindowTest : public testing_support::DemoStoreTest {
 protected:
  static constexpr dbf::LocalTime kNow{2025, 6, 16, 10, 30, 0, 0};

  void SetUp() override {
    dbf::SetClockForTesting(kNow);
    MakeStore();
    demo::WriteSaldexDirectory(layout_.export_dir, layout_.data_dir);
  }
  void TearDown() override {
    window_.reset();
    dbf::SetClockForTesting(std::nullopt);
  }
  // The data module located as the start-up locates it.
  store::TData& Data() {
    store::TData& data = Module();
    data.settings.ExportDirectory = layout_.export_dir;
    data.settings.ExportPrefix = "";
    return data;
  }
  RecordingMainWindow& Window() {
    if (!window_) {
      Data();
      window_ = std::make_unique<RecordingMainWindow>(*data_, ucto_, op_);
      window_->show();
      QApplication::setActiveWindow(window_.get());
      Settle();
    }
    return *window_;
  }
  // Lets the grids read their windows.
  static void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }

  accounting::TDataUcto ucto_;
  std::unique_ptr<RecordingMainWindow> window_;
};

}  // namespace app_testing

#endif  // SALDEX_TESTS_APP_MAIN_WINDOW_FIXTURE_H_
