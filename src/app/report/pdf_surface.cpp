#include "app/report/pdf_surface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRawFont>
#include <array>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "app/report/painter_surface.h"
#include "app/report/true_type_subset.h"
#include "dbf/charset_tables.h"

namespace app {
namespace {

// The resolution whose font metrics lay the pages out: QPdfWriter's.
constexpr int kLayoutDpi = 1200;
constexpr double kPointsPerCm = 72 / 2.54;

long Hundredths(double points) {
  return std::lround(points * 100);
}

std::string Hex2(unsigned value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4 & 15], kDigits[value & 15]};
}

std::string Hex4(unsigned value) {
  return Hex2(value >> 8) + Hex2(value & 0xFF);
}

constexpr const char* kIdentity =
    "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>";

// One string byte is one CID: code n is CID n.
constexpr const char* kOneByteCMap =
    "/CIDInit/ProcSet findresource begin 12 dict begin begincmap\n"
    "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>def\n"
    "/CMapName/Saldex-OneByte-Identity def/CMapType 1 def\n"
    "1 begincodespacerange <00><FF> endcodespacerange\n"
    "1 begincidrange <00><FF>0 endcidrange\n"
    "endcmap CMapName currentdict/CMap defineresource pop end end\n";

}  // namespace

// One TrueType file embedded as a Type 0 font, with the characters used.
struct PdfSurface::EmbeddedFont {
  EmbeddedFont(const QRawFont& raw, int number)
      : ttf([&raw](const char* tag) {
          const QByteArray table = raw.fontTable(tag);
          return std::string(table.constData(), static_cast<size_t>(table.size()));
        }),
        resource("/F" + std::to_string(number)) {
    for (unsigned byte = 0x20; byte < 256; ++byte) {
      const QString text =
          QString::fromStdString(dbf::Cp1250ToUtf8(std::string(1, static_cast<char>(byte))));
      if (text.size() != 1) continue;
      const QList<quint32> glyphs = raw.glyphIndexesForString(text);
      if (glyphs.size() != 1 || glyphs[0] >= static_cast<quint32>(ttf.glyph_count())) continue;
      glyph[byte] = static_cast<uint16_t>(glyphs[0]);
      unicode[byte] = text[0].unicode();
    }
    for (unsigned left = 0; left < 256; ++left) {
      if (glyph[left] == 0) continue;
      for (unsigned right = 0; right < 256; ++right) {
        if (glyph[right] != 0)
          kerning[left << 8 | right] = static_cast<int16_t>(ttf.Kerning(glyph[left], glyph[right]));
      }
    }
  }
  TrueTypeFont ttf;
  std::string resource;
  std::array<uint16_t, 256> glyph{};    // by code page 1250 byte; 0 none
  std::array<uint16_t, 256> unicode{};  // by code page 1250 byte
  std::array<bool, 256> used{};
  std::vector<int16_t> kerning = std::vector<int16_t>(1 << 16);  // font units, by byte pair
  int type0 = 0;
};

// A font at one size.
struct PdfSurface::Face {
  EmbeddedFont* font;
  std::string select;               // "/F1 9 Tf\n"
  double line_height;               // cm
  double ascent;                    // cm
  std::array<double, 256> width{};  // cm, by code page 1250 byte
  double unit;                      // cm per font unit
};

PdfSurface::PdfSurface(const std::string& path, const QString& title)
    : document_(path),
      catalog_(document_.Reserve()),
      pages_root_(document_.Reserve()),
      resources_(document_.Reserve()),
      info_(document_.Reserve()),
      title_(title),
      content_("BT\n") {}

PdfSurface::~PdfSurface() = default;

PdfSurface::EmbeddedFont& PdfSurface::FontFor(const QFont& qfont) {
  const QRawFont raw = QRawFont::fromFont(qfont);
  if (!raw.isValid()) throw std::runtime_error("No font for " + qfont.family().toStdString());
  const std::string key = (raw.familyName() + '|' + raw.styleName()).toStdString();
  std::unique_ptr<EmbeddedFont>& font = fonts_[key];
  if (!font) font = std::make_unique<EmbeddedFont>(raw, static_cast<int>(fonts_.size()));
  return *font;
}

PdfSurface::Face& PdfSurface::Use(const reports::ReportFont& font) {
  if (last_face_ != nullptr && font.size == last_size_ && font.name == last_name_) {
    return *last_face_;
  }
  char size[32];
  std::snprintf(size, sizeof size, "|%.17g", font.size);
  const std::string key = font.name + size;
  std::unique_ptr<Face>& face = faces_[key];
  if (!face) {
    const QFont qfont = ReportQFont(font);
    static MetricsDevice layout_device(kLayoutDpi);
    const QFontMetricsF metrics(qfont, &layout_device);
    EmbeddedFont& embedded = FontFor(qfont);
    face = std::make_unique<Face>();
    face->font = &embedded;
    face->select = embedded.resource + ' ';
    AppendHundredths(face->select, Hundredths(font.size));
    face->select += " Tf\n";
    face->line_height = metrics.lineSpacing() * 2.54 / kLayoutDpi;
    face->ascent = metrics.ascent() * 2.54 / kLayoutDpi;
    const double scale = font.size / kPointsPerCm / embedded.ttf.units_per_em();
    face->unit = scale;
    for (int byte = 0; byte < 256; ++byte) {
      face->width[byte] = embedded.ttf.Advance(embedded.glyph[byte]) * scale;
    }
  }
  last_name_ = font.name;
  last_size_ = font.size;
  last_face_ = face.get();
  return *face;
}

double PdfSurface::LineHeight(const reports::ReportFont& font) {
  return Use(font).line_height;
}

double PdfSurface::TextWidth(const reports::ReportFont& font, const std::string& text) {
  const Face& face = Use(font);
  const int16_t* kerning = face.font->kerning.data();
  double width = 0;
  int kerned = 0;
  unsigned previous = 0;  // no glyph kerns with byte 0
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    width += face.width[byte];
    kerned += kerning[previous << 8 | byte];
    previous = byte;
  }
  return width + kerned * face.unit;
}

void PdfSurface::DrawText(const reports::ReportFont& font, double x, double top,
                          const std::string& text) {
  Face& face = Use(font);
  if (&face != content_face_) {
    content_ += face.select;
    content_face_ = &face;
  }
  for (const char c : text) face.font->used[static_cast<unsigned char>(c)] = true;
  // Td moves relative to the previous line origin; whole hundredths of a
  // point, so the positions do not drift.
  const long px = Hundredths(x * kPointsPerCm);
  const long py = Hundredths((kPageHeight - top - face.ascent) * kPointsPerCm);
  AppendHundredths(content_, px - last_x_);
  content_ += ' ';
  AppendHundredths(content_, py - last_y_);
  content_ += " Td";
  AppendText(content_, *face.font, text);
  last_x_ = px;
  last_y_ = py;
}

void PdfSurface::AppendText(std::string& out, const EmbeddedFont& font, const std::string& text) {
  // Kerned pairs are drawn with a TJ array: a number there moves the next
  // glyph left by thousandths of the font size.
  const int16_t* kerning = font.kerning.data();
  const double em = font.ttf.units_per_em();
  unsigned previous = 0;
  size_t run = 0;
  bool array = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const int kern = kerning[previous << 8 | byte];
    previous = byte;
    if (kern == 0) continue;
    if (!array) out += '[';
    array = true;
    AppendPdfString(out, std::string_view(text).substr(run, i - run));
    out += std::to_string(std::lround(-kern * 1000 / em));
    run = i;
  }
  AppendPdfString(out, std::string_view(text).substr(run));
  out += array ? "]TJ\n" : "Tj\n";
}

void PdfSurface::WritePage() {
  content_ += "ET\n";
  const int contents = document_.Reserve();
  document_.Stream(contents, "", content_);
  const int page = document_.Reserve();
  document_.Object(page, "<</Type/Page/Parent " + std::to_string(pages_root_) + " 0 R/Resources " +
                             std::to_string(resources_) +
                             " 0 R/MediaBox[0 0 841.89 595.28]/Contents " +
                             std::to_string(contents) + " 0 R>>");
  pages_.push_back(page);
  content_ = "BT\n";
  content_face_ = nullptr;
  last_x_ = last_y_ = 0;
}

void PdfSurface::NewPage() {
  WritePage();
}

void PdfSurface::WriteFont(EmbeddedFont& font) {
  // The subset: the glyphs of the characters used, in code order.
  std::vector<uint16_t> glyphs;
  std::array<uint16_t, 256> cid_to_glyph{};
  std::map<uint16_t, uint16_t> renumbered{{0, 0}};
  uint32_t hash = 2166136261u;
  for (unsigned byte = 0; byte < 256; ++byte) {
    if (!font.used[byte]) continue;
    const uint16_t glyph = font.glyph[byte];
    auto [it, added] = renumbered.emplace(glyph, static_cast<uint16_t>(glyphs.size() + 1));
    if (added) glyphs.push_back(glyph);
    cid_to_glyph[byte] = it->second;
    hash = (hash ^ byte) * 16777619u;
  }
  // Subset fonts are named with six capital letters and "+".
  std::string name;
  for (int i = 0; i < 6; ++i, hash /= 26) name += static_cast<char>('A' + hash % 26);
  const std::string family =
      font.ttf.postscript_name().empty() ? "ReportFont" : font.ttf.postscript_name();
  name = '/' + name + '+' + family;

  const int file = document_.Reserve();
  const std::string subset = font.ttf.Subset(glyphs);
  document_.Stream(file, "/Length1 " + std::to_string(subset.size()), subset);

  const double em = font.ttf.units_per_em();
  auto units = [em](int value) { return std::to_string(std::lround(value * 1000 / em)); };
  const int* box = font.ttf.bounding_box();
  const int descriptor = document_.Reserve();
  document_.Object(
      descriptor, "<</Type/FontDescriptor/FontName" + name + "/Flags 32/FontBBox[" + units(box[0]) +
                      ' ' + units(box[1]) + ' ' + units(box[2]) + ' ' + units(box[3]) +
                      "]/ItalicAngle 0/Ascent " + units(font.ttf.ascender()) + "/Descent " +
                      units(font.ttf.descender()) + "/CapHeight " + units(font.ttf.ascender()) +
                      "/StemV 80/FontFile2 " + std::to_string(file) + " 0 R>>");

  std::string map(512, '\0');
  std::string widths = "[";
  std::string to_unicode;
  int in_block = 0;
  std::string block;
  for (unsigned byte = 0; byte < 256; ++byte) {
    map[2 * byte] = static_cast<char>(cid_to_glyph[byte] >> 8);
    map[2 * byte + 1] = static_cast<char>(cid_to_glyph[byte]);
    if (!font.used[byte]) continue;
    widths += std::to_string(byte) + '[' + units(font.ttf.Advance(font.glyph[byte])) + ']';
    block += '<' + Hex2(byte) + "><" + Hex4(font.unicode[byte]) + ">\n";
    if (++in_block == 100) {
      to_unicode += "100 beginbfchar\n" + block + "endbfchar\n";
      block.clear();
      in_block = 0;
    }
  }
  if (in_block > 0)
    to_unicode += std::to_string(in_block) + " beginbfchar\n" + block + "endbfchar\n";
  widths += ']';
  const int cid_map = document_.Reserve();
  document_.Stream(cid_map, "", map);
  const int cid_font = document_.Reserve();
  document_.Object(cid_font, "<</Type/Font/Subtype/CIDFontType2/BaseFont" + name + kIdentity +
                                 "/FontDescriptor " + std::to_string(descriptor) + " 0 R/W" +
                                 widths + "/CIDToGIDMap " + std::to_string(cid_map) + " 0 R>>");
  const int encoding = document_.Reserve();
  document_.Stream(encoding, std::string("/Type/CMap/CMapName/Saldex-OneByte-Identity") + kIdentity,
                   kOneByteCMap);
  const int unicode = document_.Reserve();
  document_.Stream(
      unicode, "",
      std::string("/CIDInit/ProcSet findresource begin 12 dict begin begincmap\n") + kIdentity +
          "def\n/CMapName/Adobe-Identity-UCS def/CMapType 2 def\n"
          "1 begincodespacerange <00><FF> endcodespacerange\n" +
          to_unicode + "endcmap CMapName currentdict/CMap defineresource pop end end\n");
  document_.Object(font.type0, "<</Type/Font/Subtype/Type0/BaseFont" + name + "/Encoding " +
                                   std::to_string(encoding) + " 0 R/DescendantFonts[" +
                                   std::to_string(cid_font) + " 0 R]/ToUnicode " +
                                   std::to_string(unicode) + " 0 R>>");
}

void PdfSurface::Finish() {
  if (finished_) return;
  WritePage();
  finished_ = true;
  std::string font_list;
  for (auto& [key, font] : fonts_) {
    font->type0 = document_.Reserve();
    font_list += font->resource + ' ' + std::to_string(font->type0) + " 0 R";
  }
  for (auto& [key, font] : fonts_) WriteFont(*font);
  document_.Object(resources_, "<</Font<<" + font_list + ">>/ProcSet[/PDF/Text]>>");
  std::string kids;
  for (const int page : pages_) kids += std::to_string(page) + " 0 R ";
  document_.Object(pages_root_, "<</Type/Pages/Count " + std::to_string(pages_.size()) + "/Kids[" +
                                    kids + "]>>");
  document_.Object(catalog_, "<</Type/Catalog/Pages " + std::to_string(pages_root_) + " 0 R>>");
  std::string title;
  AppendPdfString(title, title_.toLatin1().toStdString());
  document_.Object(info_, "<</Title" + title + "/Creator(saldex-export)/Producer(saldex-export)>>");
  document_.Finish(catalog_, info_);
}

}  // namespace app
