#include "accounting/export_messages.h"

#include "store/ansi_text.h"

namespace accounting {

std::string SaldexMustNotRunText() {
  return store::Ansi("POZOR - Saldex 2 nesmí být spuštěn !!!");
}

std::string ExportRunningText() {
  return store::Ansi(
      "Export již probíhá z jiného okna nebo počítače, tento export neproběhl. "
      "Zkuste jej znovu po jeho skončení.");
}

std::string ReindexSaldexText() {
  return store::Ansi("POZOR - V Saldex2 proveďte indexaci a doplnění pečetí !!!");
}

std::string MissingIcoOrDicText(const std::string& customer_name, const std::string& invoice) {
  return store::Ansi("U odběratele ") + customer_name +
         store::Ansi(" není zadáno IČO nebo DIČ, faktura ") + invoice +
         store::Ansi(" nebude převedena !");
}

std::string CustomerNotFoundText(const std::string& customer_code, const std::string& invoice) {
  return store::Ansi("Odběratel s kódem ") + customer_code +
         store::Ansi(" nebyl nalezen v seznamu odběratelů, faktura ") + invoice +
         store::Ansi(" nebude převedena !");
}

}  // namespace accounting
