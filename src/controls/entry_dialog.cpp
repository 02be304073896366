#include "controls/entry_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

namespace controls {

EntryDialog::EntryDialog(QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags),
      key_preview_(new KeyPreview(this, [this](QKeyEvent* event) { return previewKey(event); })) {
  key_preview_->setEnabled(false);
}

EntryDialog::~EntryDialog() = default;

void EntryDialog::setDefaultButton(QPushButton* button) {
  if (default_button_) default_button_->setDefault(false);
  default_button_ = button;
  if (button) button->setDefault(true);
}

void EntryDialog::setKeyPreview(bool on) {
  key_preview_->setEnabled(on);
}

void EntryDialog::setFixedClientSize(int width, int height, bool title_only) {
  setFixedSize(width, height);
  Qt::WindowFlags flags = windowFlags() | Qt::MSWindowsFixedSizeDialogHint;
  if (title_only) {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    flags &= ~(Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
               Qt::WindowContextHelpButtonHint | Qt::WindowMinMaxButtonsHint);
  }
  setWindowFlags(flags);
}

void EntryDialog::centerOnScreen() {
  QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

void EntryDialog::centerOver(QWidget* owner) {
  if (!owner) return centerOnScreen();
  const QRect over = owner->window()->frameGeometry();
  move(over.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

bool EntryDialog::previewKey(QKeyEvent*) {
  return false;
}

void EntryDialog::keyPressEvent(QKeyEvent* event) {
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (event->key() == Qt::Key_Escape && plain) {
    reject();
    return;
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plain) {
    // A focused button takes Enter as its own; otherwise only a default the
    // window named reacts. Enter is consumed either way.
    QPushButton* target = qobject_cast<QPushButton*>(focusWidget());
    if (!target) target = default_button_;
    if (target && target->isEnabled() && target->isVisible()) target->click();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void EntryDialog::setVisible(bool visible) {
  if (visible) useOwnDefaults();
  QDialog::setVisible(visible);
}

void EntryDialog::useOwnDefaults() {
  // Without auto-default buttons Qt neither picks an implicit default button
  // nor lets a focused button take Enter itself: keyPressEvent decides.
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button->window() == this) button->setAutoDefault(false);
  }
}

}  // namespace controls
