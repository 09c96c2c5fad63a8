// A case's two-terminal DC lines as zelk's link and control data: the AC side as the power-flow
// case has it (Uacr = |V| x base kV of the bus, Uacr_nom = base kV, Eacr_nom = EBAS x TR), the
// controls from the line's own record. Bad data are refused in the file's own names.
#pragma once

#include <cstddef>
#include <string>
#include <variant>

#include "engine/control.h"
#include "engine/enlace.h"
#include "psse/raw.h"

namespace zelk::psse {

struct EnlaceDelCaso {
  DatosEnlace datos;  // Idc and Vdci are the solution's
  DatosControl control;
};

// Why a line's data cannot be solved ("STPR = 0: ha de ser mayor que 0"), and the line of the
// file that holds the datum at fault.
struct Rechazo {
  std::size_t linea;
  std::string motivo;
};

// The reason as a row's warning gives it: "línea 57: STPI = 0: ha de ser mayor que 0".
std::string TextoRechazo(const Rechazo& r);

// The line's data, or why they cannot be solved.
std::variant<EnlaceDelCaso, Rechazo> EnlaceDeLinea(const Caso& caso,
                                                   const LineaDosTerminales& linea);

// A result the solution does not have: a blocked line has no firing, extinction or overlap angle.
// It is left empty (null, NaN), unlike one the equations cannot give ("ERROR").
bool SinResultado(const SolucionControl& s, const DescripcionResultado& d);

// The record's name of a control datum at one end or for the line ("STPR" for tapr_paso).
std::string_view NombreRaw(const DescripcionControl& dato);

}  // namespace zelk::psse
