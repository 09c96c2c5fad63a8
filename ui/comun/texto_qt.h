// The engine's texts are UTF-8; Qt's are UTF-16.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zelk::ui {

inline QString Q(std::string_view texto) {
  return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

inline std::string U8(const QString& texto) {
  return texto.toStdString();
}

}  // namespace zelk::ui
