// The text fields of the main window: a single-line field that, like a classic text box, takes
// no letter typed with Alt (a key meant for a menu or a shortcut) and shows a text written into
// it from its first character. A text longer than the field shows that it goes on: "…" at the
// side where it is cut, and the whole text as the field's tool tip.
#pragma once

#include <QLineEdit>

namespace zelk::ui {

class CajaTexto final : public QLineEdit {
 public:
  explicit CajaTexto(QWidget* padre = nullptr);

  // The whole text replaced at once; the field shows its beginning and the user scrolls for the
  // rest, so a long result never reads as its last digits.
  void Escribir(const QString& texto);

  // The text does not fit the room the field has for it.
  bool Desborda() const;

  // The mark drawn where a text that does not fit is cut.
  static QString MarcaDeCorte() { return QStringLiteral("\u2026"); }

 protected:
  void keyPressEvent(QKeyEvent* evento) override;
  void paintEvent(QPaintEvent* evento) override;
  void changeEvent(QEvent* evento) override;

 private:
  // Where the field draws its line of text, as QLineEdit lays it out.
  QRect Renglon() const;
  // The tool tip follows the text: the whole text when it does not fit, none when it does.
  void ActualizarAyuda();
};

}  // namespace zelk::ui
