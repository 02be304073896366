#include "index/cdx_add_tag.h"

#include <memory>

#include "dbf/dbf_file.h"
#include "index/cdx_index.h"
#include "index/tag_key_source.h"

namespace idx {
namespace {

// The tree's pages go to the end of the index file.
class IndexFileSink : public CdxPageSink {
 public:
  explicit IndexFileSink(CdxIndex& index) : index_(index) {}
  uint32_t AllocatePage() override { return index_.AllocatePage(); }
  void WritePage(uint32_t offset, const CdxPage& page) override { index_.WritePage(offset, page); }

 private:
  CdxIndex& index_;
};

}  // namespace

CdxTag& AddTag(CdxIndex& index, const std::string& name, const TagDefinition& definition,
               const BuildProgress& progress) {
  // Expressions that do not fit into a header are refused before anything changes.
  CdxTagHeader probe;
  probe.key_expression = definition.key_expression;
  probe.for_expression = definition.for_expression;
  EncodeTagHeader(probe);

  index.RemoveTagFromDirectory(name);
  const uint32_t header_offset = index.AllocateHeader();

  std::unique_ptr<TagKeySource> source;
  if (!definition.key_expression.empty() || !definition.for_expression.empty()) {
    if (index.key_sources() == nullptr) {
      throw std::invalid_argument("AddTag: index opened without key sources");
    }
    source = index.key_sources()->Make(definition.key_expression, definition.for_expression);
  }
  IndexFileSink sink(index);
  const CdxTagHeader header =
      BuildTag(*index.table(), source.get(), definition, index.path(), sink, progress);
  index.WriteTagHeader(header_offset, header);
  return index.AddTagToDirectory(name, header_offset);
}

}  // namespace idx
