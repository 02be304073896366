#ifndef SALDEX_ACCOUNTING_EXPORT_MESSAGES_H_
#define SALDEX_ACCOUNTING_EXPORT_MESSAGES_H_

#include <string>

namespace accounting {

// The export's texts for the operator, in code page 1250 like every text of
// the program; arguments are code page 1250 too.

// Before the walk: "POZOR - Saldex 2 nesmí být spuštěn !!!"
std::string SaldexMustNotRunText();
// Another export holds the Saldex 2 directory: "Export již probíhá ..."
std::string ExportRunningText();
// After the walk: "POZOR - V Saldex2 proveďte indexaci a doplnění pečetí !!!"
std::string ReindexSaldexText();
// "U odběratele " + name + " není zadáno IČO nebo DIČ, faktura " + number +
// " nebude převedena !"
std::string MissingIcoOrDicText(const std::string& customer_name, const std::string& invoice);
// "Odběratel s kódem " + code + " nebyl nalezen v seznamu odběratelů, faktura "
// + number + " nebude převedena !"
std::string CustomerNotFoundText(const std::string& customer_code, const std::string& invoice);

}  // namespace accounting

#endif  // SALDEX_ACCOUNTING_EXPORT_MESSAGES_H_
