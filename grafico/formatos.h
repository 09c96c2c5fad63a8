// The file formats this build writes plots in, known without loading Qt: SVG only where Qt Svg is,
// which Windows' Qt lacks.
#pragma once

#include <algorithm>
#include <array>

#include "lote/lotes.h"

namespace zelk::grafico {

#if ZELK_GRAFICO_SVG
inline constexpr std::array kFormatos{lotes::FormatoGrafico::Png, lotes::FormatoGrafico::Pdf,
                                      lotes::FormatoGrafico::Svg};
#else
inline constexpr std::array kFormatos{lotes::FormatoGrafico::Png, lotes::FormatoGrafico::Pdf};
#endif

constexpr bool Escribe(lotes::FormatoGrafico formato) {
  return std::find(kFormatos.begin(), kFormatos.end(), formato) != kFormatos.end();
}

}  // namespace zelk::grafico
