#ifndef SALDEX_INDEX_TAG_BUILD_H_
#define SALDEX_INDEX_TAG_BUILD_H_

#include <cstdint>
#include <functional>
#include <string>

#include "index/cdx_page_sink.h"
#include "index/cdx_tag_header.h"
#include "index/expression/key_value.h"

namespace dbf {
class DbfFile;
}

namespace idx {

class TagKeySource;

// Progress of a build, (stat1, stat2, stat3):
//   (-1, 1, record count) before the first record is read, (1, recno, 0) after each record,
//   (0, 0, 0) when all are read; (-1, 2, record count) before the tree is written,
//   (2, n, 0) as the n-th pair is taken from the sort, (0, 0, 0) when the tree is finished.
using BuildProgress = std::function<void(int32_t, int32_t, int32_t)>;

struct TagDefinition {
  std::string key_expression;
  std::string for_expression;  // empty: every record
  bool unique = false;
  bool descending = false;
};

// Type and length of a tag's keys as the key source found them (a source that does not know
// the length evaluates the key once on `record`): C keys take the length of the result (a
// logical 1), N and D keys 8; without a key expression C keys of 10. A length outside 1..240 raises
// dbf::DbfError "Sort key length must be 1-240 bytes, is %d".
struct TagLayout {
  KeyType type = KeyType::kCharacter;
  uint16_t key_length = 0;
};
TagLayout LayoutOf(TagKeySource* key, const uint8_t* record);

// Builds the tree of a tag from every record of `table` (read straight from the file through
// the read-ahead window, deleted records included, FOR clause applied) and returns its header
// with the root offset. `source` evaluates the definition's expressions; it is null only when
// the definition has neither. `file_name` names the index file in errors. Expression faults
// raise their ExpressionError; a key that does not fit the tag's type raises dbf::DbfError
// "Variant type cannot be sorted".
CdxTagHeader BuildTag(dbf::DbfFile& table, TagKeySource* source, const TagDefinition& definition,
                      const std::string& file_name, CdxPageSink& sink,
                      const BuildProgress& progress);

}  // namespace idx

#endif  // SALDEX_INDEX_TAG_BUILD_H_
