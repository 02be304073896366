#include "controls/v_edit.h"

namespace controls {

TVEdit::TVEdit(QWidget* parent) : TypedLineEdit(parent) {}

}  // namespace controls
