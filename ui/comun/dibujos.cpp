#include "ui/comun/dibujos.h"

#include <QPainter>
#include <QSvgRenderer>

namespace zelk::ui {

namespace {

QPixmap Pintar(QSvgRenderer& dibujo, QSize tamano, qreal escala) {
  QPixmap mapa(tamano * escala);
  mapa.setDevicePixelRatio(escala);
  mapa.fill(Qt::transparent);
  QPainter pintor(&mapa);
  dibujo.render(&pintor, QRectF(QPointF(0, 0), QSizeF(tamano)));
  return mapa;
}

}  // namespace

QIcon IconoAplicacion() {
  // Rendered here, once per size and once per run, rather than through the SVG icon plugin,
  // which a bare system may lack; larger sizes are scaled from the 32-pixel image.
  static const QIcon icono = [] {
    QSvgRenderer dibujo(QStringLiteral(":/zelk/icono.svg"));
    QIcon i;
    for (int lado : {16, 32})
      i.addPixmap(Pintar(dibujo, QSize(lado, lado), 1.0));
    return i;
  }();
  return icono;
}

QPixmap DibujoEsquema(qreal escala) {
  QSvgRenderer dibujo(QStringLiteral(":/zelk/esquema.svg"));
  return Pintar(dibujo, QSize(kAnchoEsquema, kAltoEsquema), escala);
}

}  // namespace zelk::ui
