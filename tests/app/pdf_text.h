#ifndef SALDEX_TESTS_APP_PDF_TEXT_H_
#define SALDEX_TESTS_APP_PDF_TEXT_H_

// The text of a PDF file as poppler's pdftotext extracts it with its layout
// kept (pages separated by form feeds); an independent reader of our PDFs.

#include <cstdio>
#include <string>

namespace testing_support {

inline std::string PdfText(const std::string& pdf) {
  std::string out;
  FILE* pipe = popen(("pdftotext -layout '" + pdf + "' - 2>&1").c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  pclose(pipe);
  return out;
}

}  // namespace testing_support

#endif  // SALDEX_TESTS_APP_PDF_TEXT_H_
