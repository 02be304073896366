// saldex-export: the program's batch entry. Options select a job; the jobs
// live in their own files.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "dbf/charset_tables.h"
#include "export_job.h"
#include "reindex_job.h"
#include "store/console_operator.h"

namespace {

constexpr const char* kIniDirVariable = "SALDEX_INI_DIR";

int Usage() {
  std::fputs(
      "usage: saldex-export [--ini-dir DIR] --reindex | --export\n"
      "  --reindex      start-up of the store data module and rebuild of every\n"
      "                 store index file, without a screen\n"
      "  --export       start-up, the invoice table opened in tag DO1 and the\n"
      "                 export of its invoices into the Saldex 2 tables\n"
      "  --ini-dir DIR  directory of Korvana.ini (default: $SALDEX_INI_DIR, else\n"
      "                 the directory of this executable)\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const char* env_dir = std::getenv(kIniDirVariable);
  std::string ini_dir = env_dir ? env_dir : "";
  std::string job;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--ini-dir" && i + 1 < argc) {
      ini_dir = argv[++i];
    } else if ((arg == "--reindex" || arg == "--export") && job.empty()) {
      job = arg;
    } else {
      return Usage();
    }
  }
  if (!ini_dir.empty() && ini_dir.back() != '/') ini_dir += '/';
  try {
    store::ConsoleOperator op;
    if (job == "--reindex") return saldex_export::RunReindex(ini_dir, op);
    if (job == "--export") return saldex_export::RunExport(ini_dir, op, std::cout);
  } catch (const std::exception& e) {
    // The engine's and the settings file's errors carry code page 1250 text.
    std::fprintf(stderr, "%s\n", dbf::Cp1250ToUtf8(e.what()).c_str());
    return 1;
  }
  return Usage();
}
