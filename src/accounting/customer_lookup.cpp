#include "accounting/customer_lookup.h"

#include <optional>

#include "dbf/dbf_file.h"

namespace accounting {

// Stand-in until the cursor offers FindKey: the customer key is EXT_KOD.
bool FindCustomer(dbf::DbfDataSet& odberatele, const std::string& code) {
  dbf::DbfFile scan;
  scan.Open(odberatele.file().path(), true, false);
  const int field = scan.RequireField("EXT_KOD");
  const std::string key = odberatele.Translate(code, true);
  std::optional<std::string> best_key;
  uint32_t best = 0;
  for (uint32_t recno = 1; scan.GoTo(recno); ++recno) {
    if (scan.deleted()) continue;
    std::string text(scan.Raw(field));
    if (text.compare(0, key.size(), key) != 0) continue;
    if (!best_key || text < *best_key) {
      best_key = text;
      best = recno;
    }
  }
  if (!best_key) return false;
  odberatele.SetRecNo(best);
  return true;
}

}  // namespace accounting
