#ifndef SALDEX_APP_DESKTOP_PROGRAM_H_
#define SALDEX_APP_DESKTOP_PROGRAM_H_

#include <string>
#include <vector>

namespace app {

struct DesktopOptions {
  // Directory of Korvana.ini, ending with '/'; empty: beside the executable.
  std::string ini_dir;
  // The command line handed to a running instance.
  std::vector<std::string> arguments;
  // When set: no single-instance guard; the main window is drawn into this
  // PNG file once its grids are filled, and the program ends.
  std::string screenshot_file;
};

// The desktop program, in the start order: the toolkit with the application
// title, the store data module TData and its start-up, the accounting data
// module TDataUcto, the reports data module, the main window MainWindow
// (single-instance guard, FormCreate), then the event loop until the main
// window closes. Returns the exit status: 0 also for a later instance that
// handed its command line to the running one.
int RunDesktopProgram(int& argc, char** argv, const DesktopOptions& options);

// Whether a window can be shown: a Qt platform is named, or an X11 or
// Wayland display is set.
bool DisplayAvailable();

}  // namespace app

#endif  // SALDEX_APP_DESKTOP_PROGRAM_H_
