// "Buscar…" of a study: its settings read as a file's numbers are, the search for the values of a
// datum that give a result over the study's case (the pass, or the solution under control data),
// and a value found put into the case.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "lote/estudio.h"
#include "lote/objetivo_lote.h"

namespace zelk::lotes {

struct BusquedaHecha {
  PeticionObjetivo peticion;
  Hallado hallado;
  // What the user should know of the search: the range searched when none was given, the
  // stretches over which the result holds the value; or why no value serves.
  std::vector<std::string> notas;
};

// The names a window's user knows the three parts of a search by.
inline constexpr NombresObjetivo kNombresBusqueda{"resultado", "dato", "margen"};

// The search the study asks for; why not, naming the setting at fault or the case's datum. The
// datum searched needs no usable text of its own in the case: the values tried replace it.
std::variant<BusquedaHecha, std::string> BuscarEnEstudio(const Estudio& e,
                                                         const ConfiguracionRegional& r);

// The value `x` of the datum searched into the study's case, written so that it reads back
// exactly.
void PonerValorHallado(Estudio& e, const Variable& v, double x, const ConfiguracionRegional& r);

}  // namespace zelk::lotes
