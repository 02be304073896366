#ifndef SALDEX_TESTS_APP_PDF_TEXT_H_
#define SALDEX_TESTS_APP_PDF_TEXT_H_

// The text of a PDF file as poppler's pdftotext extracts it with its layout
// kept (pages separated by form feeds); an independent reader of our PDFs.

#include <string>

#include "support/shell_output.h"

namespace testing_support {

inline std::string PdfText(const std::string& pdf) {
  return ShellOutput("pdftotext -layout '" + pdf + "' - 2>&1");
}

}  // namespace testing_support

#endif  // SALDEX_TESTS_APP_PDF_TEXT_H_
