// Solving for a target: the values of one datum that make one result equal a value within a range,
// found by bracketing over a grid and a safe root finder, over the pass or the solution under
// control data.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/control.h"
#include "engine/enlace.h"
#include "engine/texto_numero.h"

namespace zelk {

// The function searched: its value at x, or nothing where it cannot be formed (a result shown as
// ERROR, data the checks reject).
using FuncionObjetivo = std::function<std::optional<double>(double)>;

// A value of the datum that gives the result asked for; where the result holds that value over a
// stretch of the datum, the stretch's start and its end.
struct Raiz {
  double x;
  std::optional<double> hasta;
};

struct Busqueda {
  std::vector<Raiz> raices;  // in increasing order
  // The least and the greatest value the function takes over the range, where it can be formed;
  // empty when it cannot anywhere.
  std::optional<double> minimo, maximo;
};

// Intervals of the grid the range is first divided into; a root closer to another than the width
// of one may be missed only where the function turns back within it without a turn that the grid
// shows.
inline constexpr int kTramosBusqueda = 128;

// Every x in [desde, hasta] with f(x) = valor: where f changes sign across an interval of the
// grid (or across a turning point found between three of its points), the root to the last bit;
// where f cannot be formed past an edge of the range it can, the edge when f there lies within
// `tolerancia` of the value (an angle that reaches 0 where its cosine reaches 1). A jump of f
// across the value by more than `tolerancia` is no root.
Busqueda BuscarRaices(const FuncionObjetivo& f, double desde, double hasta, double valor,
                      double tolerancia);

// A datum to vary: one of the 18, or a control datum.
struct Variable {
  const DescripcionParametro* parametro = nullptr;
  const DescripcionControl* control = nullptr;
  std::string_view Nombre() const;
};

// A result to reach: one of the 13, or one of the values a solution under control data chooses.
struct Objetivo {
  const DescripcionResultado* resultado = nullptr;
  const DescripcionElegido* elegido = nullptr;
  std::string_view Nombre() const;
  // How far a value may stay from the one asked for and still show it: half the last digit shown.
  double Tolerancia(double valor) const;
};

// The result at datum = x, everything else as in `d` (and `c`, when the link is solved under
// control data): through the checks (DatosAceptables, ComprobarControl), then the pass or
// ResolverControl. Empty where the checks reject the data or the result cannot be formed.
std::optional<double> ValorObjetivo(DatosEnlace d, const std::optional<DatosControl>& c, Variable v,
                                    double x, Objetivo o);

// The range searched when none is given: what the datum's physics allows, widely, from the data
// at hand. `ReglaDelMargen` says it in words, numbers under the user's settings ("0,5 a 1,5 veces
// Uacr_nom").
struct Margen {
  double minimo, maximo;
};
Margen MargenPorDefecto(Variable v, const DatosEnlace& d, const DatosControl& c);
std::string ReglaDelMargen(Variable v, const ConfiguracionRegional& r);

}  // namespace zelk
