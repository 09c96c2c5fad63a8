// A RAW case on any bytes: it is read, or refused with a line of the file; every two-terminal line
// is refused by name or solved, and a solution is the pass at the point it chose, with a current
// that is a number and taps where they were or on their grid; an order no point meets is refused.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "engine/calculo.h"
#include "engine/pasada.h"
#include "fuzz/comun_fuzz.h"
#include "psse/caso.h"
#include "psse/raw.h"

namespace {

using namespace zelk;

bool EnSuRejilla(double tap, double antes, double minimo, double maximo) {
  return tap == antes || (tap >= minimo && tap <= maximo * (1 + 1e-12));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t n) {
  const std::string_view texto(reinterpret_cast<const char*>(bytes), n);
  psse::Caso caso;
  try {
    caso = psse::LeerCaso(texto);
  } catch (const psse::ErrorRaw& e) {
    std::size_t lineas = 1;
    for (const char c : texto)
      lineas += c == '\n';
    Comprobar(e.linea >= 1 && e.linea <= lineas);
    Comprobar(!e.motivo.empty());
    return 0;
  }
  Comprobar(caso.version >= 33 && caso.version <= 35);
  for (const auto& l : caso.lineas) {
    Comprobar(EsUtf8(l.nombre));
    const auto enlace = psse::EnlaceDeLinea(caso, l);
    if (const auto* motivo = std::get_if<std::string>(&enlace)) {
      Comprobar(!motivo->empty());
      continue;
    }
    const auto& e = std::get<psse::EnlaceDelCaso>(enlace);
    Comprobar(DatosAceptables(e.datos));
    Comprobar(!ComprobarControl(e.control, e.datos.Rdc));
    const SolucionControl s = ResolverControl(e.datos, e.control);
    Comprobar((s.modo == Modo::Bloqueado) == (e.control.orden == Orden::Bloqueado));
    Comprobar(std::isfinite(s.datos.Idc) && s.datos.Idc >= 0);
    Comprobar(EnSuRejilla(s.datos.tapr, e.datos.tapr, e.control.tapr_min, e.control.tapr_max));
    Comprobar(EnSuRejilla(s.datos.tapi, e.datos.tapi, e.control.tapi_min, e.control.tapi_max));
    const ResultadosEnlace pasada = CalcularEnlace(s.datos);
    for (const auto& r : kResultados)
      Comprobar(s.resultados.*r.miembro == pasada.*r.miembro);
    // A line is solved exactly when its point is one, and then both converters run there.
    const auto linea = psse::ResolverLinea(e);
    Comprobar(std::holds_alternative<std::string>(linea) == (s.sinPunto != SinPunto::Ninguno));
    if (const auto* motivo = std::get_if<std::string>(&linea))
      Comprobar(EsUtf8(*motivo) && motivo->find("SETVL") != std::string::npos);
    else if (s.modo != Modo::Bloqueado)
      Comprobar(s.resultados.alpha && s.resultados.mur && s.resultados.gamma && s.resultados.mui);
  }
  return 0;
}
