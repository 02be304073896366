#include "controls/qt_text.h"

#include "dbf/charset_tables.h"

namespace controls {

QString FromAnsi(std::string_view ansi) {
  const std::string utf8 = dbf::Cp1250ToUtf8(ansi);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToAnsi(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return dbf::Utf8ToCp1250(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace controls
