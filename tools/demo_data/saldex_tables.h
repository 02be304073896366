#ifndef SALDEX_TOOLS_DEMO_DATA_SALDEX_TABLES_H_
#define SALDEX_TOOLS_DEMO_DATA_SALDEX_TABLES_H_

#include <cstdint>
#include <string>
#include <vector>

#include "accounting/saldex_fields.h"
#include "table_image.h"

namespace demo {

// The DBF layout Saldex 2 gives its tables (version 0x03, code page 852):
// large integers N 10, small integers N 3, integers N 6 (RODNECISLO N 10),
// amounts N 12.2 (KURS N 8.3), dates D 8, logicals L 1, texts at their width;
// the counter POHLEDAVKY N 8.
std::vector<FieldDef> SaldexLayout(const std::vector<accounting::SaldexField>& fields);

// Writes empty "KPOHLED.DBF" and "ADRESAR.DBF" into `dir`, and "SYSTEMAK.DBF"
// holding one record with POHLEDAVKY = `counter`.
void CreateSaldexTables(const std::string& dir, int32_t counter);

// Gives `dir` a Saldex 2 directory with a history that fits the Korvana data
// directory `korvana_dir` (invoice table "Fak" + `store_code`, customers
// "Ext" + `store_code`): receivables of older years that the store never
// issued, the older three fifths of the store's invoices already exported (with
// their customers in the address book; every seventh customer has had nothing
// exported yet), a few further addresses, and the
// counter at the last receivable. Without a Korvana invoice table only the
// older history is written. Returns the number of store invoices marked as
// exported.
int WriteSaldexDirectory(const std::string& dir, const std::string& korvana_dir,
                         const std::string& store_code = "0001");

}  // namespace demo

#endif  // SALDEX_TOOLS_DEMO_DATA_SALDEX_TABLES_H_
