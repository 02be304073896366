#ifndef SALDEX_APP_REPORT_PREVIEW_H_
#define SALDEX_APP_REPORT_PREVIEW_H_

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>
#include <cstdint>
#include <exception>
#include <memory>

#include "app/report_output.h"

namespace app {

// The report system's modal preview "Náhled před tiskem" in landscape: it
// draws the pages on demand and prints them from its toolbar's print button
// without a setup dialog, on the printer HlavniTiskarna names, selected just
// before printing starts.
class ReportPreview {
 public:
  ReportPreview(QWidget* parent, ReportPages pages, int32_t hlavni_tiskarna);
  ~ReportPreview();
  ReportPreview(const ReportPreview&) = delete;
  ReportPreview& operator=(const ReportPreview&) = delete;

  // Shows the preview modally until it is closed; an error of the pages
  // closes it and is raised here. The printer is set back to portrait.
  void Run();

  QPrintPreviewDialog& dialog() { return *dialog_; }
  QPrinter& printer() { return printer_; }

  static constexpr const char* kCaption = "Náhled před tiskem";

 private:
  void Paint(QPrinter* printer);
  // SestavyBeforePrint, then the pages to the printer; the preview closes.
  void Print();

  ReportPages pages_;
  int32_t hlavni_tiskarna_;
  QPrinter printer_;
  std::unique_ptr<QPrintPreviewDialog> dialog_;
  std::exception_ptr error_;
};

}  // namespace app

#endif  // SALDEX_APP_REPORT_PREVIEW_H_
