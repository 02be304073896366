// Decodes an arbitrary byte image as a CDX tag header and as a leaf or interior page.
// Input: byte 0 = key length, byte 1 = key type (even: C, odd: N), then the page bytes.
// Every refusal must be the corruption error; a leaf that decodes and fits again must
// encode to a page that decodes to the same entries.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "dbf/errors.h"
#include "index/cdx_interior_page.h"
#include "index/cdx_leaf_page.h"
#include "index/cdx_tag_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  idx::CdxPageContext context{"fuzz.cdx", 1 << 20, data[0],
                              (data[1] & 1) ? idx::KeyType::kNumber : idx::KeyType::kCharacter};
  data += 2;
  size -= 2;

  idx::CdxTagHeaderBytes header{};
  std::copy_n(data, std::min(size, header.size()), header.begin());
  try {
    (void)idx::DecodeTagHeader(header, (context.key_length & 1) != 0, context.file_name,
                               context.file_size);
  } catch (const dbf::DbfError&) {
  }

  idx::CdxPage page{};
  std::copy_n(data, std::min(size, page.size()), page.begin());
  try {
    if (idx::IsLeaf(idx::ReadNodeAttribute(page, context.file_name))) {
      const idx::CdxLeafPage leaf = idx::DecodeLeafPage(page, context);
      const idx::LeafParameters parameters = idx::DecodeLeafParameters(page, context.file_name);
      std::optional<idx::CdxPage> encoded;
      try {
        encoded = idx::EncodeLeafPage(leaf, context, parameters);
      } catch (const std::invalid_argument&) {  // widths too narrow for this encoder's counts
      }
      if (encoded && !(idx::DecodeLeafPage(*encoded, context) == leaf)) std::abort();
    } else {
      const idx::CdxInteriorPage interior = idx::DecodeInteriorPage(page, context);
      if (!(idx::DecodeInteriorPage(idx::EncodeInteriorPage(interior, context), context) ==
            interior)) {
        std::abort();
      }
    }
  } catch (const dbf::DbfError&) {
  }
  return 0;
}
