#include "ui/main/caja_texto.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace zelk::ui {

namespace {

// QLineEdit keeps this many pixels between its contents' edge and its text, on each side.
constexpr int kMargenTexto = 2;

}  // namespace

CajaTexto::CajaTexto(QWidget* padre) : QLineEdit(padre) {
  connect(this, &QLineEdit::textChanged, this, [this] { ActualizarAyuda(); });
}

void CajaTexto::Escribir(const QString& texto) {
  setText(texto);
  setCursorPosition(0);
}

QRect CajaTexto::Renglon() const {
  QStyleOptionFrame opcion;
  initStyleOption(&opcion);
  const QRect contenido = style()
                              ->subElementRect(QStyle::SE_LineEditContents, &opcion, this)
                              .marginsRemoved(textMargins());
  return contenido.adjusted(kMargenTexto, 0, -kMargenTexto, 0);
}

bool CajaTexto::Desborda() const {
  // As QLineEdit judges it: the text and the cursor after it.
  return fontMetrics().horizontalAdvance(text()) + 1 > Renglon().width();
}

void CajaTexto::ActualizarAyuda() {
  setToolTip(Desborda() ? text() : QString());
}

void CajaTexto::changeEvent(QEvent* evento) {
  QLineEdit::changeEvent(evento);
  if (evento->type() == QEvent::FontChange || evento->type() == QEvent::StyleChange)
    ActualizarAyuda();
}

void CajaTexto::paintEvent(QPaintEvent* evento) {
  QLineEdit::paintEvent(evento);
  if (!Desborda())
    return;
  // Where the text begins, from the cursor's place: QLineEdit puts its cursor rectangle 5 pixels
  // to the left of the cursor.
  const QFontMetrics medidas = fontMetrics();
  const QRect renglon = Renglon();
  const int inicio =
      cursorRect().x() + 5 - medidas.horizontalAdvance(text().left(cursorPosition()));
  const int fin = inicio + medidas.horizontalAdvance(text());
  const QString marca = MarcaDeCorte();
  const int ancho = medidas.horizontalAdvance(marca) + 1;
  QPainter pintor(this);
  pintor.setPen(palette().color(QPalette::Text));
  const auto marcar = [&](int x) {
    const QRect lugar(x, renglon.top(), ancho, renglon.height());
    pintor.fillRect(lugar, palette().brush(QPalette::Base));
    pintor.drawText(lugar, Qt::AlignCenter, marca);
  };
  if (fin > renglon.right() + 1)
    marcar(renglon.right() + 1 - ancho);
  if (inicio < renglon.left())
    marcar(renglon.left());
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
