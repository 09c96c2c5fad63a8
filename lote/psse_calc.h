// zelk-calc --psse: every two-terminal DC line of a PSS/E RAW case solved under its own control
// data, from the case's bus voltages, one row per line, the line's name first.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "lote/tabla.h"

namespace zelk::lotes {

// The columns of the table, in order: the line, the solution's mode and chosen values, the 13
// results, the warnings.
inline constexpr std::string_view kColumnaLinea = "linea";

// Reads the case from `entrada` (named `nombre` in messages) and writes the table. Exit status 0;
// 3 when a line's data were refused (named on `err`, its reason in its row's warnings); 2 for a
// case that cannot be read (the line of the file and why on `err`). Lines of other kinds are named
// on `err` and skipped. A failed read throws archivos::ErrorLectura, a failed write
// archivos::ErrorEscritura.
int CalcularPsse(std::istream& entrada, const ConfiguracionRegional& r, OpcionesSalida opciones,
                 std::ostream& salida, std::ostream& err, const std::string& nombre);

}  // namespace zelk::lotes
