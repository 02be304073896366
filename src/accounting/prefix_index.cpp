#include "accounting/prefix_index.h"

namespace accounting {

PrefixIndex::PrefixIndex(const dbf::DbfDataSet& table, const std::string& field_name)
    : table_(table) {
  file_.Open(table.file().path(), /*shared=*/true, /*read_write=*/false);
  field_ = file_.RequireField(field_name);
  file_.EnableReadAhead(true);
  CatchUp();
  // Later catch-ups read a few records at the end, written meanwhile.
  file_.EnableReadAhead(false);
}

void PrefixIndex::CatchUp() {
  file_.RefreshHeader();
  const uint32_t count = file_.record_count();
  for (uint32_t recno = indexed_ + 1; recno <= count; ++recno) {
    if (!file_.GoTo(recno)) break;
    indexed_ = recno;
    if (file_.deleted() && !table_.use_deleted()) continue;
    // emplace keeps the first (lowest) record number of a text.
    first_record_.emplace(file_.GetString(field_), recno);
  }
}

std::string PrefixIndex::KeyText(std::string_view value) {
  file_.BlankRecord();
  file_.PutString(field_, table_.Translate(value, /*to_oem=*/true));
  return file_.GetString(field_);
}

std::optional<uint32_t> PrefixIndex::FirstMatch(std::string_view value) {
  const std::string key = KeyText(value);
  CatchUp();
  std::optional<uint32_t> first;
  // Texts beginning with `key` sort together, starting at `key` itself.
  for (auto it = first_record_.lower_bound(key);
       it != first_record_.end() && it->first.compare(0, key.size(), key) == 0; ++it) {
    if (!first || it->second < *first) first = it->second;
  }
  return first;
}

}  // namespace accounting
