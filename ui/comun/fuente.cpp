#include "ui/comun/fuente.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>

namespace zelk::ui {

namespace {

bool Cabe(const QFont& fuente, int alto, const std::vector<Hueco>& huecos) {
  const QFontMetrics medidas(fuente);
  if (medidas.height() > alto)
    return false;
  for (const auto& h : huecos) {
    if (h.alto > 0) {
      const QRect ocupa =
          medidas.boundingRect(QRect(0, 0, h.ancho, 1 << 20), Qt::TextWordWrap, h.texto);
      if (ocupa.width() > h.ancho || ocupa.height() > h.alto)
        return false;
    } else if (medidas.horizontalAdvance(h.texto) > h.ancho) {
      return false;
    }
  }
  return true;
}

}  // namespace

QFont FuenteQueCabe(const QFont& base, int alto, const std::vector<Hueco>& huecos) {
  if (Cabe(base, alto, huecos))
    return base;
  // Heights and widths grow almost in proportion to the size, so one measurement at the base size
  // gives a first guess; each size tried loads a font, which is what start-up pays for.
  const QFontMetricsF medidas(base);
  double escala = alto / medidas.height();
  for (const auto& h : huecos)
    if (h.alto == 0)
      escala = std::min(escala, h.ancho / std::max(1.0, medidas.horizontalAdvance(h.texto)));
  const int pxBase = QFontInfo(base).pixelSize();
  // No smaller size to try: a font already at the least, or no font at all (a system without
  // fonts gives sizes of 0 or less, which no font can be set to).
  if (pxBase <= kPixelesMinimos)
    return base;
  int px = std::clamp(static_cast<int>(pxBase * escala), kPixelesMinimos, pxBase - 1);
  QFont fuente = base;
  // Pixel sizes keep the rows exact whatever the screen's dpi.
  for (fuente.setPixelSize(px); px > kPixelesMinimos && !Cabe(fuente, alto, huecos);
       fuente.setPixelSize(px))
    --px;
  return fuente;
}

}  // namespace zelk::ui
