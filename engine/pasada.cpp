#include "engine/pasada.h"

#include <cmath>

#include "engine/calculo.h"

namespace zelk {

std::optional<DatosEnlace> LeerDatos(const TextosEntrada& textos, const ConfiguracionRegional& r) {
  DatosEnlace d;
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    const auto valor = TextoANumero(textos[i], r);
    if (!valor)
      return std::nullopt;
    d.*kParametros[i].miembro = *valor;
  }
  if (!DatosAceptables(d))
    return std::nullopt;
  return d;
}

bool DatosAceptables(const DatosEnlace& d) {
  for (const auto& p : kParametros) {
    const double v = d.*p.miembro;
    if (!std::isfinite(v) || (p.pruebaCero && v == 0))
      return false;
  }
  return true;
}

std::string TextoDeCarga(const DescripcionParametro& p, const ConfiguracionRegional& r) {
  return TextoDeCarga(p.valorCarga, r);
}

std::string TextoDeCarga(std::string_view carga, const ConfiguracionRegional& r) {
  std::string texto;
  for (char c : carga) {
    if (c == '.')
      texto += r.Decimal();
    else
      texto.push_back(c);
  }
  return texto;
}

bool Calculadora::Calcular() {
  std::array<std::string, kNumParametros> leidos;
  TextosEntrada textos;
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    leidos[i] = formulario_.Texto(kParametros[i].campo);
    textos[i] = leidos[i];
  }
  const auto datos = LeerDatos(textos, regional_);
  if (datos) {
    datos_ = *datos;
  } else {
    // The fields still show the user's text while the message is open.
    formulario_.MostrarMensaje(kMensajeErrorDatos);
    ValoresDefault();
  }
  EscribirResultados(CalcularEnlace(datos_));
  return datos.has_value();
}

void Calculadora::ValoresDefault() {
  for (const auto& p : kParametros)
    formulario_.PonerTexto(p.campo, p.valorDefault);
  for (const auto& p : kParametros) {
    // The defaults are plain integers and read the same under any settings.
    datos_.*p.miembro = TextoANumero(formulario_.Texto(p.campo), regional_).value_or(0.0);
  }
}

void Calculadora::Inicio() {
  for (const auto& p : kParametros)
    formulario_.PonerTexto(p.campo, TextoDeCarga(p, regional_));
  Calcular();
}

void Calculadora::EscribirResultados(const ResultadosEnlace& resultados) {
  for (const auto& d : kResultados)
    formulario_.PonerTexto(d.campo, TextoResultado(resultados.*d.miembro, d, regional_));
}

}  // namespace zelk
