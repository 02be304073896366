#ifndef SALDEX_APP_REPORT_PDF_SURFACE_H_
#define SALDEX_APP_REPORT_PDF_SURFACE_H_

#include <QFont>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/report/pdf_document.h"
#include "reports/page_surface.h"

namespace app {

// The report's page surface writing a landscape A4 PDF of its own: each
// page one compressed content stream of positioned strings, every font a
// Type 0 font over a subset of its TrueType file, embedded.
//
// Font encoding: a string byte is the code page 1250 character itself. An
// embedded one-byte CMap maps code n to CID n, the CIDToGIDMap stream CID n
// to the subset's glyph of that character, and the ToUnicode CMap code n to
// its Unicode character, so text extraction gives the report's text.
//
// Fonts, line heights and ascents are the ones the Qt surface uses on a
// 1200 dpi PDF device (so pages break where they break there); advance
// widths come from the font's own metrics.
class PdfSurface : public reports::PageSurface {
 public:
  // Creates the file (replacing it); raises std::runtime_error.
  PdfSurface(const std::string& path, const QString& title);
  ~PdfSurface() override;

  double PageWidth() const override { return kPageWidth; }
  double PageHeight() const override { return kPageHeight; }
  double LineHeight(const reports::ReportFont& font) override;
  double TextWidth(const reports::ReportFont& font, const std::string& text) override;
  void DrawText(const reports::ReportFont& font, double x, double top,
                const std::string& text) override;
  void NewPage() override;

  // Writes the last page, the fonts and the document structure; raises
  // std::runtime_error when the file cannot be written.
  void Finish();
  // Pages begun so far (all of them after Finish).
  int page_count() const { return static_cast<int>(pages_.size()) + (finished_ ? 0 : 1); }

  static constexpr double kPageWidth = 29.7;   // cm
  static constexpr double kPageHeight = 21.0;  // cm

 private:
  struct EmbeddedFont;
  struct Face;
  Face& Use(const reports::ReportFont& font);
  EmbeddedFont& FontFor(const QFont& qfont);
  void WritePage();
  static void AppendText(std::string& out, const EmbeddedFont& font, const std::string& text);
  void WriteFont(EmbeddedFont& font);

  PdfDocument document_;
  int catalog_, pages_root_, resources_, info_;
  QString title_;
  std::map<std::string, std::unique_ptr<EmbeddedFont>> fonts_;  // by family and style
  std::map<std::string, std::unique_ptr<Face>> faces_;          // by report font name and size
  Face* last_face_ = nullptr;                                   // of the last Use
  std::string last_name_;
  double last_size_ = 0;
  std::vector<int> pages_;  // page objects written
  bool finished_ = false;
  std::string content_;  // of the current page
  Face* content_face_ = nullptr;
  long last_x_ = 0, last_y_ = 0;  // hundredths of a point, the text line's origin
};

}  // namespace app

#endif  // SALDEX_APP_REPORT_PDF_SURFACE_H_
