#ifndef SALDEX_INDEX_CDX_ADD_TAG_H_
#define SALDEX_INDEX_CDX_ADD_TAG_H_

#include <string>

#include "index/tag_build.h"

namespace idx {

class CdxIndex;
class CdxTag;

// Adds the tag `name` (upper-cased) to `index` and builds it from every record of the index's
// table: an existing tag of that name loses its directory entry (its pages stay unused), two
// pages are allocated for the new header and written as zeros, the tree is built, the header
// written and the directory entry inserted. Expression errors and sort errors leave the old
// entry removed and the new header zero. REQUIRES: index.table() is open.
CdxTag& AddTag(CdxIndex& index, const std::string& name, const TagDefinition& definition,
               const BuildProgress& progress);

}  // namespace idx

#endif  // SALDEX_INDEX_CDX_ADD_TAG_H_
