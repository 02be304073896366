#ifndef SALDEX_APP_REPORT_REPORT_PREVIEW_H_
#define SALDEX_APP_REPORT_REPORT_PREVIEW_H_

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>
#include <QWidget>
#include <cstdint>
#include <exception>
#include <memory>

#include "app/report/report_output.h"

namespace app {

// The report system's modal preview "Náhled před tiskem" in landscape. It
// holds no pictures of pages: opening it lays the report out once without
// drawing to count the pages (status window "Generuji stranu %p"), and each
// page is drawn when it is shown, by a run of the page handler that draws
// that page only. Page navigation, zoom and printing from its toolbar; there
// is no page setup. Printing prints every page on the printer
// HlavniTiskarna names, selected just before printing starts, without a
// setup dialog, under the status window "Tisknu stranu %p" with "Storno";
// then the preview closes.
class ReportPreview {
 public:
  ReportPreview(QWidget* parent, ReportPages pages, int32_t hlavni_tiskarna);
  ~ReportPreview();
  ReportPreview(const ReportPreview&) = delete;
  ReportPreview& operator=(const ReportPreview&) = delete;

  // Counts the pages, shows page 1 and the preview modally until it is
  // closed; an error of the pages closes it and is raised here. The printer
  // is set back to portrait.
  void Run();

  int page_count() const { return page_count_; }
  int current_page() const { return current_page_; }
  // Pages drawn for the screen so far.
  int pages_drawn() const { return pages_drawn_; }
  // 1.0 shows the paper in its real size on the screen.
  double zoom() const { return zoom_; }
  void ShowPage(int page);
  void SetZoom(double zoom);
  // Prints every page; false when the print was cancelled or failed to start.
  bool Print();

  QDialog& dialog() { return *dialog_; }
  QPrinter& printer() { return printer_; }
  // The picture of the page shown.
  const QImage& page_image() const { return image_; }

  static constexpr const char* kCaption = "Náhled před tiskem";

 private:
  void BuildWindow(QWidget* parent);
  void CountPages();
  void Fail();
  double PaperWidth() const;   // cm
  double PaperHeight() const;  // cm

  ReportPages pages_;
  int32_t hlavni_tiskarna_;
  QPrinter printer_;
  std::unique_ptr<QDialog> dialog_;
  QScrollArea* scroll_ = nullptr;
  QLabel* page_view_ = nullptr;
  QSpinBox* page_box_ = nullptr;
  QLabel* page_total_ = nullptr;
  QImage image_;
  int page_count_ = 0;
  int current_page_ = 0;
  int pages_drawn_ = 0;
  double zoom_ = 1.0;
  std::exception_ptr error_;
};

}  // namespace app

#endif  // SALDEX_APP_REPORT_REPORT_PREVIEW_H_
