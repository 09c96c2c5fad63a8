#include "ui/main/caja_texto.h"

#include <QKeyEvent>

namespace zelk::ui {

void CajaTexto::Escribir(const QString& texto) {
  setText(texto);
  setCursorPosition(0);
}

void CajaTexto::keyPressEvent(QKeyEvent* evento) {
  // Alt with a character is a menu key or a shortcut, never text. Ctrl+Alt stays text: Windows
  // reports AltGr that way, and it types "@", "#" and the like on many keyboards.
  const auto modificadores = evento->modifiers();
  if ((modificadores & Qt::AltModifier) && !(modificadores & Qt::ControlModifier) &&
      !evento->text().isEmpty()) {
    evento->ignore();
    return;
  }
  QLineEdit::keyPressEvent(evento);
}

}  // namespace zelk::ui
