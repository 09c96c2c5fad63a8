// The plot of a sweep, through Qt Charts rendered off-screen: the angles above, the powers
// below, against the swept parameter; points without a value are gaps in their curves.
#pragma once

#include <optional>
#include <string>

#include "lote/lotes.h"

namespace zelk {

// Whether this build draws plots: Windows' Qt has no Qt Charts.
extern const bool kDibujaGraficos;

// The picture of `ancho` by `alto` pixels as the bytes of an SVG or PNG file; empty, with the
// reason in `error`, when it cannot be drawn.
std::optional<std::string> DibujarCurvas(const lotes::Curvas& curvas, lotes::FormatoGrafico formato,
                                         int ancho, int alto, std::string& error);

// Where plots are drawn by a module that zelk-calc loads the first time it draws, the module's
// one entry gives its DibujarCurvas, under this name.
using FuncionDibujar = decltype(&DibujarCurvas);
inline constexpr const char* kEntradaDelModulo = "zelk_grafico_dibujar";

}  // namespace zelk
