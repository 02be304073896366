#include "accounting/customer_lookup.h"

#include <optional>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"

namespace accounting {
namespace {

// A customer table opened without the cursor's index support (the store
// module's own index registry): the first EXT_KOD in byte order that begins
// with `code`, found by a scan.
bool ScanForCustomer(dbf::DbfDataSet& odberatele, const std::string& code) {
  if (!odberatele.active()) {
    throw dbf::DatasetError("Cannot perform this operation on a closed dataset");
  }
  dbf::DbfFile scan;
  scan.Open(odberatele.file().path(), true, false);
  scan.EnableReadAhead(true);
  const int field = scan.RequireField("EXT_KOD");
  const std::string key = odberatele.Translate(code, true);
  std::optional<std::string> best_key;
  uint32_t best = 0;
  for (uint32_t recno = 1; scan.GoTo(recno); ++recno) {
    if (scan.deleted()) continue;
    const std::string_view text = scan.Raw(field);
    if (!text.starts_with(key)) continue;
    if (!best_key || text < *best_key) {
      best_key = std::string(text);
      best = recno;
    }
  }
  if (!best_key) return false;
  odberatele.SetRecNo(best);
  return true;
}

}  // namespace

bool FindCustomer(dbf::DbfDataSet& odberatele, const std::string& code) {
  if (!odberatele.has_index_support()) return ScanForCustomer(odberatele, code);
  return odberatele.FindKey({dbf::SearchValue(code)});
}

}  // namespace accounting
