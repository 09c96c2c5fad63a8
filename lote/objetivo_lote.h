// A target for every front end: --target RESULT=VALUE --vary DATUM [--range MIN:MAX] read and
// checked, the search over one link, the words for what it finds, and a table's point solved for
// it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "engine/control.h"
#include "engine/objetivo.h"
#include "engine/texto_numero.h"

namespace zelk::lotes {

struct Punto;

struct PeticionObjetivo {
  Objetivo objetivo;
  double valor = 0;
  Variable variable;
  std::optional<Margen> margen;  // empty: MargenPorDefecto
};

// The names the caller's users know the three parts by.
struct NombresObjetivo {
  std::string_view objetivo = "--target", variar = "--vary", margen = "--range";
};

// The three texts as given (the range may be empty), numbers read as a table's; `conControl`: the
// link is solved under control data, where Idc and Vdci are not data but chosen values. Why not,
// naming the part at fault.
std::variant<PeticionObjetivo, std::string> LeerObjetivo(std::string_view objetivo,
                                                         std::string_view variar,
                                                         std::string_view margen, bool conControl,
                                                         const ConfiguracionRegional& r,
                                                         NombresObjetivo nombres = {});
// The same check for a request made of names and numbers.
std::variant<PeticionObjetivo, std::string> ComprobarObjetivo(
    std::string_view resultado, double valor, std::string_view dato, std::optional<Margen> margen,
    bool conControl, const ConfiguracionRegional& r, NombresObjetivo nombres = {});

// Why a request read as if control data might be given does not stand once it is known whether
// they are (`conControl`): a chosen value or a control datum without them, Idc or Vdci with them.
std::optional<std::string> ObjetivoConControl(const PeticionObjetivo& p, bool conControl,
                                              NombresObjetivo nombres = {});

// The search over one link, and the range it covered.
struct Hallado {
  Busqueda busqueda;
  Margen margen;
};
Hallado BuscarObjetivo(const PeticionObjetivo& p, const DatosEnlace& d,
                       const std::optional<DatosControl>& c);

// Why no value of the datum serves: "ningún Idc entre 0 y 8000 da Pr = 50000; Pr va de 0,0 a
// 4968,0 en ese margen".
std::string MotivoSinSolucion(const PeticionObjetivo& p, const Hallado& h,
                              const ConfiguracionRegional& r);
// A stretch over which the result holds the value: "Pr = 1098,0 con Vdcnom de 275 a 825".
std::string TextoTramo(const PeticionObjetivo& p, const Raiz& raiz, const ConfiguracionRegional& r);
// The range searched when none was given, and its rule: "Idc entre 0 y 8000 (0 a 4 veces el valor
// dado ...)".
std::string TextoMargen(const PeticionObjetivo& p, const Margen& m, const ConfiguracionRegional& r);

// A point of a table solved for the target: the datum set to the first value found, and the pass
// (or the solution under control data) there; `sinSolucion`, with `motivo`, when none serves. A
// point whose data were rejected is left as it is.
void ResolverPunto(Punto& p, const PeticionObjetivo& peticion, const ConfiguracionRegional& r,
                   std::string* motivo);

// The column a table gives the datum solved for: its name, or under control data that of a
// present tap, headed as a given one.
std::string ColumnaResuelta(const PeticionObjetivo& p, bool conControl);

}  // namespace zelk::lotes
