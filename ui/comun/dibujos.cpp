#include "ui/comun/dibujos.h"

#include <QPainter>
#include <QSvgRenderer>

namespace zelk::ui {

namespace {

QPixmap Pintar(const QString& recurso, QSize tamano, qreal escala) {
  QSvgRenderer dibujo(recurso);
  QPixmap mapa(tamano * escala);
  mapa.setDevicePixelRatio(escala);
  mapa.fill(Qt::transparent);
  QPainter pintor(&mapa);
  dibujo.render(&pintor, QRectF(QPointF(0, 0), QSizeF(tamano)));
  return mapa;
}

}  // namespace

QIcon IconoAplicacion() {
  // Rendered once per size here rather than through the SVG icon plugin, which a bare system may
  // lack.
  QIcon icono;
  for (int lado : {16, 32, 48})
    icono.addPixmap(Pintar(QStringLiteral(":/zelk/icono.svg"), QSize(lado, lado), 1.0));
  return icono;
}

QPixmap DibujoEsquema(qreal escala) {
  return Pintar(QStringLiteral(":/zelk/esquema.svg"), QSize(kAnchoEsquema, kAltoEsquema), escala);
}

}  // namespace zelk::ui
