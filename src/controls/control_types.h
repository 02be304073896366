#ifndef SALDEX_CONTROLS_CONTROL_TYPES_H_
#define SALDEX_CONTROLS_CONTROL_TYPES_H_

#include <QString>
#include <Qt>
#include <functional>

class QWidget;

namespace controls {

// What TValidEdit and TVEdit test and format when the focus leaves them.
enum class TEditType { ttString, ttInteger, ttFloat, ttDate, ttTime };

// What TDBValidEdit completes when the focus leaves it.
enum class TValidEditType { setStandard, setDate, setTime, setFloat };

// The default moment of TDBValidEdit's completion: the moment set on the
// control (initially its creation) or the current one.
enum class TValidDateTimeType { sdtNow, sdtUser };

// When TDBValidEdit validates on leaving.
enum class TWhenValid {
  swvAlways,      // on every exit
  swvWhenEdit,    // only while the bound table is in edit or insert state
  swvWhenChange,  // only when the text differs from the bound field's value
  swvNone,        // never
};

// The family's events. Each is raised on the user-interface thread; an empty
// function is "not assigned".
// After the focus left the control by Tab or by Enter turned into Tab, with
// the shift state of that key.
using TabExitEvent = std::function<void(QWidget* sender, Qt::KeyboardModifiers shift)>;
// Side button clicked; Space pressed (the blank is then not typed).
using NotifyEvent = std::function<void(QWidget* sender)>;
// Validation on leaving: the handler may change the text and the valid flag.
using TValidEvent = std::function<void(QWidget* sender, QString& text, bool& valid)>;
// Validation failed (the focus is back in the control).
using TValidErrorEvent = std::function<void(QWidget* sender)>;

inline constexpr int kMinButtonWidth = 15;
// Gap between the text area and the side button (or the right edge).
inline constexpr int kButtonGap = 4;
// Refusal text of TValidEdit and TVEdit, a blank at each end.
inline constexpr const char* kBadFormatMessage = " Chybný formát dat ";

}  // namespace controls

#endif  // SALDEX_CONTROLS_CONTROL_TYPES_H_
