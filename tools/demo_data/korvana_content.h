#ifndef SALDEX_TOOLS_DEMO_DATA_KORVANA_CONTENT_H_
#define SALDEX_TOOLS_DEMO_DATA_KORVANA_CONTENT_H_

#include <map>
#include <string>

#include "table_image.h"

namespace demo {

// How much the demo store holds. The defaults make a realistic small store;
// tests take less, benchmarks far more.
struct KorvanaSize {
  int invoices = 480;          // over the years 2024 and 2025
  int customers = 60;          // about a quarter without IČO / DIČ
  int journal_entries = 3000;  // stock movements, the last on 2025-12-30
  int other_records = 12;      // records of each remaining table
};

// Fills the tables (component name -> empty table of its layout) with the
// content of a Czech hardware store. `os_user` (upper case, code page 1250
// is not needed: ASCII) is added to the users so that the automatic sign-in
// of whoever runs the demo succeeds; empty adds nobody.
void FillKorvanaTables(std::map<std::string, TableImage>& tables, const KorvanaSize& size,
                       const std::string& os_user);

}  // namespace demo

#endif  // SALDEX_TOOLS_DEMO_DATA_KORVANA_CONTENT_H_
