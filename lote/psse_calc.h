// zelk-calc --psse: every two-terminal DC line of a PSS/E RAW case solved under its own control
// data, from the case's bus voltages, one row per line, the line's name first.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "lote/tabla.h"
#include "psse/caso.h"

namespace zelk::lotes {

// The columns of the table, in order: the line, the solution's mode and chosen values, the 13
// results, the warnings.
inline constexpr std::string_view kColumnaLinea = "linea";

// One two-terminal line of a case as every front end shows it: its name, the line of the file it
// starts on, and either its data with their solution or why its data were refused.
struct LineaResuelta {
  std::string nombre;
  std::size_t linea = 0;
  std::optional<DatosEnlace> datos;  // with the present taps; Idc and Vdci are the solution's
  std::optional<DatosControl> control;
  std::optional<SolucionControl> solucion;
  std::string motivo;               // why it is not solved
  std::size_t lineaMotivo = 0;      // the line of the file at fault
  std::vector<std::string> avisos;  // the solution's warnings, or the reason
};

struct CasoResuelto {
  std::vector<LineaResuelta> lineas;
  // What was left aside, one note each: lines of other kinds, the end of the file that could not
  // be followed, a case without two-terminal lines (named `nombre`).
  std::vector<std::string> notas;
};

// The case in `entrada`, every two-terminal line solved; why not when it cannot be read, or when
// its `tamano`, where the file has one, is more than a case can be (it is not read then). A failed
// read throws archivos::ErrorLectura.
std::variant<CasoResuelto, psse::Rechazo> ResolverCaso(
    std::istream& entrada, const std::string& nombre,
    std::optional<std::uintmax_t> tamano = std::nullopt);

// "línea 12: ..." for a case that cannot be read, the reason alone when it concerns all of it.
std::string TextoNoLeido(const psse::Rechazo& r);

// "línea 9: «DC1» no se resuelve: STPR = 0: ha de ser mayor que 0"
std::string TextoNoResuelta(const LineaResuelta& l);

// Reads the case from `entrada` (named `nombre` in messages) and writes the table. Exit status 0;
// 3 when a line's data were refused (named on `err` with the line of the file at fault, the same
// in its row's warnings); 2 for a case that cannot be read (the line of the file and why on
// `err`). Lines of other kinds, and what the case says that the solution leaves out, are noted on
// `err`. A blocked line has no angles. A failed read throws archivos::ErrorLectura, a failed write
// archivos::ErrorEscritura.
int CalcularPsse(std::istream& entrada, const ConfiguracionRegional& r, OpcionesSalida opciones,
                 std::ostream& salida, std::ostream& err, const std::string& nombre,
                 std::optional<std::uintmax_t> tamano = std::nullopt);

}  // namespace zelk::lotes
