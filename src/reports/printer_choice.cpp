#include "reports/printer_choice.h"

namespace reports {

PrinterChoice ChoosePrinter(int32_t hlavni_tiskarna, int printer_count) {
  if (hlavni_tiskarna == -1) return {PrinterChoice::Kind::kDefault, 0};
  if (hlavni_tiskarna < -1 || hlavni_tiskarna >= printer_count) return {};
  return {PrinterChoice::Kind::kIndex, hlavni_tiskarna};
}

}  // namespace reports
