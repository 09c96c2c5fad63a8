// zelk-calc's plots through the module, loaded once, the first time one is drawn.
#include "apps/zelk-calc/grafico_qt.h"

namespace zelk {

std::optional<std::string> DibujarCurvas(const lotes::Curvas& curvas, lotes::FormatoGrafico formato,
                                         int ancho, int alto, std::string& error) {
  static std::string fallo;
  static const FuncionDibujar dibujar = CargarModuloGrafico(fallo);
  if (dibujar == nullptr) {
    error = "--plot: " + fallo;
    return std::nullopt;
  }
  return dibujar(curvas, formato, ancho, alto, error);
}

}  // namespace zelk
