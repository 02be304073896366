#ifndef SALDEX_CONTROLS_QT_TEXT_H_
#define SALDEX_CONTROLS_QT_TEXT_H_

#include <QString>
#include <string>
#include <string_view>

namespace controls {

// The program's text (code page 1250) and Qt's at the edge between them.
// Characters code page 1250 cannot hold become '?'.
QString FromAnsi(std::string_view ansi);
std::string ToAnsi(const QString& text);

}  // namespace controls

#endif  // SALDEX_CONTROLS_QT_TEXT_H_
