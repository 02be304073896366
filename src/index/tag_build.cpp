#include "index/tag_build.h"

#include <stdexcept>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "index/cdx_page.h"
#include "index/key_encoding.h"
#include "index/key_sorter.h"
#include "index/tag_builder.h"
#include "index/tag_key_source.h"

namespace idx {
namespace {

constexpr uint16_t kEmptyExpressionKeyLength = 10;

// Switches the table's read-ahead window on for one build and restores the setting.
class ReadAheadScope {
 public:
  explicit ReadAheadScope(dbf::DbfFile& table)
      : table_(table), was_enabled_(table.read_ahead_enabled()) {
    if (!was_enabled_) table_.EnableReadAhead(true);
  }
  ~ReadAheadScope() {
    if (!was_enabled_) table_.EnableReadAhead(false);
  }
  ReadAheadScope(const ReadAheadScope&) = delete;
  ReadAheadScope& operator=(const ReadAheadScope&) = delete;

 private:
  dbf::DbfFile& table_;
  bool was_enabled_;
};

void Report(const BuildProgress& progress, int32_t a, int32_t b, int32_t c) {
  if (progress) progress(a, b, c);
}

// Encoded key of `record`, trailing pad bytes removed.
std::string KeyOfRecord(TagKeySource* key, const TagLayout& layout, const uint8_t* record) {
  if (key == nullptr) return {};
  try {
    return EncodeKey(layout.type, layout.key_length, key->Key(record), /*trim=*/true);
  } catch (const std::invalid_argument&) {
    throw dbf::DbfError("Variant type cannot be sorted");
  }
}

void CollectKeys(dbf::DbfFile& table, TagKeySource* key, TagKeySource* condition,
                 const TagLayout& layout, uint32_t record_count, KeySorter& sorter,
                 const BuildProgress& progress) {
  ReadAheadScope read_ahead(table);
  for (uint32_t recno = 1; recno <= record_count; ++recno) {
    if (!table.GoTo(recno)) break;
    const uint8_t* record = table.record();
    if (condition == nullptr || condition->For(record)) {
      sorter.Add(KeyOfRecord(key, layout, record), recno);
    }
    Report(progress, 1, static_cast<int32_t>(recno), 0);
  }
}

}  // namespace

TagLayout LayoutOf(TagKeySource* key, const uint8_t* record) {
  if (key == nullptr) return {KeyType::kCharacter, kEmptyExpressionKeyLength};
  TagLayout layout;
  layout.type = key->key_type();
  size_t length = 8;
  if (layout.type == KeyType::kCharacter && key->key_length() > 0) {
    length = key->key_length();
  } else if (layout.type == KeyType::kCharacter) {
    const KeyValue value = key->Key(record);
    length = value.kind() == KeyKind::kLogical ? 1 : value.length();
  }
  if (length < 1 || length > kMaxKeyLength) {
    throw dbf::DbfError(dbf::FormatMessage("Sort key length must be 1-%d bytes, is %d",
                                           std::to_string(kMaxKeyLength), std::to_string(length)));
  }
  layout.key_length = static_cast<uint16_t>(length);
  return layout;
}

CdxTagHeader BuildTag(dbf::DbfFile& table, TagKeySource* source, const TagDefinition& definition,
                      const std::string& file_name, CdxPageSink& sink,
                      const BuildProgress& progress) {
  TagKeySource* key = definition.key_expression.empty() ? nullptr : source;
  TagKeySource* condition = definition.for_expression.empty() ? nullptr : source;
  if ((key != nullptr || condition != nullptr) && source == nullptr) {
    throw std::invalid_argument("BuildTag: expressions without a key source");
  }
  const TagLayout layout = LayoutOf(key, table.record());
  const uint32_t record_count = table.record_count();

  KeySorter sorter(
      layout.type == KeyType::kCharacter ? KeySorter::Order::kCollation : KeySorter::Order::kBytes,
      definition.unique);
  Report(progress, -1, 1, static_cast<int32_t>(record_count));
  CollectKeys(table, key, condition, layout, record_count, sorter, progress);
  Report(progress, 0, 0, 0);

  CdxPageContext context;
  context.file_name = file_name;
  context.key_length = layout.key_length;
  context.key_type = layout.type;
  TagBuilder builder(context, record_count, sink);
  Report(progress, -1, 2, static_cast<int32_t>(record_count));
  SortedPair pair;
  for (int32_t n = 1; sorter.Next(&pair); ++n) {
    Report(progress, 2, n, 0);
    builder.Add(pair.key, pair.record);
  }
  CdxTagHeader header;
  header.root_offset = builder.Finish();
  Report(progress, 0, 0, 0);

  header.key_length = layout.key_length;
  header.unique = definition.unique;
  header.descending = definition.descending;
  header.key_expression = definition.key_expression;
  header.for_expression = definition.for_expression;
  return header;
}

}  // namespace idx
