// Both windows are laid out in twips, 1/1440 inch: 15 to a pixel at 96 dpi. Qt's device-
// independent pixels keep the proportions on other screens.
#pragma once

#include <QRect>

namespace zelk::ui {

inline constexpr int kTwipsPorPixel = 15;

constexpr int Px(int twips) {
  return twips / kTwipsPorPixel;
}

inline QRect Pixeles(int izquierda, int arriba, int ancho, int alto) {
  return {Px(izquierda), Px(arriba), Px(ancho), Px(alto)};
}

}  // namespace zelk::ui
