// The text fields of the main window: a single-line field that, like a classic text box, takes
// no letter typed with Alt (a key meant for a menu or a shortcut) and shows a text written into
// it from its first character.
#pragma once

#include <QLineEdit>

namespace zelk::ui {

class CajaTexto final : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

  // The whole text replaced at once; the field shows its beginning and the user scrolls for the
  // rest, so a long result never reads as its last digits.
  void Escribir(const QString& texto);

 protected:
  void keyPressEvent(QKeyEvent* evento) override;
};

}  // namespace zelk::ui
