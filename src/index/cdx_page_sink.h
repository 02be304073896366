#ifndef SALDEX_INDEX_CDX_PAGE_SINK_H_
#define SALDEX_INDEX_CDX_PAGE_SINK_H_

#include <cstdint>

#include "index/cdx_page.h"

namespace idx {

// Where a tag's pages go while it is built: the index file, or a test double.
class CdxPageSink {
 public:
  virtual ~CdxPageSink() = default;
  // Offset of a fresh page at the end of the file.
  virtual uint32_t AllocatePage() = 0;
  // REQUIRES: `offset` came from AllocatePage.
  virtual void WritePage(uint32_t offset, const CdxPage& page) = 0;
};

}  // namespace idx

#endif  // SALDEX_INDEX_CDX_PAGE_SINK_H_
