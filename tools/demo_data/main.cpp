// saldex-demo-data [--invoices N] [--journal N] TARGET: writes the demo
// Korvana directory (TARGET/data/, TARGET/Korvana.ini) of StoreCode 0001.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "dbf/charset_tables.h"
#include "korvana_directory.h"
#include "saldex_tables.h"
#include "store/sign_in_name.h"

namespace {

int Usage() {
  std::fputs(
      "usage: saldex-demo-data [--invoices N] [--journal N] TARGET\n"
      "  writes TARGET/data/ (store tables and CDX files of StoreCode 0001),\n"
      "  TARGET/saldex/ and TARGET/Korvana.ini\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  demo::KorvanaSize size;
  std::string target;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--invoices" || arg == "--journal") && i + 1 < argc) {
      (arg == "--invoices" ? size.invoices : size.journal_entries) = std::atoi(argv[++i]);
    } else if (!arg.empty() && arg[0] != '-' && target.empty()) {
      target = arg;
    } else {
      return Usage();
    }
  }
  if (target.empty()) return Usage();
  try {
    const std::string user =
        dbf::Cp1250ToUtf8(store::AutomaticSignInName(store::OperatingSystemUserName()));
    const demo::KorvanaDirectory korvana = demo::WriteKorvanaDirectory(target, size, user);
    const int exported = demo::WriteSaldexDirectory(korvana.export_dir, korvana.data_dir);
    std::printf("Korvana data:  %s\nsettings file: %s\n", korvana.data_dir.c_str(),
                korvana.settings_file.c_str());
    std::printf("Saldex 2:      %s (%d store invoices exported before)\n",
                korvana.export_dir.c_str(), exported);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "saldex-demo-data: %s\n", e.what());
    return 1;
  }
  return 0;
}
