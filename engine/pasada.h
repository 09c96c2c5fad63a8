// A calculation pass over a form, the start-up of the main window and the reset to defaults.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "engine/enlace.h"
#include "engine/formulario.h"
#include "engine/texto_numero.h"

namespace zelk {

using TextosEntrada = std::array<std::string_view, kNumParametros>;

// Both checks of a pass on the 18 input texts in canonical order: every text must convert, and
// none of the parameters tested for zero may be exactly zero. Empty when either check fails.
std::optional<DatosEnlace> LeerDatos(const TextosEntrada& textos, const ConfiguracionRegional& r);

// The same checks on numbers, for callers that hold no texts: every value is finite (as every
// text that converts is), and none of the parameters tested for zero is exactly zero.
bool DatosAceptables(const DatosEnlace& d);

// The start-up text of a parameter with the user's decimal separator ("3,88" where D is ",").
std::string TextoDeCarga(const DescripcionParametro& p, const ConfiguracionRegional& r);
// The same for any built-in text written with a full stop.
std::string TextoDeCarga(std::string_view texto, const ConfiguracionRegional& r);

// The link as the main window holds it: its form, its regional settings and `DatosEnlace`.
class Calculadora {
 public:
  Calculadora(Formulario& formulario, ConfiguracionRegional regional)
      : formulario_(formulario), regional_(std::move(regional)) {}

  // One press of "Calcular": read and check the 18 fields; on rejection show the message once
  // and reset to the defaults; then write all 13 result fields. False when the data was rejected.
  bool Calcular();

  // "Valores del inicio": the defaults into the fields, and read back into `DatosEnlace`. The
  // result fields keep what they show.
  void ValoresDefault();

  // The start-up: the start-up texts into the fields, then one pass.
  void Inicio();

  const DatosEnlace& Datos() const { return datos_; }
  const ConfiguracionRegional& Regional() const { return regional_; }

 private:
  void EscribirResultados(const ResultadosEnlace& resultados);

  Formulario& formulario_;
  ConfiguracionRegional regional_;
  DatosEnlace datos_;
};

}  // namespace zelk
