#include "dbf/charset_tables.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace dbf {
namespace {

constexpr uint8_t kReplacement = '?';
constexpr int kFirstTranslated = 33;  // bytes 0..32 always map to themselves
constexpr int kUnassigned = -1;

bool IsAssigned(const std::array<char16_t, 256>& map, int byte) {
  return byte == 0 || map[byte] != 0;
}

// Code point -> byte of one code page, sorted by code point for binary search.
class ReverseMap {
 public:
  explicit ReverseMap(const std::array<char16_t, 256>& map) {
    for (int byte = 0; byte < 256; ++byte) {
      if (IsAssigned(map, byte)) entries_.emplace_back(map[byte], static_cast<uint8_t>(byte));
    }
    std::sort(entries_.begin(), entries_.end());
  }

  // The byte holding `code_point`, or '?' when the code page has no such character.
  uint8_t Find(char32_t code_point) const {
    auto it = std::lower_bound(entries_.begin(), entries_.end(),
                               std::pair<char32_t, uint8_t>(code_point, 0));
    if (it == entries_.end() || it->first != code_point) return kReplacement;
    return it->second;
  }

 private:
  std::vector<std::pair<char32_t, uint8_t>> entries_;
};

const ReverseMap& Reverse852() {
  static const ReverseMap map(Cp852ToUnicode());
  return map;
}

const ReverseMap& Reverse1250() {
  static const ReverseMap map(Cp1250ToUnicode());
  return map;
}

std::array<uint8_t, 256> Convert(const std::array<char16_t, 256>& from, const ReverseMap& to) {
  std::array<uint8_t, 256> result{};
  for (int byte = 0; byte < 256; ++byte) {
    result[byte] = IsAssigned(from, byte) ? to.Find(from[byte]) : kReplacement;
  }
  return result;
}

void AppendUtf8(char32_t code_point, std::string& out) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

std::string ToUtf8(std::string_view text, const std::array<char16_t, 256>& map) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<uint8_t>(c);
    AppendUtf8(IsAssigned(map, byte) ? map[byte] : kReplacement, out);
  }
  return out;
}

// Decodes one UTF-8 sequence at `pos` and advances past it. An ill-formed sequence
// (overlong form, surrogate, beyond U+10FFFF, missing continuation byte) yields nothing and
// advances past its longest valid beginning, at least one byte, so each fault becomes one '?'.
std::optional<char32_t> DecodeUtf8(std::string_view text, size_t& pos) {
  const auto lead = static_cast<uint8_t>(text[pos++]);
  if (lead < 0x80) return lead;
  int continuation = 0;
  uint8_t low = 0x80, high = 0xBF;  // allowed range of the first continuation byte
  char32_t code_point = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    continuation = 1;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    continuation = 2;
    code_point = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    continuation = 3;
    code_point = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return std::nullopt;
  }
  for (int i = 0; i < continuation; ++i) {
    if (pos >= text.size()) return std::nullopt;
    const auto byte = static_cast<uint8_t>(text[pos]);
    if (byte < low || byte > high) return std::nullopt;
    code_point = (code_point << 6) | (byte & 0x3F);
    ++pos;
    low = 0x80;
    high = 0xBF;
  }
  return code_point;
}

std::string FromUtf8(std::string_view text, const ReverseMap& map) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    const std::optional<char32_t> code_point = DecodeUtf8(text, pos);
    out += static_cast<char>(code_point ? map.Find(*code_point) : kReplacement);
  }
  return out;
}

}  // namespace

// The platform conversion (CharToOemBuff / OemToCharBuff): a byte goes through its Unicode
// character into the other code page. A byte unassigned in its own code page, or whose
// character the other code page lacks, becomes the default character '?' (a best-fit
// substitute would not change the translation tables: it never converts back to the byte).
std::array<uint8_t, 256> PlatformAnsiToOem() {
  return Convert(Cp1250ToUnicode(), Reverse852());
}
std::array<uint8_t, 256> PlatformOemToAnsi() {
  return Convert(Cp852ToUnicode(), Reverse1250());
}

CharsetTables CharsetTables::Build(const std::array<uint8_t, 256>& platform_ansi_to_oem,
                                   const std::array<uint8_t, 256>& platform_oem_to_ansi) {
  std::array<int, 256> a;
  std::array<bool, 256> taken{};  // values held by a[33..255]
  for (int c = 0; c < kFirstTranslated; ++c) a[c] = c;
  // Where the platform converts a byte there and back unchanged, keep its conversion.
  // A conversion into 0..32 is not kept: those bytes are fixed, so it could not be undone.
  for (int c = kFirstTranslated; c < 256; ++c) {
    const uint8_t x = platform_ansi_to_oem[c];
    const uint8_t y = platform_oem_to_ansi[x];
    a[c] = (y == c && x >= kFirstTranslated) ? x : kUnassigned;
    if (a[c] != kUnassigned) taken[a[c]] = true;
  }
  // A byte without a round trip keeps its own value while no other byte holds it ...
  for (int c = kFirstTranslated; c < 256; ++c) {
    if (a[c] == kUnassigned && !taken[c]) {
      a[c] = c;
      taken[c] = true;
    }
  }
  // ... otherwise it gets the smallest value still free.
  int next_free = kFirstTranslated;
  for (int c = kFirstTranslated; c < 256; ++c) {
    if (a[c] != kUnassigned) continue;
    while (taken[next_free]) ++next_free;
    a[c] = next_free;
    taken[next_free] = true;
  }

  CharsetTables tables;
  for (int c = 0; c < 256; ++c) tables.ansi_to_oem_[c] = static_cast<uint8_t>(a[c]);
  for (int c = 0; c < 256; ++c) tables.oem_to_ansi_[c] = static_cast<uint8_t>(c);
  // B[c] = the smallest i with A[i] = c: walk downwards so the smallest i is written last.
  for (int i = 255; i >= 0; --i) {
    if (a[i] >= kFirstTranslated) tables.oem_to_ansi_[a[i]] = static_cast<uint8_t>(i);
  }
  return tables;
}

const CharsetTables& CharsetTables::Get() {
  static const CharsetTables tables = Build(PlatformAnsiToOem(), PlatformOemToAnsi());
  return tables;
}

void CharsetTables::Translate(const char* source, char* destination, size_t length, bool to_oem,
                              bool translate) const {
  const std::array<uint8_t, 256>& table = to_oem ? ansi_to_oem_ : oem_to_ansi_;
  for (size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<uint8_t>(source[i]);
    destination[i] = static_cast<char>(translate ? table[byte] : byte);
  }
}

std::string CharsetTables::ToOem(std::string_view ansi) const {
  std::string out(ansi.size(), '\0');
  Translate(ansi.data(), out.data(), ansi.size(), true);
  return out;
}

std::string CharsetTables::ToAnsi(std::string_view oem) const {
  std::string out(oem.size(), '\0');
  Translate(oem.data(), out.data(), oem.size(), false);
  return out;
}

std::string Cp1250ToUtf8(std::string_view text) {
  return ToUtf8(text, Cp1250ToUnicode());
}
std::string Utf8ToCp1250(std::string_view text) {
  return FromUtf8(text, Reverse1250());
}
std::string Cp852ToUtf8(std::string_view text) {
  return ToUtf8(text, Cp852ToUnicode());
}
std::string Utf8ToCp852(std::string_view text) {
  return FromUtf8(text, Reverse852());
}

}  // namespace dbf
