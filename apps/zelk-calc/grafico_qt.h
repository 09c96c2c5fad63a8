// zelk-calc's plot of a sweep, drawn by zelk::grafico (QCustomPlot) in a module of its own, which
// zelk-calc loads the first time it draws: the angles above, the powers below, against the swept
// parameter, and a family of curves for a grid.
#pragma once

#include <optional>
#include <string>

#include "lote/lotes.h"

namespace zelk {

// The picture of `ancho` by `alto` pixels as the bytes of a file of `formato`; empty, with the
// reason in `error`, when it cannot be drawn.
std::optional<std::string> DibujarCurvas(const lotes::Curvas& curvas, lotes::FormatoGrafico formato,
                                         int ancho, int alto, std::string& error);

// The module's one entry gives its DibujarCurvas, under this name.
using FuncionDibujar = decltype(&DibujarCurvas);
inline constexpr const char* kEntradaDelModulo = "zelk_grafico_dibujar";

// Loads the module where this platform keeps it and gives its entry; null, with the reason in
// `error`, when it cannot.
FuncionDibujar CargarModuloGrafico(std::string& error);

}  // namespace zelk
