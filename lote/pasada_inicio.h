// One pass as zelk-calc and the Python module run it: the window's start-up texts, some fields
// retyped, one press of "Calcular".
#pragma once

#include <span>
#include <string>

#include "engine/formulario_memoria.h"
#include "engine/texto_numero.h"

namespace zelk {

// One input field retyped: the parameter and the text as the user would type it.
struct Asignacion {
  const DescripcionParametro* parametro;
  std::string texto;
};

// The form after the window's start-up, the assignments typed into it and one pass; true when
// the pass accepted the data. The form's messages are those of that last pass only.
bool PasadaTrasInicio(FormularioMemoria& form, const ConfiguracionRegional& regional,
                      std::span<const Asignacion> asignaciones);

}  // namespace zelk
