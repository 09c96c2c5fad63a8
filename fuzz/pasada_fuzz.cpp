// The whole pass on 18 arbitrary field texts: no crash, all 13 result fields written, "ERROR"
// exactly where the results cannot be formed, and a rejected pass always ending with the
// defaults in the fields and their results beside them; each ERROR with its reason, named, and
// the detail of both ends formed without a crash.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/calculo.h"
#include "engine/detalle.h"
#include "engine/formulario_memoria.h"
#include "engine/motivos.h"
#include "engine/pasada.h"
#include "fuzz/comun_fuzz.h"

namespace {

using namespace zelk;

constexpr std::string_view kSinEscribir = "\x01sin escribir";

// Values an engineer types: nothing in this range can overflow a working value.
bool Razonable(double v) {
  return v == 0 || (std::fabs(v) >= 1e-3 && std::fabs(v) <= 1e4);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t n) {
  std::string_view datos(reinterpret_cast<const char*>(bytes), n);
  const ConfiguracionRegional r = fuzz::TomarRegional(datos);

  FormularioMemoria form;
  Calculadora calc(form, r);
  // The 18 texts, one per line; missing ones are empty.
  TextosEntrada textos{};
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    const std::size_t fin = std::min(datos.find('\n'), datos.size());
    textos[i] = datos.substr(0, fin);
    datos.remove_prefix(std::min(fin + 1, datos.size()));
    form.PonerTexto(kParametros[i].campo, textos[i]);
  }
  for (const auto& d : kResultados)
    form.PonerTexto(d.campo, kSinEscribir);

  const bool aceptada = calc.Calcular();

  Comprobar(aceptada == LeerDatos(textos, r).has_value());
  Comprobar(form.Mensajes().size() == (aceptada ? 0u : 1u));
  if (!aceptada)
    for (const auto& p : kParametros)
      Comprobar(form.Ver(p.campo) == p.valorDefault);

  const ResultadosEnlace esperados = CalcularEnlace(calc.Datos());
  bool razonables = true;
  for (const auto& p : kParametros)
    razonables = razonables && Razonable(calc.Datos().*p.miembro);
  // A failed angle or ratio spreads to the results formed from it.
  bool fallaPropia = false;
  for (const auto& d : kResultados)
    fallaPropia = fallaPropia || (d.puedeMostrarError && !(esperados.*d.miembro).has_value());
  for (const auto& d : kResultados) {
    const std::string& texto = form.Ver(d.campo);
    Comprobar(texto != kSinEscribir);
    const Resultado& valor = esperados.*d.miembro;
    Comprobar((texto == kMarcaError) == !valor.has_value());
    Comprobar(texto == TextoResultado(valor, d, r));
    // Results that the link equations always form fail only on values beyond any link's.
    if (!d.puedeMostrarError && razonables && !fallaPropia)
      Comprobar(valor.has_value());
  }

  const auto motivos = MotivosDeError(calc.Datos(), esperados, r);
  std::size_t m = 0;
  for (const auto& d : kResultados)
    if (!(esperados.*d.miembro).has_value()) {
      Comprobar(m < motivos.size() && motivos[m].starts_with(std::string(d.nombre) + ": "));
      ++m;
    }
  Comprobar(m == motivos.size());
  AvisosDelModelo(calc.Datos(), esperados, r);
  CalcularDetalle(calc.Datos());
  return 0;
}
