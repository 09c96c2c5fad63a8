// The plot of a sweep, through Qt Charts rendered off-screen: the angles above, the powers
// below, against the swept parameter; points without a value are gaps in their curves.
#pragma once

#include <optional>
#include <string>

#include "calc/lotes.h"

namespace zelk {

// Writes `archivo` (.svg or .png) of `ancho` by `alto` pixels; the reason when it cannot.
std::optional<std::string> DibujarCurvas(const lotes::Curvas& curvas, const std::string& archivo,
                                         int ancho, int alto);

}  // namespace zelk
