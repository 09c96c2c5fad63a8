#include "lote/pasada_inicio.h"

#include "engine/pasada.h"

namespace zelk {

bool PasadaTrasInicio(FormularioMemoria& form, const ConfiguracionRegional& regional,
                      std::span<const Asignacion> asignaciones) {
  Calculadora calc(form, regional);
  calc.Inicio();
  form.OlvidarMensajes();
  for (const auto& a : asignaciones)
    form.PonerTexto(a.parametro->campo, a.texto);
  return calc.Calcular();
}

}  // namespace zelk
