// A case's two-terminal DC lines as zelk's link and control data: the AC side as the power-flow
// case has it (Uacr = |V| x base kV of the bus, Uacr_nom = base kV, Eacr_nom = EBAS x TR), the
// controls from the line's own record. Bad data are refused in the file's own names.
#pragma once

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

// The line's data, or why they cannot be solved ("STPR = 0: ha de ser mayor que 0").
std::variant<EnlaceDelCaso, std::string> EnlaceDeLinea(const Caso& caso,
                                                       const LineaDosTerminales& linea);

// The line solved under its controls, or why no operating point meets its order
// ("MDC = 2, SETVL = 1000000: ningún punto de trabajo cumple la orden con estos datos: ...").
std::variant<SolucionControl, std::string> ResolverLinea(const EnlaceDelCaso& enlace);

// The record's name of a control datum at one end or for the line ("STPR" for tapr_paso).
std::string_view NombreRaw(const DescripcionControl& dato);

}  // namespace zelk::psse
