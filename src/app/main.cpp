// saldex-export: the desktop program; with --reindex or --export the batch
// jobs, which need no screen and run beside a running desktop program.

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "app/desktop_program.h"
#include "app/report/report_output.h"
#include "dbf/charset_tables.h"
#include "jobs/export_job.h"
#include "jobs/overview_job.h"
#include "jobs/reindex_job.h"
#include "store/console_operator.h"

namespace {

constexpr const char* kIniDirVariable = "SALDEX_INI_DIR";

void PrintUsage(FILE* to) {
  std::fputs(
      "usage: saldex-export [--ini-dir DIR] [ARGUMENT...]\n"
      "       saldex-export [--ini-dir DIR] --reindex | --export [--dry-run]\n"
      "       saldex-export [--ini-dir DIR] --screenshot FILE.png\n"
      "       saldex-export [--ini-dir DIR] --overview FROM TO [--pdf FILE] [--xlsx]\n"
      "  (no job)       the desktop program: the main window over the store's\n"
      "                 invoices; a second start hands its arguments to the\n"
      "                 running one and ends\n"
      "  --reindex      start-up of the store data module and rebuild of every\n"
      "                 store index file, without a screen\n"
      "  --export       start-up, the invoice table opened in tag DO1 and the\n"
      "                 export of its invoices into the Saldex 2 tables\n"
      "  --dry-run      with --export: what the export would do with each invoice,\n"
      "                 and why not; nothing is written\n"
      "  --overview     the invoice overview of the dates FROM to TO (dd.mm.yyyy,\n"
      "                 both included): PrehledPrijemek.txt in the current\n"
      "                 directory, with --pdf FILE the report as a landscape PDF,\n"
      "                 with --xlsx the workbook into CestaXls; no screen needed\n"
      "  --screenshot   the main window drawn into a PNG file (offscreen when\n"
      "                 there is no display)\n"
      "  --ini-dir DIR  directory of Korvana.ini (default: $SALDEX_INI_DIR, else\n"
      "                 the directory of this executable)\n"
      "  --help, --version\n"
      "Exit status: 0 success, 1 failure (settings file missing, start-up ended,\n"
      "data unavailable, export or rebuild failed), 2 usage. See saldex-export(1).\n",
      to);
}

// The batch overview: the PDF is drawn with Qt, without a screen.
int RunOverviewJob(int& argc, char** argv, const std::string& ini_dir,
                   const jobs::OverviewOptions& options) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication toolkit(argc, argv);
  try {
    store::ConsoleOperator op;
    return jobs::RunOverview(
        ini_dir, op, options,
        [](const std::string& path, const std::function<void(reports::ReportCanvas&)>& pages,
           const jobs::PageProgress& progress) {
          app::WriteReportPdf(QString::fromStdString(path), pages, progress);
        },
        std::cout);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", dbf::Cp1250ToUtf8(e.what()).c_str());
    return 1;
  }
}

int Usage() {
  PrintUsage(stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const char* env_dir = std::getenv(kIniDirVariable);
  std::string ini_dir = env_dir ? env_dir : "";
  std::string job;
  bool dry_run = false;
  app::DesktopOptions desktop;
  jobs::OverviewOptions overview;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--ini-dir" && i + 1 < argc) {
      ini_dir = argv[++i];
    } else if ((arg == "--reindex" || arg == "--export") && job.empty()) {
      job = arg;
    } else if (arg == "--overview" && i + 2 < argc && job.empty()) {
      job = arg;
      overview.from = argv[++i];
      overview.to = argv[++i];
      // The pages drawn of the PDF are shown on a terminal only.
      if (isatty(STDERR_FILENO) == 1) overview.progress = &std::cerr;
    } else if (arg == "--pdf" && i + 1 < argc && overview.pdf_file.empty()) {
      overview.pdf_file = argv[++i];
    } else if (arg == "--xlsx") {
      overview.xlsx = true;
    } else if (arg == "--screenshot" && i + 1 < argc && job.empty()) {
      job = arg;
      desktop.screenshot_file = argv[++i];
    } else if (arg == "--dry-run") {
      dry_run = true;
    } else if (arg == "--help") {
      PrintUsage(stdout);
      return 0;
    } else if (arg == "--version") {
      std::printf("saldex-export %s\n", SALDEX_VERSION);
      return 0;
    } else if (arg.starts_with("--")) {
      return Usage();
    } else {
      desktop.arguments.push_back(arg);
    }
  }
  if (dry_run && job != "--export") return Usage();
  if (!ini_dir.empty() && ini_dir.back() != '/') ini_dir += '/';
  if ((!overview.pdf_file.empty() || overview.xlsx) && job != "--overview") return Usage();
  if (job == "--overview") {
    if (!desktop.arguments.empty()) return Usage();
    return RunOverviewJob(argc, argv, ini_dir, overview);
  }
  if (job == "--reindex" || job == "--export") {
    if (!desktop.arguments.empty()) return Usage();
    try {
      store::ConsoleOperator op;
      if (job == "--reindex") return jobs::RunReindex(ini_dir, op);
      return jobs::RunExport(ini_dir, op, std::cout, dry_run);
    } catch (const std::exception& e) {
      // The engine's and the settings file's errors carry code page 1250 text.
      std::fprintf(stderr, "%s\n", dbf::Cp1250ToUtf8(e.what()).c_str());
      return 1;
    }
  }
  if (!app::DisplayAvailable()) {
    if (job != "--screenshot") {
      std::fputs(
          "saldex-export: no display (DISPLAY is not set); the batch jobs --export and\n"
          "--reindex run without one\n",
          stderr);
      return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  desktop.ini_dir = ini_dir;
  return app::RunDesktopProgram(argc, argv, desktop);
}
