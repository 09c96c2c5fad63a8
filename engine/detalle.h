// What lies between a link's data and its results, per converter end: the valve-side voltage, the
// bridges' no-load DC voltage, the reactive and resistive drops, the cosine of the angle and the
// overlap, as the pass forms them.
#pragma once

#include <array>
#include <string_view>

#include "engine/enlace.h"

namespace zelk {

// One end, in kV and degrees: Vd = Vd0 cos(angle) - caidaX - caidaR at the rectifier (cos alpha),
// Vd = Vd0 cos(gamma) - caidaX + caidaR at the inverter. Empty where the pass cannot form it.
struct DetalleExtremo {
  Resultado E;       // valve side, line to line, rms
  Resultado Vd0;     // N bridges at no load: N (3 sqrt2 / pi) E
  Resultado caidaX;  // N (3 / pi) Xc Idc
  Resultado caidaR;  // N 2 Rc Idc
  Resultado coseno;  // cos alpha, cos gamma
  Resultado solape;  // mur, mui
};

struct DetalleEnlace {
  DetalleExtremo rectificador, inversor;
};

DetalleEnlace CalcularDetalle(const DatosEnlace& d);

// The twelve figures as they are shown: name, unit (empty for the cosine), the end, the member
// and the display pattern.
struct DescripcionDetalle {
  std::string_view nombre;
  std::string_view unidad;
  bool inversor;
  Resultado DetalleExtremo::*miembro;
  const Patron* patron;
};
inline constexpr Patron kPatronCoseno{"0.00000"};
extern const std::array<DescripcionDetalle, 12> kDetalle;

inline const Resultado& ValorDetalle(const DetalleEnlace& d, const DescripcionDetalle& e) {
  return (e.inversor ? d.inversor : d.rectificador).*e.miembro;
}

}  // namespace zelk
