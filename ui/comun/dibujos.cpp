#include "ui/comun/dibujos.h"

#include <QImage>

namespace zelk::ui {

QIcon IconoAplicacion() {
  // Loaded once per run; the 16-pixel image is a drawing of its own, the larger ones come from
  // the 32-pixel drawing.
  static const QIcon icono = [] {
    QIcon i;
    for (int lado : {16, 32, 64})
      i.addFile(QStringLiteral(":/zelk/icono-%1.png").arg(lado), QSize(lado, lado));
    return i;
  }();
  return icono;
}

QPixmap DibujoEsquema(qreal escala) {
  // Rendered at one and at two device pixels per pixel; other ratios scale the nearest image
  // that is not smaller.
  const bool doble = escala > 1.0;
  QImage imagen(doble ? QStringLiteral(":/zelk/esquema@2x.png")
                      : QStringLiteral(":/zelk/esquema.png"));
  const qreal propia = doble ? 2.0 : 1.0;
  if (escala > 0.0 && escala != propia) {
    const QSize tamano = imagen.size() / propia;
    imagen = imagen.scaled((QSizeF(tamano) * escala).toSize(), Qt::IgnoreAspectRatio,
                           Qt::SmoothTransformation);
    imagen.setDevicePixelRatio(escala);
  } else {
    imagen.setDevicePixelRatio(propia);
  }
  return QPixmap::fromImage(std::move(imagen));
}

}  // namespace zelk::ui
