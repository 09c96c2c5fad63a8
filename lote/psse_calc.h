// zelk-calc --psse: every two-terminal DC line of a PSS/E RAW case solved under its own control
// data, from the case's bus voltages, one row per line, the line's name first.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "lote/tabla.h"

namespace zelk::lotes {

// The columns of the table, in order: the line, the solution's mode and chosen values, the 13
// results, the warnings.
inline constexpr std::string_view kColumnaLinea = "linea";

// Reads the case from `entrada` (named `nombre` in messages) and writes the table. Exit status 0;
// 3 when a line's data were refused (named on `err` with the line of the file at fault, the same
// in its row's warnings); 2 for a case that cannot be read (the line of the file and why on `err`),
// or whose `tamano`, when the file has one, is more than a case can be: it is not read then. Lines
// of other kinds, and what the case says that the solution leaves out, are noted on `err`. A
// blocked line has no angles. A failed read throws archivos::ErrorLectura, a failed write
// archivos::ErrorEscritura.
int CalcularPsse(std::istream& entrada, const ConfiguracionRegional& r, OpcionesSalida opciones,
                 std::ostream& salida, std::ostream& err, const std::string& nombre,
                 std::optional<std::uintmax_t> tamano = std::nullopt);

}  // namespace zelk::lotes
