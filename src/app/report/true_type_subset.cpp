#include "app/report/true_type_subset.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace app {
namespace {

// Composite glyph component flags.
constexpr uint16_t kArgsAreWords = 0x0001;
constexpr uint16_t kHaveScale = 0x0008;
constexpr uint16_t kMoreComponents = 0x0020;
constexpr uint16_t kHaveXYScale = 0x0040;
constexpr uint16_t kHaveTwoByTwo = 0x0080;

[[noreturn]] void Damaged(const std::string& what) {
  throw std::runtime_error("Damaged TrueType font: " + what);
}

uint32_t U16(const std::string& data, size_t offset) {
  if (offset + 2 > data.size()) Damaged("read beyond a table");
  return static_cast<uint32_t>(static_cast<uint8_t>(data[offset]) << 8 |
                               static_cast<uint8_t>(data[offset + 1]));
}

int I16(const std::string& data, size_t offset) {
  return static_cast<int16_t>(U16(data, offset));
}

uint32_t U32(const std::string& data, size_t offset) {
  return U16(data, offset) << 16 | U16(data, offset + 2);
}

void PutU16(std::string& data, size_t offset, uint32_t value) {
  data[offset] = static_cast<char>(value >> 8);
  data[offset + 1] = static_cast<char>(value);
}

void PutU32(std::string& data, size_t offset, uint32_t value) {
  PutU16(data, offset, value >> 16);
  PutU16(data, offset + 2, value & 0xFFFF);
}

void AppendU16(std::string& data, uint32_t value) {
  data += static_cast<char>(value >> 8);
  data += static_cast<char>(value);
}

void AppendU32(std::string& data, uint32_t value) {
  AppendU16(data, value >> 16);
  AppendU16(data, value & 0xFFFF);
}

uint32_t Checksum(const std::string& data) {
  uint32_t sum = 0;
  for (size_t i = 0; i < data.size(); i += 4) {
    uint32_t word = 0;
    for (size_t k = 0; k < 4; ++k) {
      word = word << 8 | (i + k < data.size() ? static_cast<uint8_t>(data[i + k]) : 0);
    }
    sum += word;
  }
  return sum;
}

// The PostScript name (name id 6): a Windows Unicode entry (UTF-16BE, kept
// when ASCII) or a Macintosh Roman one.
std::string PostScriptName(const std::string& name) {
  if (name.size() < 6) return {};
  const uint32_t count = U16(name, 2);
  const uint32_t strings = U16(name, 4);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t record = 6 + i * 12;
    if (U16(name, record + 6) != 6) continue;
    const uint32_t platform = U16(name, record);
    const uint32_t length = U16(name, record + 8);
    const size_t offset = strings + U16(name, record + 10);
    if (offset + length > name.size()) Damaged("name table");
    std::string text;
    if (platform == 3) {
      for (size_t k = 0; k + 1 < length; k += 2) {
        const uint32_t c = U16(name, offset + k);
        if (c > 0x20 && c < 0x7F) text += static_cast<char>(c);
      }
    } else if (platform == 1) {
      for (size_t k = 0; k < length; ++k) {
        const char c = name[offset + k];
        if (c > 0x20 && c < 0x7F) text += c;
      }
    }
    if (!text.empty()) return text;
  }
  return {};
}

}  // namespace

TrueTypeFont::TrueTypeFont(const TableSource& tables)
    : head_(tables("head")),
      hhea_(tables("hhea")),
      maxp_(tables("maxp")),
      hmtx_(tables("hmtx")),
      loca_(tables("loca")),
      glyf_(tables("glyf")),
      cvt_(tables("cvt ")),
      fpgm_(tables("fpgm")),
      prep_(tables("prep")) {
  if (head_.size() < 54 || hhea_.size() < 36 || maxp_.size() < 6 || glyf_.empty()) {
    Damaged("a required table is missing");
  }
  units_per_em_ = static_cast<int>(U16(head_, 18));
  if (units_per_em_ < 16) Damaged("units per em");
  for (int i = 0; i < 4; ++i) bbox_[i] = I16(head_, 36 + 2 * i);
  long_offsets_ = I16(head_, 50) == 1;
  ascender_ = I16(hhea_, 4);
  descender_ = I16(hhea_, 6);
  h_metrics_ = static_cast<int>(U16(hhea_, 34));
  glyph_count_ = static_cast<int>(U16(maxp_, 4));
  if (h_metrics_ < 1 || h_metrics_ > glyph_count_ ||
      hmtx_.size() < static_cast<size_t>(h_metrics_) * 4) {
    Damaged("horizontal metrics");
  }
  if (loca_.size() < static_cast<size_t>(glyph_count_ + 1) * (long_offsets_ ? 4 : 2)) {
    Damaged("glyph locations");
  }
  postscript_name_ = PostScriptName(tables("name"));
  kern_ = tables("kern");
  if (kern_.size() >= 4 && U16(kern_, 0) == 0) {
    size_t at = 4;
    for (uint32_t n = U16(kern_, 2); n > 0 && at + 14 <= kern_.size(); --n) {
      const uint32_t length = U16(kern_, at + 2);
      const uint32_t coverage = U16(kern_, at + 4);
      // Format 0, horizontal, not minimum values, not cross-stream.
      if ((coverage & 0xFF07) == 0x0001) {
        const size_t pairs = U16(kern_, at + 6);
        if (at + 14 + pairs * 6 > kern_.size()) Damaged("kerning pairs");
        kern_pairs_.emplace_back(at + 14, pairs);
      }
      if (length < 6) break;
      at += length;
    }
  }
}

int TrueTypeFont::Kerning(uint16_t left, uint16_t right) const {
  const uint32_t key = static_cast<uint32_t>(left) << 16 | right;
  int value = 0;
  for (const auto& [offset, count] : kern_pairs_) {
    size_t low = 0, high = count;
    while (low < high) {
      const size_t mid = (low + high) / 2;
      const uint32_t pair = U32(kern_, offset + mid * 6);
      if (pair == key) {
        value += I16(kern_, offset + mid * 6 + 4);
        break;
      }
      if (pair < key) {
        low = mid + 1;
      } else {
        high = mid;
      }
    }
  }
  return value;
}

int TrueTypeFont::Advance(uint16_t glyph) const {
  if (glyph >= glyph_count_) return 0;
  return static_cast<int>(
      U16(hmtx_, 4 * static_cast<size_t>(std::min<int>(glyph, h_metrics_ - 1))));
}

std::string TrueTypeFont::GlyphData(uint16_t glyph) const {
  if (glyph >= glyph_count_) Damaged("glyph id");
  const size_t begin = long_offsets_ ? U32(loca_, glyph * 4u) : U16(loca_, glyph * 2u) * 2;
  const size_t end =
      long_offsets_ ? U32(loca_, (glyph + 1u) * 4u) : U16(loca_, (glyph + 1u) * 2u) * 2;
  if (begin > end || end > glyf_.size()) Damaged("glyph location");
  return glyf_.substr(begin, end - begin);
}

std::string TrueTypeFont::Subset(const std::vector<uint16_t>& glyphs) const {
  // Old glyph id -> new one, in order of first appearance; composites pull
  // their components in after the glyphs asked for.
  std::vector<uint16_t> order{0};
  std::map<uint16_t, uint16_t> renumbered{{0, 0}};
  auto add = [&](uint16_t glyph) {
    if (renumbered.emplace(glyph, static_cast<uint16_t>(order.size())).second) {
      order.push_back(glyph);
    }
  };
  for (const uint16_t glyph : glyphs) add(glyph);

  std::string glyf;
  std::string loca;
  for (size_t i = 0; i < order.size(); ++i) {  // `order` grows while walked
    std::string data = GlyphData(order[i]);
    if (data.size() >= 10 && I16(data, 0) < 0) {
      size_t at = 10;
      for (uint16_t flags = kMoreComponents; flags & kMoreComponents;) {
        flags = static_cast<uint16_t>(U16(data, at));
        const auto component = static_cast<uint16_t>(U16(data, at + 2));
        if (component >= glyph_count_) Damaged("composite glyph component");
        add(component);
        PutU16(data, at + 2, renumbered.at(component));
        at += 4 + ((flags & kArgsAreWords) ? 4 : 2);
        if (flags & kHaveScale) at += 2;
        if (flags & kHaveXYScale) at += 4;
        if (flags & kHaveTwoByTwo) at += 8;
        if (at > data.size()) Damaged("composite glyph");
      }
    }
    AppendU32(loca, static_cast<uint32_t>(glyf.size()));
    glyf += data;
    glyf.resize((glyf.size() + 3) & ~size_t{3}, '\0');
  }
  AppendU32(loca, static_cast<uint32_t>(glyf.size()));

  std::string hmtx;
  for (const uint16_t glyph : order) {
    AppendU16(hmtx, static_cast<uint32_t>(Advance(glyph)));
    const size_t lsb =
        glyph < h_metrics_ ? glyph * 4u + 2 : h_metrics_ * 4u + (glyph - h_metrics_) * 2u;
    AppendU16(hmtx, lsb + 2 <= hmtx_.size() ? U16(hmtx_, lsb) : 0);
  }
  const auto count = static_cast<uint32_t>(order.size());
  std::string head = head_, hhea = hhea_, maxp = maxp_;
  PutU32(head, 8, 0);   // checkSumAdjustment, set below
  PutU16(head, 50, 1);  // long glyph locations
  PutU16(hhea, 34, count);
  PutU16(maxp, 4, count);

  // Table directory, tags in ascending order.
  std::map<std::string, const std::string*> tables = {{"glyf", &glyf}, {"head", &head},
                                                      {"hhea", &hhea}, {"hmtx", &hmtx},
                                                      {"loca", &loca}, {"maxp", &maxp}};
  if (!cvt_.empty()) tables["cvt "] = &cvt_;
  if (!fpgm_.empty()) tables["fpgm"] = &fpgm_;
  if (!prep_.empty()) tables["prep"] = &prep_;
  const auto table_count = static_cast<uint32_t>(tables.size());
  uint32_t power = 1, log2 = 0;
  while (power * 2 <= table_count) {
    power *= 2;
    ++log2;
  }
  std::string file;
  AppendU32(file, 0x00010000);
  AppendU16(file, table_count);
  AppendU16(file, power * 16);
  AppendU16(file, log2);
  AppendU16(file, table_count * 16 - power * 16);
  size_t offset = 12 + tables.size() * 16;
  size_t head_offset = 0;
  for (const auto& [tag, data] : tables) {
    file += tag;
    AppendU32(file, Checksum(*data));
    AppendU32(file, static_cast<uint32_t>(offset));
    AppendU32(file, static_cast<uint32_t>(data->size()));
    if (tag == "head") head_offset = offset;
    offset += (data->size() + 3) & ~size_t{3};
  }
  for (const auto& [tag, data] : tables) {
    file += *data;
    file.resize((file.size() + 3) & ~size_t{3}, '\0');
  }
  PutU32(file, head_offset + 8, 0xB1B0AFBAu - Checksum(file));
  return file;
}

}  // namespace app
