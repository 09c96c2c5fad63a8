// zelk-calc without plots, where the build has no Qt Charts (Windows): zelk-calc refuses --plot
// before any work, and everything else works.
#include "apps/zelk-calc/grafico_qt.h"

#include "apps/zelk-calc/zelk_calc.h"

namespace zelk {

const bool kDibujaGraficos = false;

std::optional<std::string> DibujarCurvas(const lotes::Curvas&, lotes::FormatoGrafico, int, int,
                                         std::string& error) {
  error = "--plot: " + std::string(kSinGraficos);
  return std::nullopt;
}

}  // namespace zelk
