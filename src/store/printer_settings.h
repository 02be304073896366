#ifndef SALDEX_STORE_PRINTER_SETTINGS_H_
#define SALDEX_STORE_PRINTER_SETTINGS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "store/operator.h"
#include "store/settings.h"

namespace store {

// The printers installed on the machine, in the order the printing system
// lists them; the settings keep only a position in this list. Names are
// code page 1250 (they are only shown).
class PrinterList {
 public:
  virtual ~PrinterList() = default;
  virtual std::vector<std::string> Names() const = 0;
};

// A list given in advance (tests, machines without a printing system).
class FixedPrinterList : public PrinterList {
 public:
  explicit FixedPrinterList(std::vector<std::string> names) : names_(std::move(names)) {}
  std::vector<std::string> Names() const override { return names_; }

 private:
  std::vector<std::string> names_;
};

// The list position a printer index selects: the index itself when a
// printer is there, -1 (nothing selected) otherwise.
int PrinterSelection(int32_t printer_index, size_t printer_count);

// Writes "HlavniTiskarna" and "ParagonovaTiskarna" of section "Korvana" into
// the settings file `path` (found without regard to case; created when
// missing) in place; every other byte stays. Throws FileWriteError with the
// operator's Czech message when the file cannot be read or written.
void WritePrinterKeys(const std::string& path, int32_t main_printer, int32_t receipt_printer);

// The confirmed choice of the main printer: HlavniTiskarna becomes
// `main_printer` and both printer keys are written (ZapisNastaveniTiskaren).
// When the file cannot be written, the message is shown, HlavniTiskarna
// keeps its old value and the result is false.
bool SaveMainPrinter(Settings& settings, int32_t main_printer, Operator& op);

}  // namespace store

#endif  // SALDEX_STORE_PRINTER_SETTINGS_H_
