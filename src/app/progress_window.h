#ifndef SALDEX_APP_PROGRESS_WINDOW_H_
#define SALDEX_APP_PROGRESS_WINDOW_H_

#include <QLabel>
#include <QProgressBar>
#include <QWidget>

namespace app {

// The progress window `ProgressWindow` of long work (the index rebuild): a tool
// window without border icons, centred on the screen, client area 376 x 78,
// the fixed label "Indexace souboru :" with `Label1` (225 pixels, no
// auto-size) beside it naming the work, and the gauge `Gauge1` (329 x 25,
// 0..100 per cent) below. It is not modal: the work runs on and lets it
// repaint between steps.
class ProgressWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressWindow(const QString& caption, QWidget* parent = nullptr);

  void SetLabel(const QString& text);
  void SetPercent(int percent);
  // Shows the window centred on the screen.
  void ShowCentred();

  QLabel* Label1() const { return label1_; }
  QProgressBar* Gauge1() const { return gauge1_; }

 private:
  QLabel* label1_;
  QProgressBar* gauge1_;
};

}  // namespace app

#endif  // SALDEX_APP_PROGRESS_WINDOW_H_
