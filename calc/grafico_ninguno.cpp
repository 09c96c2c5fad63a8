// zelk-calc without plots, where the build has no Qt Charts (Windows): --plot is refused with the
// reason, and everything else works.
#include "calc/grafico_qt.h"

namespace zelk {

std::optional<std::string> DibujarCurvas(const lotes::Curvas&, lotes::FormatoGrafico, int, int,
                                         std::string& error) {
  error = "--plot: esta versión de zelk-calc no dibuja gráficos (no lleva Qt Charts)";
  return std::nullopt;
}

}  // namespace zelk
