#ifndef SALDEX_APP_QT_TEXT_H_
#define SALDEX_APP_QT_TEXT_H_

#include <QString>
#include <string>
#include <string_view>

namespace app {

// The program's texts are code page 1250; Qt's are Unicode. Every crossing
// goes through these two.
QString FromAnsi(std::string_view cp1250);
std::string ToAnsi(const QString& text);

}  // namespace app

#endif  // SALDEX_APP_QT_TEXT_H_
