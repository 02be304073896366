#ifndef SALDEX_APP_DIALOGS_DIALOG_FONT_H_
#define SALDEX_APP_DIALOGS_DIALOG_FONT_H_

#include <QFont>
#include <QWidget>

namespace app {

// The dialogs are laid out in fixed pixels for an 8-point dialog font; the
// same size here keeps their captions inside their controls.
inline void UseDialogFont(QWidget* dialog) {
  QFont font = dialog->font();
  font.setPointSize(8);
  dialog->setFont(font);
}

}  // namespace app

#endif  // SALDEX_APP_DIALOGS_DIALOG_FONT_H_
