#ifndef SALDEX_INDEX_CDX_INTERIOR_PAGE_H_
#define SALDEX_INDEX_CDX_INTERIOR_PAGE_H_

// Interior page (512 bytes):
//
//   OFFSET  SIZE  MEANING
//   0x00    2     node attribute: 0 interior, 1 interior root (LE)
//   0x02    2     number of entries, at most 500 div (key length + 8) (LE)
//   0x04    4     offset of the left sibling, -1 if none (LE)
//   0x08    4     offset of the right sibling, -1 if none (LE)
//   0x0C    500   entries of key length + 8 bytes each, then pad bytes:
//                   key length  the key, padded with blanks (C) or zero bytes (N, D)
//                   4           record number (BE)
//                   4           offset of the child page (BE)
//
// An entry holds the highest key of its child page with that key's record number.

#include <cstdint>
#include <string>
#include <vector>

#include "index/cdx_page.h"

namespace idx {

struct InteriorEntry {
  std::string key;  // without trailing pad bytes
  uint32_t record = 0;
  uint32_t child = 0;
  friend bool operator==(const InteriorEntry&, const InteriorEntry&) = default;
};

struct CdxInteriorPage {
  bool root = false;
  uint32_t left = kNoPage;
  uint32_t right = kNoPage;
  std::vector<InteriorEntry> entries;
  friend bool operator==(const CdxInteriorPage&, const CdxInteriorPage&) = default;
};

// 500 div (key length + 8): 27 for a 10-byte key.
size_t MaxInteriorEntries(uint16_t key_length);

// REQUIRES: context.key_length is 1..240, at most MaxInteriorEntries entries, every key at
// most key_length bytes (std::invalid_argument otherwise).
CdxPage EncodeInteriorPage(const CdxInteriorPage& page, const CdxPageContext& context);

// Reads an interior page, checking the attribute, the entry count, the sibling links and
// every child offset; trailing pad bytes are removed from the keys. A bad value raises
// dbf::DbfError "Index file %s is corrupted".
CdxInteriorPage DecodeInteriorPage(const CdxPage& bytes, const CdxPageContext& context);

}  // namespace idx

#endif  // SALDEX_INDEX_CDX_INTERIOR_PAGE_H_
