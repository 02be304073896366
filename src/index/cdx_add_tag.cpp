#include "index/cdx_add_tag.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "dbf/dbf_file.h"
#include "index/cdx_index.h"
#include "index/tag_key_source.h"

namespace idx {
namespace {

// The tree's pages go to the end of the index file. The build holds the file's lock and
// nothing else allocates meanwhile, so after the first page (allocated by the index) the pages
// are handed out consecutively and written in batches of neighbouring pages. A page handed out
// but not yet written reads as zeros until its turn, as a freshly allocated page does; none is
// reachable before the tag's header and directory entry are written after Flush.
class IndexFileSink : public CdxPageSink {
 public:
  explicit IndexFileSink(CdxIndex& index) : index_(index) {}

  uint32_t AllocatePage() override {
    last_ = last_ == 0 ? index_.AllocatePage() : last_ + static_cast<uint32_t>(kCdxPageSize);
    return last_;
  }

  void WritePage(uint32_t offset, const CdxPage& page) override {
    pending_.push_back({offset, page});
    if (pending_.size() == kBatchPages) Flush();
  }

  // Writes every pending page, each run of consecutive offsets with one call.
  void Flush() {
    std::sort(pending_.begin(), pending_.end(),
              [](const Pending& a, const Pending& b) { return a.offset < b.offset; });
    for (size_t first = 0; first < pending_.size();) {
      size_t end = first + 1;
      while (end < pending_.size() &&
             pending_[end].offset == pending_[end - 1].offset + kCdxPageSize) {
        ++end;
      }
      run_.resize((end - first) * kCdxPageSize);
      for (size_t i = first; i < end; ++i) {
        std::memcpy(run_.data() + (i - first) * kCdxPageSize, pending_[i].page.data(),
                    kCdxPageSize);
      }
      index_.WritePages(pending_[first].offset, run_.data(), end - first);
      first = end;
    }
    pending_.clear();
  }

 private:
  static constexpr size_t kBatchPages = 128;
  struct Pending {
    uint32_t offset;
    CdxPage page;
  };

  CdxIndex& index_;
  uint32_t last_ = 0;
  std::vector<Pending> pending_;
  std::vector<uint8_t> run_;
};

}  // namespace

CdxTag& AddTag(CdxIndex& index, const std::string& name, const TagDefinition& definition,
               const BuildProgress& progress) {
  // Expressions that do not fit into a header are refused before anything changes.
  CdxTagHeader probe;
  probe.key_expression = definition.key_expression;
  probe.for_expression = definition.for_expression;
  EncodeTagHeader(probe);

  // Expressions that do not compile, and a key whose type cannot be found, are refused before
  // anything changes too.
  std::unique_ptr<TagKeySource> source;
  if (!definition.key_expression.empty() || !definition.for_expression.empty()) {
    if (index.key_sources() == nullptr) {
      throw std::invalid_argument("AddTag: index opened without key sources");
    }
    source = index.key_sources()->Make(definition.key_expression, definition.for_expression);
    source->RequireKeyType();
  }

  index.RemoveTagFromDirectory(name);
  const uint32_t header_offset = index.AllocateHeader();
  IndexFileSink sink(index);
  const CdxTagHeader header =
      BuildTag(*index.table(), source.get(), definition, index.path(), sink, progress);
  sink.Flush();
  index.WriteTagHeader(header_offset, header);
  return index.AddTagToDirectory(name, header_offset);
}

}  // namespace idx
