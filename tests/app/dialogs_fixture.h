#ifndef SALDEX_TESTS_APP_DIALOGS_FIXTURE_H_
#define SALDEX_TESTS_APP_DIALOGS_FIXTURE_H_

// Window tests of the dialogs over a copy of the demo store: key presses
// through the active window to its focused control, and modal dialogs
// driven from the event loop.

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/qt_text.h"
#include "store/demo_store.h"

namespace testing_support {

// Makes `window` the active window, so that focus changes send their events.
inline void Activate(QWidget* window) {
  window->show();
  QApplication::setActiveWindow(window);
  QApplication::processEvents();
}

// What a window manager does when a window closes: the window below it (the
// modal dialog now on top, else a window still shown) becomes active again.
inline QWidget* FocusedControl() {
  QWidget* top = QApplication::activeModalWidget();
  if (!top && !QApplication::activeWindow()) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible() && !(window->windowType() == Qt::Popup)) top = window;
    }
  }
  if (top && QApplication::activeWindow() != top) QApplication::setActiveWindow(top);
  return QApplication::focusWidget();
}

// One key press to the control that has the focus, as the keyboard sends it:
// to its window, which hands it to the control (past the window's key preview).
inline void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* target = FocusedControl();
  ASSERT_NE(target, nullptr) << "no control has the focus";
  QTest::keyClick(target->window()->windowHandle(), static_cast<Qt::Key>(key), modifiers);
}

// Text typed key by key into the control that has the focus (letters
// outside ASCII as keys without a key code, as a keyboard layout sends them).
inline void Type(const QString& text) {
  for (const QChar c : text) {
    QWidget* target = FocusedControl();
    ASSERT_NE(target, nullptr) << "no control has the focus";
    QWindow* keyboard = target->window()->windowHandle();
    if (c.unicode() < 0x80) {
      QTest::keyClick(keyboard, c.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Click, keyboard, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

// Runs actions on modal dialogs as they come up: each action waits (from
// the event loop, no clock involved) until a modal dialog other than those
// already handled is the active modal widget, activates it and runs. An
// action may press keys that open the next modal dialog. A modal dialog
// that no action expects is a failure and is closed as cancelled, so that a
// test never hangs in it; actions left over at the end are a failure.
class ModalScript {
 public:
  ModalScript() { Schedule(); }
  ~ModalScript() {
    EXPECT_TRUE(actions_.empty()) << actions_.size() << " modal dialog(s) never came up";
  }

  template <typename Dialog>
  void Then(std::function<void(Dialog*)> action) {
    actions_.push_back([action](QWidget* modal) {
      auto* dialog = qobject_cast<Dialog*>(modal);
      if (!dialog) return false;
      action(dialog);
      return true;
    });
  }
  // Answers the next message box with OK and keeps its text (UTF-8).
  void ThenMessage() {
    Then<QMessageBox>([this](QMessageBox* box) {
      messages.push_back(box->text().toStdString());
      box->accept();
    });
  }

  std::vector<std::string> messages;
  int unexpected = 0;

 private:
  // A fresh zero timer per poll: a timer whose handler is still running (an
  // action inside a nested modal loop) is not fired again.
  void Schedule() {
    QTimer::singleShot(0, &context_, [this] { Poll(); });
  }
  void Poll() {
    Schedule();
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    for (const QPointer<QWidget>& seen : handled_) {
      if (seen == modal) return;
    }
    handled_.push_back(modal);
    Activate(modal);
    if (!actions_.empty()) {
      auto action = std::move(actions_.front());
      actions_.erase(actions_.begin());
      const QPointer<QWidget> acted_on = modal;
      if (action(modal)) {
        if (acted_on && acted_on->isVisible()) {
          ADD_FAILURE() << "the action left " << acted_on->metaObject()->className() << " open";
          if (auto* dialog = qobject_cast<QDialog*>(acted_on.data())) dialog->reject();
        }
        return;
      }
    }
    ++unexpected;
    ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className() << " \""
                  << modal->windowTitle().toStdString() << "\"";
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  }

  QObject context_;  // pending polls die with it
  std::vector<std::function<bool(QWidget*)>> actions_;
  std::vector<QPointer<QWidget>> handled_;
};

// The demo store with the invoice table open in tag DO1, as the main
// window leaves it.
class DialogTest : public DemoStoreTest {
 protected:
  void SetUp() override {
    MakeStore();
    ASSERT_TRUE(Module().OpenFak("DO1"));
  }
  dbf::DbfDataSet& Faktury() { return Module().Faktury(); }
  std::string Invoice(const char* field) { return Faktury().FieldByName(field).AsString(); }
  // Appends an invoice and stands on it.
  void AddInvoice(const std::string& number, double total, const std::string& name_utf8 = "") {
    Faktury().Append();
    Faktury().FieldByName("HLA_DO1").SetAsString(number);
    Faktury().FieldByName("HLA_CUH").SetAsFloat(total);
    Faktury().FieldByName("HLA_BPL").SetAsFloat(0);
    Faktury().FieldByName("HLA_PLA").SetAsBoolean(false);
    Faktury().FieldByName("HLA_NAC").SetAsString(
        controls::ToAnsi(QString::fromStdString(name_utf8)));
    Faktury().Post();
    GoTo(number);
  }
  void GoTo(const std::string& number) {
    Faktury().SelectTag("DO1");
    ASSERT_TRUE(Faktury().Find(number, true, false)) << number;
  }
};

}  // namespace testing_support

#endif  // SALDEX_TESTS_APP_DIALOGS_FIXTURE_H_
