#include "app/qt_text.h"

#include "dbf/charset_tables.h"

namespace app {

QString FromAnsi(std::string_view cp1250) {
  return QString::fromStdString(dbf::Cp1250ToUtf8(cp1250));
}

std::string ToAnsi(const QString& text) {
  return dbf::Utf8ToCp1250(text.toStdString());
}

}  // namespace app
