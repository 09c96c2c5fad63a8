#include "lote/lectura.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zelk::lotes {

namespace {

// Settings a user may have written a table under, named by a locale zelk-calc knows.
struct Convencion {
  std::string_view descripcion, locale;
  ConfiguracionRegional regional;
};

const std::array<Convencion, 4>& Convenciones() {
  static const std::array<Convencion, 4> kConvenciones{{
      {"con coma decimal", "es_ES", {",", "."}},
      {"con punto decimal", "en_US", {".", ","}},
      {"con punto decimal y ’ entre miles", "de_CH", {".", "\u2019"}},
      {"con coma decimal y espacio entre miles", "fr_FR", {",", "\u202F"}},
  }};
  return kConvenciones;
}

std::string Comillado(std::string_view t) {
  return "«" + std::string(t) + "»";
}

std::string Dato(const DescripcionParametro& p, std::string_view texto) {
  return Comillado(p.nombre) + " = " + Comillado(texto);
}

constexpr std::string_view kNoPuedeValerCero = " no puede valer 0";

}  // namespace

std::string NoEsNumero(std::string_view texto, const ConfiguracionRegional& r, bool conOpcion) {
  std::string motivo = Comillado(texto) + " no es un número";
  if (std::none_of(texto.begin(), texto.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return motivo;
  const std::string& d = r.Decimal();
  motivo += d == "."   ? " con punto decimal"
            : d == "," ? " con coma decimal"
                       : " con «" + d + "» decimal";
  for (const auto& c : Convenciones()) {
    if (c.regional.Decimal() == r.Decimal() && c.regional.Grupo() == r.Grupo())
      continue;
    if (NumeroDeHoja(texto, c.regional))
      return motivo +
             (conOpcion ? "; " + std::string(c.descripcion) + ", --locale " + std::string(c.locale)
                        : "; lo es " + std::string(c.descripcion));
  }
  return motivo;
}

std::optional<double> LeerNumero(std::string_view texto, const ConfiguracionRegional& r,
                                 std::string& error) {
  const auto v = NumeroDeHoja(texto, r);
  if (!v)
    error = NoEsNumero(texto, r);
  return v;
}

LectorFilas::LectorFilas(const TextosEntrada& base,
                         const std::array<bool, kNumParametros>& variables, const DeTabla& deTabla,
                         const ConfiguracionRegional& r)
    : regional_(r), deTabla_(deTabla) {
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    if (variables[i]) {
      variables_[nVariables_++] = i;
      continue;
    }
    const auto v = deTabla[i] ? NumeroDeHoja(base[i], r) : TextoANumero(base[i], r);
    baseLeida_ = baseLeida_ && v.has_value();
    base_.*kParametros[i].miembro = v.value_or(0);
  }
}

std::optional<DatosEnlace> LectorFilas::Leer(const TextosEntrada& textos, bool conMargen) const {
  if (!baseLeida_)
    return std::nullopt;
  DatosEnlace d = base_;
  for (std::size_t k = 0; k < nVariables_; ++k) {
    const std::size_t i = variables_[k];
    if (conMargen && deTabla_[i]) {
      if (!NumeroDeHojaConMargen(textos[i], regional_, d.*kParametros[i].miembro))
        return std::nullopt;
      continue;
    }
    const auto v =
        deTabla_[i] ? NumeroDeHoja(textos[i], regional_) : TextoANumero(textos[i], regional_);
    if (!v)
      return std::nullopt;
    d.*kParametros[i].miembro = *v;
  }
  if (!DatosAceptables(d))
    return std::nullopt;
  return d;
}

std::optional<DatosEnlace> LeerFila(const TextosEntrada& textos, const DeTabla& deTabla,
                                    const ConfiguracionRegional& r) {
  std::array<bool, kNumParametros> todos;
  todos.fill(true);
  return LectorFilas(textos, todos, deTabla, r).Leer(textos);
}

std::vector<std::string> MotivosDeRechazo(const TextosEntrada& textos, const DeTabla& deTabla,
                                          const ConfiguracionRegional& r) {
  std::vector<std::string> motivos;
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    const auto& p = kParametros[i];
    const auto v = deTabla[i] ? NumeroDeHoja(textos[i], r) : TextoANumero(textos[i], r);
    if (!v)
      motivos.push_back(
          Comillado(p.nombre) + " = " +
          (deTabla[i] ? NoEsNumero(textos[i], r) : Comillado(textos[i]) + " no es un número"));
    else if (p.pruebaCero && *v == 0)
      motivos.push_back(Dato(p, textos[i]) + std::string(kNoPuedeValerCero));
  }
  return motivos;
}

std::optional<std::string> MotivoDeRechazo(const DescripcionParametro& p, double v) {
  char cifras[32];
  const auto fin = std::to_chars(cifras, cifras + sizeof cifras, v).ptr;
  const std::string dato = std::string(p.nombre) + " = " + std::string(cifras, fin);
  if (!std::isfinite(v))
    return dato + " no es un número finito";
  if (p.pruebaCero && v == 0)
    return dato + std::string(kNoPuedeValerCero);
  return std::nullopt;
}

std::optional<std::string> AvisoDeLectura(const DescripcionParametro& p, std::string_view texto,
                                          const ConfiguracionRegional& r) {
  return AvisoDeLectura(p.nombre, texto, r);
}

std::optional<std::string> AvisoDeLectura(std::string_view nombre, std::string_view texto,
                                          const ConfiguracionRegional& r) {
  if (!GrupoMalPuesto(texto, r))
    return std::nullopt;
  return "aviso: " + std::string(nombre) + ": " + Comillado(texto) + " se lee " +
         NumeroATexto(*TextoANumero(texto, r), r);
}

void Rechazos::Primero(std::string_view donde, std::string_view motivo) {
  primero_ = std::string(donde) + ": " + std::string(motivo);
}

void Rechazos::Sumar(std::size_t cuantos, std::string_view primero) {
  if (cuantos_ == 0 && cuantos > 0)
    primero_ = primero;
  cuantos_ += cuantos;
}

std::string Rechazos::Texto(std::size_t total) const {
  if (cuantos_ == 0)
    return {};
  const std::string rechazada = !calificativo_.empty() ? std::string(calificativo_)
                                : femenino_            ? "rechazada"
                                                       : "rechazado";
  if (cuantos_ == 1)
    return "1 " + std::string(fila_) + " de " + std::to_string(total) + ' ' + rechazada + ": " +
           primero_;
  return std::to_string(cuantos_) + " de " + std::to_string(total) + ' ' + std::string(filas_) +
         ' ' + rechazada + (calificativo_.empty() ? "s; " : "; ") +
         (femenino_ ? "la primera, " : "el primero, ") + primero_;
}

void Rechazos::Informar(std::ostream& err, std::size_t total) const {
  if (cuantos_ > 0)
    err << "zelk-calc: " << Texto(total) << '\n';
}

}  // namespace zelk::lotes
