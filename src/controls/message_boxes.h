#ifndef SALDEX_CONTROLS_MESSAGE_BOXES_H_
#define SALDEX_CONTROLS_MESSAGE_BOXES_H_

#include <QString>

class QWidget;

namespace controls {

// Modal box with an error sign, the text and an OK button; the caption is the
// application name (the program sets it to its title). Returns when the operator has dismissed it.
void ShowErrorBox(QWidget* parent, const QString& text);

// Modal information box with the text and an OK button, the application name
// as caption.
void ShowInformationBox(QWidget* parent, const QString& text);

}  // namespace controls

#endif  // SALDEX_CONTROLS_MESSAGE_BOXES_H_
