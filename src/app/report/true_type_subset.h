#ifndef SALDEX_APP_REPORT_TRUE_TYPE_SUBSET_H_
#define SALDEX_APP_REPORT_TRUE_TYPE_SUBSET_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace app {

// The parts of a TrueType font (glyf outlines) that a PDF embedding needs:
// metrics for the font descriptor and widths, and a subset font file.
//
// Tables read (all integers big-endian):
//   head  unitsPerEm u16 @18, xMin..yMax i16 @36..42, indexToLocFormat i16 @50
//   hhea  ascender i16 @4, descender i16 @6, numberOfHMetrics u16 @34
//   maxp  numGlyphs u16 @4
//   hmtx  numberOfHMetrics x (advance u16, lsb i16), then lsb i16 for the rest
//   loca  numGlyphs + 1 offsets into glyf: u16 x 2 (format 0) or u32 (format 1)
//   glyf  glyph outlines; numberOfContours i16 @0 < 0 marks a composite,
//         whose components follow the 10-byte glyph header as
//         flags u16, glyphIndex u16, arguments, optional scale
//   name  PostScript name (name id 6)
//   kern  version u16, nTables u16; per subtable version u16, length u16,
//         coverage u16 (format in the high byte, bit 0 horizontal, bit 1
//         minimum, bit 2 cross-stream), then for format 0: nPairs u16 and
//         three more u16, then nPairs x (left u16, right u16, value i16)
//         sorted by left and right
// Every offset and length read is checked; a font that breaks them raises
// std::runtime_error.
class TrueTypeFont {
 public:
  // Table bytes by tag; empty when the font has no such table.
  using TableSource = std::function<std::string(const char* tag)>;

  explicit TrueTypeFont(const TableSource& tables);

  int units_per_em() const { return units_per_em_; }
  int ascender() const { return ascender_; }
  int descender() const { return descender_; }
  // xMin, yMin, xMax, yMax in font units.
  const int* bounding_box() const { return bbox_; }
  int glyph_count() const { return glyph_count_; }
  // Advance width in font units; 0 for a glyph id outside the font.
  int Advance(uint16_t glyph) const;
  // Horizontal kerning of the glyph pair in font units (format 0 subtables
  // of the kern table, summed); 0 when the font kerns it not.
  int Kerning(uint16_t left, uint16_t right) const;
  // The name id 6 entry, or "" when the font has none.
  const std::string& postscript_name() const { return postscript_name_; }

  // A font file holding glyph 0 and `glyphs` (as new glyph ids 1, 2, ...
  // in this order), then the components of composite glyphs; composite
  // references are renumbered. Hinting tables are kept as they are.
  std::string Subset(const std::vector<uint16_t>& glyphs) const;

 private:
  std::string GlyphData(uint16_t glyph) const;

  std::string head_, hhea_, maxp_, hmtx_, loca_, glyf_, cvt_, fpgm_, prep_;
  int units_per_em_ = 1000;
  int ascender_ = 0;
  int descender_ = 0;
  int bbox_[4] = {0, 0, 0, 0};
  int glyph_count_ = 0;
  int h_metrics_ = 0;
  bool long_offsets_ = false;
  std::string postscript_name_;
  std::string kern_;
  std::vector<std::pair<size_t, size_t>> kern_pairs_;  // offset and count per subtable
};

}  // namespace app

#endif  // SALDEX_APP_REPORT_TRUE_TYPE_SUBSET_H_
