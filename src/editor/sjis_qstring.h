// Shift_JIS bytes to and from Qt's strings, for the clipboard, typing and
// the input method.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "textcode/utf8_convert.h"

namespace rd {

inline std::string ToSjis(const QString& s) {
  const QByteArray utf8 = s.toUtf8();
  return Utf8ToSjis(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))).value_or(std::string());
}

inline QString FromSjis(std::string_view s) {
  const std::string utf8 = SjisToUtf8(s).value_or(std::string());
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace rd
