#include "app/desktop_program.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <cstdlib>
#include <exception>

#include "accounting/data_ucto.h"
#include "app/error_display.h"
#include "app/main_window.h"
#include "app/qt_operator.h"
#include "controls/qt_text.h"
#include "dbf/system_path.h"
#include "reports/data_sestavy.h"
#include "store/data_module.h"

namespace app {
namespace {

bool Set(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

// Lets the queued work run until every grid shows its rows.
void SettleGrids(MainWindow& window) {
  for (int round = 0; round < 100; ++round) {
    QApplication::processEvents();
    const bool pending = window.InvoiceModel()->refill_pending() ||
                         window.ReceivableModel()->refill_pending() ||
                         window.AddressModel()->refill_pending();
    if (!pending) return;
  }
}

int SaveScreenshot(MainWindow& window, const std::string& file) {
  window.ShowCentred();
  SettleGrids(window);
  const bool saved = window.grab().save(QString::fromStdString(file), "PNG");
  window.close();
  return saved ? 0 : 1;
}

}  // namespace

bool DisplayAvailable() {
  return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

int RunDesktopProgram(int& argc, char** argv, const DesktopOptions& options) {
  // 1. The toolkit and the application title.
  SaldexApplication application(argc, argv);
  QApplication::setApplicationName(controls::FromAnsi(store::kApplicationTitle));
  // The icon of the menu entry; the desktop file name lets the desktop match
  // the window to its entry.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/saldex-export.png")));
  QGuiApplication::setDesktopFileName(QStringLiteral("saldex-export"));
  QtOperator op;
  try {
    // 2. The store data module and its start-up.
    // The directory is a file system (UTF-8) name; the program composes
    // paths in code page 1250.
    store::TData data(op, dbf::ProgramPath(options.ini_dir));
    data.DataCreate();
    // 3. The accounting data module.
    accounting::TDataUcto ucto;
    // 4. The reports data module.
    reports::TDataSestavy sestavy(data);
    // 5. The main window: single-instance guard, then FormCreate.
    MainWindowStart start;
    if (options.screenshot_file.empty()) start.instance_name = TOneInstance::SessionName();
    start.arguments = options.arguments;
    MainWindow window(data, ucto, op, start);
    window.set_data_sestavy(&sestavy);
    op.set_owner(&window);
    if (!options.screenshot_file.empty()) return SaveScreenshot(window, options.screenshot_file);
    // A start-up that asked for the end, or a later instance, ends here.
    if (data.terminate_requested() || window.never_show()) return 0;
    // 6. The event loop until the main window closes.
    window.ShowCentred();
    return QApplication::exec();
  } catch (const std::exception& error) {
    ShowError(error);
    return 1;
  }
}

}  // namespace app
