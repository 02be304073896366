#ifndef SALDEX_CONTROLS_ENTRY_DIALOG_H_
#define SALDEX_CONTROLS_ENTRY_DIALOG_H_

#include <QDialog>
#include <QPointer>
#include <QPushButton>

#include "controls/key_preview.h"

namespace controls {

// The program's dialog keys, for every dialog to derive from:
// - Esc closes the dialog as cancelled (reject()).
// - Enter moves between fields (the family's controls turn it into Tab); on a
//   focused button it presses that button; an Enter a field hands to the
//   window presses the default button only when the window named one with
//   setDefaultButton(), else nothing happens. Qt's implicit default button
//   (the first auto-default one) is not used.
// - With key preview on, previewKey() sees each key pressed anywhere in the
//   dialog before the focused control (the window's FormKeyDown).
class EntryDialog : public QDialog {
  Q_OBJECT
 public:
  explicit EntryDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
  ~EntryDialog() override;

  // nullptr (the default): no default button.
  QPushButton* defaultButton() const { return default_button_; }
  void setDefaultButton(QPushButton* button);

  bool keyPreview() const { return key_preview_->enabled(); }
  void setKeyPreview(bool on);

  // A fixed client area of `width` x `height` pixels and a border that cannot
  // be resized; without border icons when `title_only` (no close box).
  void setFixedClientSize(int width, int height, bool title_only = false);
  // Centred on the screen the dialog (or its parent) is on.
  void centerOnScreen();
  // Centred over `owner`'s window.
  void centerOver(QWidget* owner);

 protected:
  // Key preview: return true when the key is handled (the control does not
  // get it). The default handles nothing.
  virtual bool previewKey(QKeyEvent* event);

  void keyPressEvent(QKeyEvent* event) override;
  void setVisible(bool visible) override;

 private:
  void useOwnDefaults();

  QPointer<QPushButton> default_button_;
  KeyPreview* key_preview_;
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_ENTRY_DIALOG_H_
