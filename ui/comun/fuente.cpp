#include "ui/comun/fuente.h"

#include <QFontInfo>
#include <QFontMetrics>

namespace zelk::ui {

namespace {

bool Cabe(const QFont& fuente, int alto, const std::vector<Hueco>& huecos) {
  const QFontMetrics medidas(fuente);
  if (medidas.height() > alto)
    return false;
  for (const auto& h : huecos)
    if (medidas.horizontalAdvance(h.texto) > h.ancho)
      return false;
  return true;
}

}  // namespace

QFont FuenteQueCabe(const QFont& base, int alto, const std::vector<Hueco>& huecos) {
  if (Cabe(base, alto, huecos))
    return base;
  QFont fuente = base;
  // Pixel sizes keep the rows exact whatever the screen's dpi.
  for (int px = QFontInfo(base).pixelSize() - 1; px > kPixelesMinimos; --px) {
    fuente.setPixelSize(px);
    if (Cabe(fuente, alto, huecos))
      return fuente;
  }
  fuente.setPixelSize(kPixelesMinimos);
  return fuente;
}

}  // namespace zelk::ui
