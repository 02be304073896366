#ifndef SALDEX_CONTROLS_KEY_PREVIEW_H_
#define SALDEX_CONTROLS_KEY_PREVIEW_H_

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <functional>

class QKeyEvent;

namespace controls {

// Key preview of a top-level window: the handler sees each key pressed while
// the window has the keyboard exactly once, before the control that has the
// focus, whatever the handler does to the focus or to the windows.
//
// It watches the window's platform window (QWindow), where a key press
// arrives once before Qt hands the same event to the focused control and, as
// long as it is ignored, to that control's parents. An application-wide
// filter would see each of those deliveries, and sees one delivery twice when
// a command run from it installs another application filter (a modal dialog,
// a tool tip): the filter list grows in front of the running filter, and Qt
// moves on to the next entry, which is the running filter again.
//
// Keys sent straight to a widget (QCoreApplication::sendEvent, a control
// re-sending a key) are not previewed: they never pass the platform window.
class KeyPreview : public QObject {
  Q_OBJECT

 public:
  // Returns true when the key is handled and the focused control must not get it.
  using Handler = std::function<bool(QKeyEvent*)>;

  // REQUIRES: `window` is a top-level widget; the preview is its child.
  KeyPreview(QWidget* window, Handler handler);

  bool enabled() const { return enabled_; }
  void setEnabled(bool on) { enabled_ = on; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Follows the window's platform window, which Qt creates at the first show
  // and may replace (a change of the window flags).
  void Attach();

  QWidget* window_;
  Handler handler_;
  QPointer<QWindow> watched_;
  bool enabled_ = true;
};

}  // namespace controls

#endif  // SALDEX_CONTROLS_KEY_PREVIEW_H_
