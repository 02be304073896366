#ifndef SALDEX_APP_REPORT_PDF_DOCUMENT_H_
#define SALDEX_APP_REPORT_PDF_DOCUMENT_H_

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// The object layer of a PDF 1.4 file written front to back:
//
//   %PDF-1.4 and a binary comment line
//   n 0 obj ... endobj          objects in any order, numbered from 1
//   xref                        one 20-byte entry per object: offset, 00000, n
//   trailer << /Size /Root /Info >> startxref offset %%EOF
//
// Object numbers are handed out up front (Reserve), so that objects can
// refer to ones written later. Streams are Flate-compressed (zlib).
// Raises std::runtime_error "Cannot create file %s" / "Cannot write file %s".
class PdfDocument {
 public:
  explicit PdfDocument(const std::string& path);
  ~PdfDocument();
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  int Reserve();
  // Writes object `id` with `body` (a dictionary, array or value).
  void Object(int id, std::string_view body);
  // Writes object `id` as a compressed stream; `dictionary_entries` go
  // inside its dictionary besides /Length and /Filter.
  void Stream(int id, std::string_view dictionary_entries, std::string_view data);
  // Cross-reference table and trailer; closes the file. REQUIRES: every
  // reserved object written.
  void Finish(int root, int info);

  // zlib level of the streams (1 fastest .. 9 smallest).
  static constexpr int kCompression = 1;

 private:
  void Write(std::string_view bytes);

  std::string path_;
  std::FILE* file_;
  std::vector<char> buffer_;
  long offset_ = 0;
  std::vector<long> offsets_{0};  // by object number; [0] unused
  std::string compressed_;
};

// A PDF literal string "( ... )" of these bytes.
void AppendPdfString(std::string& out, std::string_view bytes);
// A number of user space units with at most two decimals, given in
// hundredths ("1234" -> "12.34", "-5" -> "-.05", "300" -> "3").
void AppendHundredths(std::string& out, long hundredths);

}  // namespace app

#endif  // SALDEX_APP_REPORT_PDF_DOCUMENT_H_
