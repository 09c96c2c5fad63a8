// A RAW case on any bytes: it is read, or refused with a line of the file, the same whether the
// bytes come at once or a few at a time; every two-terminal line is refused by name with a line of
// the file or solved, and a solution is the pass at the point it chose, with a current that is a
// number and taps where they were or on their grid.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

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

// The bytes a few at a time, as a pipe may give them: lines cut anywhere between blocks.
class Goteo : public psse::Fuente {
 public:
  explicit Goteo(std::string_view texto) : texto_(texto) {}
  std::size_t Leer(char* destino, std::size_t n) override {
    n = std::min({n, texto_.size(), std::size_t{1} + (texto_.size() % 5)});
    std::copy_n(texto_.data(), n, destino);
    texto_.remove_prefix(n);
    return n;
  }

 private:
  std::string_view texto_;
};

// What a reading gives, to compare two: the case's outline, or the error.
std::string Resumen(const psse::Caso& c) {
  std::string r = std::to_string(c.version) + " " + std::to_string(c.barras.size()) + "\n";
  for (const auto& l : c.lineas)
    r += l.nombre + " " + std::to_string(l.linea) + " " + std::to_string(l.inversor.linea) + "\n";
  for (const auto& n : c.notas)
    r += std::to_string(n.linea) + " " + n.texto + "\n";
  for (const auto& o : c.omitidas)
    r += o.nombre + " " + std::to_string(o.linea) + "\n";
  return r + c.notaFinal;
}

std::string Texto(const psse::ErrorRaw& e) {
  return std::to_string(e.linea) + " " + e.motivo;
}

std::string PorGoteo(std::string_view texto) {
  try {
    Goteo goteo(texto);
    return Resumen(psse::LeerCaso(goteo));
  } catch (const psse::ErrorRaw& e) {
    return Texto(e);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t n) {
  const std::string_view texto(reinterpret_cast<const char*>(bytes), n);
  std::size_t lineas = 1;
  for (const char c : texto)
    lineas += c == '\n';
  psse::Caso caso;
  std::string leido;
  try {
    caso = psse::LeerCaso(texto);
    leido = Resumen(caso);
  } catch (const psse::ErrorRaw& e) {
    Comprobar(e.linea >= 1 && e.linea <= lineas);
    Comprobar(!e.motivo.empty() && EsUtf8(e.motivo));
    leido = Texto(e);
  }
  Comprobar(PorGoteo(texto) == leido);
  if (caso.version == 0)
    return 0;
  Comprobar(caso.version >= 33 && caso.version <= 35);
  for (const auto& nota : caso.notas)
    Comprobar(nota.linea >= 1 && nota.linea <= lineas && EsUtf8(nota.texto));
  for (const auto& l : caso.lineas) {
    Comprobar(EsUtf8(l.nombre));
    const auto enlace = psse::EnlaceDeLinea(caso, l);
    if (const auto* rechazo = std::get_if<psse::Rechazo>(&enlace)) {
      Comprobar(!rechazo->motivo.empty() && EsUtf8(rechazo->motivo));
      Comprobar(rechazo->linea >= 1 && rechazo->linea <= lineas);
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
  }
  return 0;
}
