#ifndef SALDEX_TESTS_CONTROLS_WIDGET_TEST_SUPPORT_H_
#define SALDEX_TESTS_CONTROLS_WIDGET_TEST_SUPPORT_H_

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <optional>

#include <gtest/gtest.h>

#include "dbf/clock.h"
#include "dbf/format_settings.h"

namespace controls {

// Shows a window and makes it the active one, so that focus changes are real.
inline void ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  QApplication::setActiveWindow(window);
  ASSERT_TRUE(window->isActiveWindow());
}

// Answers the next modal message box that opens while it is armed: records
// its text and presses its default (OK) button. Disarmed when destroyed.
class MessageBoxAnswer {
 public:
  MessageBoxAnswer() {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      timer_.stop();
      text_ = box->text();
      icon_ = box->icon();
      box->accept();
    });
    timer_.start();
  }
  bool shown() const { return text_.has_value(); }
  QString text() const { return text_.value_or(QString()); }
  QMessageBox::Icon icon() const { return icon_; }

 private:
  QTimer timer_;
  std::optional<QString> text_;
  QMessageBox::Icon icon_ = QMessageBox::NoIcon;
};

// Pins the clock and the format settings for one test and restores them.
class FormatsFixture : public testing::Test {
 protected:
  FormatsFixture() : saved_(dbf::Formats()) {
    dbf::LocalTime now;
    now.year = 2026, now.month = 12, now.day = 8, now.hour = 8, now.minute = 30, now.second = 15;
    dbf::SetClockForTesting(now);
    dbf::Formats().date_separator = '.';
    dbf::Formats().short_date_format = "dd.mm.yyyy";
    dbf::Formats().time_separator = ':';
    dbf::Formats().long_time_format = "hh:nn:ss";
    dbf::Formats().decimal_separator = ',';
    dbf::Formats().thousand_separator = ' ';
  }
  ~FormatsFixture() override {
    dbf::Formats() = saved_;
    dbf::SetClockForTesting(std::nullopt);
  }

 private:
  dbf::FormatSettings saved_;
};

}  // namespace controls

#endif  // SALDEX_TESTS_CONTROLS_WIDGET_TEST_SUPPORT_H_
