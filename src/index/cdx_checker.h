#ifndef SALDEX_INDEX_CDX_CHECKER_H_
#define SALDEX_INDEX_CDX_CHECKER_H_

#include <string>
#include <vector>

namespace dbf {
class DbfFile;
}

namespace idx {

class CdxIndex;

struct CdxCheckReport {
  std::vector<std::string> faults;  // damage: each one makes the file unsound
  std::vector<std::string> notes;   // harmless findings (pages no tag uses any more)
  bool clean() const { return faults.empty(); }
};

// Verifies every tag of `index` (the StructureTag included): that each page decodes and has
// the right attribute, that no page is reached twice, that all leaves lie at one depth, that
// keys stand in collation order (equal keys by record number), that every interior key is the
// last key of its child, that the sibling links of each level chain the pages left to right,
// and that a unique tag holds no key twice. With `table` (and key sources on the tags) it also
// compares each tag with the records: every record whose FOR clause holds must be there under
// its current key, and no other entry. Reads only; the caller holds the index lock.
CdxCheckReport CheckCdx(CdxIndex& index, dbf::DbfFile* table);

}  // namespace idx

#endif  // SALDEX_INDEX_CDX_CHECKER_H_
