#include "app/login_dialog.h"

#include <QLabel>
#include <QScreen>
#include <QTest>
#include <functional>

#include "controls/widget_test_support.h"

namespace app {
namespace {

using controls::ShowActive;

// Runs `drive` on the login dialog once its modal loop runs.
void WhenLoginShows(std::function<void(LoginDialog&)> drive) {
  QTimer::singleShot(0, [drive] {
    auto* form = qobject_cast<LoginDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    drive(*form);
  });
}

TEST(LoginDialog, LayoutCaptionsAndTabOrder) {
  LoginDialog form;
  ShowActive(&form);
  EXPECT_EQ(form.windowTitle(), "Přihlašovací dialog uživatele");
  EXPECT_EQ(form.size(), QSize(337, 151));
  EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);
  QStringList labels;
  for (QLabel* label : form.findChildren<QLabel*>()) labels << label->text();
  EXPECT_TRUE(labels.contains("Přihlašovací jméno z Windows není v seznamu uživatelů systému"));
  EXPECT_TRUE(labels.contains("Přístupové jméno uživatele "));
  EXPECT_TRUE(labels.contains("Přístupové heslo uživatele"));
  EXPECT_EQ(form.okButton()->text(), "OK");
  EXPECT_EQ(form.cancelButton()->text(), "Storno");

  EXPECT_TRUE(form.nameEdit()->hasFocus());
  EXPECT_EQ(form.passwordEdit()->echoMode(), QLineEdit::Password);
  // Storno is first in tab order: Enter moves name -> password -> OK, and
  // Tab from OK wraps round to Storno.
  QTest::keyClick(form.nameEdit(), Qt::Key_Return);
  EXPECT_TRUE(form.passwordEdit()->hasFocus());
  QTest::keyClick(form.passwordEdit(), Qt::Key_Return);
  EXPECT_TRUE(form.okButton()->hasFocus());
  QTest::keyClick(form.okButton(), Qt::Key_Tab);
  EXPECT_TRUE(form.cancelButton()->hasFocus());
  QTest::keyClick(form.cancelButton(), Qt::Key_Tab);
  EXPECT_TRUE(form.nameEdit()->hasFocus());

  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE((form.frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

TEST(LoginDialog, ConfirmedGivesBothTextsInCodePage1250) {
  WhenLoginShows([](LoginDialog& form) {
    QTest::keyClicks(form.nameEdit(), "nov");
    QTest::sendKeyEvent(QTest::Click, form.nameEdit(), Qt::Key_Aacute, QStringLiteral("á"),
                        Qt::NoModifier);
    QTest::keyClicks(form.nameEdit(), "k");
    QTest::keyClick(form.nameEdit(), Qt::Key_Return);
    QTest::keyClicks(form.passwordEdit(), "heslo");
    QTest::mouseClick(form.okButton(), Qt::LeftButton);
  });
  const std::optional<store::LoginEntry> entry = AskLoginDialog(nullptr);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->name, "nov\xE1k");
  EXPECT_EQ(entry->password, "heslo");
}

TEST(LoginDialog, EnterThreeTimesSignsIn) {
  WhenLoginShows([](LoginDialog& form) {
    QTest::keyClicks(form.nameEdit(), "jan");
    QTest::keyClick(form.nameEdit(), Qt::Key_Return);
    QTest::keyClicks(form.passwordEdit(), "demo");
    QTest::keyClick(form.passwordEdit(), Qt::Key_Return);
    QTest::keyClick(form.okButton(), Qt::Key_Return);  // Enter presses the focused OK
  });
  const std::optional<store::LoginEntry> entry = AskLoginDialog(nullptr);
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->name, "jan");
  EXPECT_EQ(entry->password, "demo");
}

TEST(LoginDialog, StornoAndEscCancel) {
  WhenLoginShows([](LoginDialog& form) {
    QTest::keyClicks(form.nameEdit(), "jan");
    form.cancelButton()->setFocus();
    QTest::keyClick(form.cancelButton(), Qt::Key_Return);  // Enter presses the focused Storno
  });
  EXPECT_FALSE(AskLoginDialog(nullptr).has_value());

  WhenLoginShows([](LoginDialog& form) {
    QTest::keyClicks(form.nameEdit(), "jan");
    QTest::keyClick(form.nameEdit(), Qt::Key_Escape);
  });
  EXPECT_FALSE(AskLoginDialog(nullptr).has_value());
}

}  // namespace
}  // namespace app
