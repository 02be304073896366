#include "store/printer_settings.h"

#include <stdexcept>

#include "dbf/file_names.h"
#include "store/ansi_text.h"
#include "store/file_in_place.h"
#include "store/profile_file.h"

namespace store {
namespace {

constexpr const char* kKorvanaSection = "Korvana";

std::string What() {
  return Ansi("Nastavení tiskáren");
}

}  // namespace

int PrinterSelection(int32_t printer_index, size_t printer_count) {
  if (printer_index < 0 || static_cast<size_t>(printer_index) >= printer_count) return -1;
  return printer_index;
}

void WritePrinterKeys(const std::string& path, int32_t main_printer, int32_t receipt_printer) {
  const std::string existing = dbf::FindFileIgnoringCase(path).value_or(path);
  ProfileFile file;
  try {
    file = ProfileFile::Load(existing);
  } catch (const std::runtime_error&) {
    throw FileWriteError(What() + Ansi(" nelze zapsat: soubor ") + existing +
                         Ansi(" nelze přečíst."));
  }
  const std::string old_text = file.text();
  file.Write(kKorvanaSection, "HlavniTiskarna", std::to_string(main_printer));
  file.Write(kKorvanaSection, "ParagonovaTiskarna", std::to_string(receipt_printer));
  RewriteFileInPlace(existing, old_text, file.text(), What());
}

bool SaveMainPrinter(Settings& settings, int32_t main_printer, Operator& op) {
  const int32_t previous = settings.HlavniTiskarna;
  settings.HlavniTiskarna = main_printer;
  try {
    settings.ZapisNastaveniTiskaren();
  } catch (const FileWriteError& error) {
    settings.HlavniTiskarna = previous;
    op.ShowMessage(error.what(), kApplicationTitle);
    return false;
  }
  return true;
}

}  // namespace store
