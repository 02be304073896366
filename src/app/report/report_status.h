#ifndef SALDEX_APP_REPORT_REPORT_STATUS_H_
#define SALDEX_APP_REPORT_REPORT_STATUS_H_

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace app {

// The report system's status window "Stav přípravy tisku": one status line
// naming the page at work ("Generuji stranu %p" while pages are prepared,
// "Tisknu stranu %p" while printing, %p the page number) and, for a print,
// the button "Storno" that cancels it. Shown from construction to
// destruction; every page lets pending window messages run.
class ReportStatus : public QDialog {
 public:
  ReportStatus(QWidget* parent, const char* line, bool cancellable);

  // The status line for page `page`; runs pending window messages.
  void ShowPage(int page);
  bool cancelled() const { return cancelled_; }
  QString line() const { return label_->text(); }

  // Escape cancels a print and is ignored otherwise.
  void reject() override;

  static constexpr const char* kCaption = "Stav přípravy tisku";
  static constexpr const char* kGenerating = "Generuji stranu %p";
  static constexpr const char* kPrinting = "Tisknu stranu %p";

 private:
  QString line_;
  QLabel* label_;
  QPushButton* cancel_ = nullptr;
  bool cancelled_ = false;
};

}  // namespace app

#endif  // SALDEX_APP_REPORT_REPORT_STATUS_H_
