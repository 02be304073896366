#ifndef SALDEX_APP_MAIN_STATUS_BAR_H_
#define SALDEX_APP_MAIN_STATUS_BAR_H_

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace app {

// The main window's status bar: a text pane 313 pixels wide (left empty), a
// Caps Lock indicator shown disabled, a Num Lock indicator, and a clock pane
// 121 pixels wide showing the process clock, refreshed every second.
class MainStatusBar : public QStatusBar {
  Q_OBJECT

 public:
  explicit MainStatusBar(QWidget* parent = nullptr);

  QLabel* text_pane() const { return text_; }
  QLabel* caps_pane() const { return caps_; }
  QLabel* num_pane() const { return num_; }
  QLabel* clock_pane() const { return clock_; }
  // Shows the process clock's time now.
  void Tick();

 signals:
  // The clock passed midnight.
  void dayChanged();

 private:
  QLabel* AddPane(const QString& text, int width);

  QLabel* text_;
  QLabel* caps_;
  QLabel* num_;
  QLabel* clock_;
  QTimer timer_;
  int last_day_ = 0;
};

}  // namespace app

#endif  // SALDEX_APP_MAIN_STATUS_BAR_H_
