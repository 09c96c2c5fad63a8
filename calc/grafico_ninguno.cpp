// zelk-calc without plots, where the build has no Qt Charts (Windows): --plot is refused with the
// reason, and everything else works.
#include "calc/grafico_qt.h"

namespace zelk {

std::optional<std::string> DibujarCurvas(const lotes::Curvas&, const std::string&, int, int) {
  return "--plot: esta versión de zelk-calc no dibuja gráficos (no lleva Qt Charts)";
}

}  // namespace zelk
