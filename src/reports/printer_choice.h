#ifndef SALDEX_REPORTS_PRINTER_CHOICE_H_
#define SALDEX_REPORTS_PRINTER_CHOICE_H_

#include <cstdint>

namespace reports {

// Which printer a report prints on, decided from the setting HlavniTiskarna
// before printing starts.
struct PrinterChoice {
  enum class Kind { kUnchanged, kDefault, kIndex };
  Kind kind = Kind::kUnchanged;
  int index = 0;  // position in the system's printer list, for kIndex
};

// -1: the system's default printer; 0 .. printer_count - 1: that printer of
// the list; below -1 or beyond the list: the printer stays as it is.
PrinterChoice ChoosePrinter(int32_t hlavni_tiskarna, int printer_count);

}  // namespace reports

#endif  // SALDEX_REPORTS_PRINTER_CHOICE_H_
