// The plot of a sweep, through Qt Charts rendered off-screen: the angles above, the powers
// below, against the swept parameter; points without a value are gaps in their curves.
#pragma once

#include <optional>
#include <string>

#include "calc/lotes.h"

namespace zelk {

// Whether this build draws plots: Windows' Qt has no Qt Charts.
extern const bool kDibujaGraficos;

// The picture of `ancho` by `alto` pixels as the bytes of an SVG or PNG file; empty, with the
// reason in `error`, when it cannot be drawn.
std::optional<std::string> DibujarCurvas(const lotes::Curvas& curvas, lotes::FormatoGrafico formato,
                                         int ancho, int alto, std::string& error);

}  // namespace zelk
