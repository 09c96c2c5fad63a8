#include "calc/lotes.h"

#include <charconv>
#include <cmath>
#include <map>

#include "calc/csv.h"
#include "engine/calculo.h"

namespace zelk::lotes {

Base BaseDeInicio(
    const ConfiguracionRegional& r,
    std::span<const std::pair<const DescripcionParametro*, std::string>> asignaciones) {
  Base b;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    b.textos[i] = TextoDeCarga(kParametros[i], r);
  for (const auto& [p, texto] : asignaciones)
    b.textos[Indice(p->campo)] = texto;
  return b;
}

namespace {

TextosEntrada Vistas(const Base& base) {
  TextosEntrada t;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    t[i] = base.textos[i];
  return t;
}

std::vector<const DescripcionParametro*> Cabecera(const std::vector<std::string>& nombres,
                                                  std::size_t linea) {
  std::vector<const DescripcionParametro*> columnas;
  for (const auto& n : nombres) {
    const auto* p = BuscarParametro(n);
    if (p == nullptr)
      throw csv::ErrorCsv{linea, "columna desconocida «" + n + "»"};
    for (const auto* otra : columnas)
      if (otra == p)
        throw csv::ErrorCsv{linea, "columna repetida «" + n + "»"};
    columnas.push_back(p);
  }
  return columnas;
}

}  // namespace

int CalcularCsv(std::istream& entrada, const Base& base, const ConfiguracionRegional& r,
                OpcionesSalida opciones, std::ostream& salida, std::ostream& err) {
  csv::Lector lector(entrada);
  std::vector<std::string> campos;
  try {
    if (!lector.Siguiente(campos))
      throw csv::ErrorCsv{1, "falta la cabecera"};
    const auto columnas = Cabecera(campos, lector.Linea());
    std::vector<std::size_t> indices;
    for (const auto* p : columnas)
      indices.push_back(Indice(p->campo));

    Tabla tabla(salida, r, opciones, columnas);
    TextosEntrada textos = Vistas(base);
    std::vector<std::string_view> propios(columnas.size());
    bool rechazo = false;
    while (lector.Siguiente(campos)) {
      if (campos.size() != columnas.size())
        throw csv::ErrorCsv{lector.Linea(), "la fila tiene " + std::to_string(campos.size()) +
                                                " campos y la cabecera " +
                                                std::to_string(columnas.size())};
      for (std::size_t c = 0; c < columnas.size(); ++c) {
        textos[indices[c]] = campos[c];
        propios[c] = campos[c];
      }
      const Punto punto = Evaluar(textos, r);
      rechazo = rechazo || !punto.datos;
      tabla.Fila(propios, punto);
    }
    tabla.Terminar();
    return rechazo ? 3 : 0;
  } catch (const csv::ErrorCsv& e) {
    err << "zelk-calc: línea " << e.linea << ": " << e.motivo << '\n';
    return 2;
  }
}

double Barrido::Valor(std::size_t k) const {
  if (puntos <= 1 || k == 0)
    return desde;
  if (k + 1 == puntos)
    return hasta;
  return desde + (hasta - desde) * (static_cast<double>(k) / static_cast<double>(puntos - 1));
}

std::optional<Barrido> LeerBarrido(std::string_view texto, const ConfiguracionRegional& r,
                                   std::string& error) {
  error = "barrido «" + std::string(texto) + "»: se espera NOMBRE=DESDE:HASTA:PUNTOS";
  const auto igual = texto.find('=');
  if (igual == std::string_view::npos)
    return std::nullopt;
  Barrido b;
  b.parametro = BuscarParametro(texto.substr(0, igual));
  if (b.parametro == nullptr) {
    error = "barrido: no hay ningún dato «" + std::string(texto.substr(0, igual)) + "»";
    return std::nullopt;
  }
  const std::string_view resto = texto.substr(igual + 1);
  const auto p1 = resto.find(':');
  const auto p2 = p1 == std::string_view::npos ? p1 : resto.find(':', p1 + 1);
  if (p2 == std::string_view::npos)
    return std::nullopt;
  const auto desde = TextoANumero(resto.substr(0, p1), r);
  const auto hasta = TextoANumero(resto.substr(p1 + 1, p2 - p1 - 1), r);
  const std::string_view puntos = resto.substr(p2 + 1);
  const auto leido = std::from_chars(puntos.data(), puntos.data() + puntos.size(), b.puntos);
  if (!desde || !hasta || leido.ec != std::errc() || leido.ptr != puntos.data() + puntos.size())
    return std::nullopt;
  if (b.puntos < 1 || b.puntos > 10'000'000) {
    error = "barrido: entre 1 y 10000000 puntos";
    return std::nullopt;
  }
  b.desde = *desde;
  b.hasta = *hasta;
  error.clear();
  return b;
}

int CalcularBarrido(std::span<const Barrido> barridos, const Base& base,
                    const ConfiguracionRegional& r, OpcionesSalida opciones, std::ostream& salida,
                    Curvas* curvas) {
  std::vector<const DescripcionParametro*> columnas;
  for (const auto& b : barridos)
    columnas.push_back(b.parametro);
  Tabla tabla(salida, r, opciones, columnas);
  TextosEntrada textos = Vistas(base);
  std::vector<std::string> propios(barridos.size());
  std::vector<std::string_view> vistas(barridos.size());
  const std::size_t interior = barridos.size() > 1 ? barridos[1].puntos : 1;
  bool rechazo = false;
  if (curvas != nullptr) {
    curvas->parametro = barridos[0].parametro;
    curvas->decimal = r.Decimal();
  }
  for (std::size_t i = 0; i < barridos[0].puntos; ++i) {
    for (std::size_t j = 0; j < interior; ++j) {
      const std::size_t k[2] = {i, j};
      for (std::size_t s = 0; s < barridos.size(); ++s) {
        // Typed as the window shows a number, so the pass reads it as a user's text.
        propios[s] = NumeroATexto(barridos[s].Valor(k[s]), r);
        vistas[s] = propios[s];
        textos[Indice(barridos[s].parametro->campo)] = propios[s];
      }
      const Punto punto = Evaluar(textos, r);
      rechazo = rechazo || !punto.datos;
      tabla.Fila(vistas, punto);
      if (curvas != nullptr && barridos.size() == 1) {
        curvas->x.push_back(barridos[0].Valor(i));
        for (std::size_t n = 0; n < kNumResultados; ++n)
          curvas->y[n].push_back(punto.datos ? punto.resultados.*kResultados[n].miembro
                                             : Resultado());
      }
    }
  }
  tabla.Terminar();
  return rechazo ? 3 : 0;
}

std::optional<double> TapPara(const DatosEnlace& d, Angulo angulo, double grados) {
  // The cosine is proportional to the tap: its value at a tap of 1 is the constant.
  DatosEnlace uno = d;
  (angulo == Angulo::alpha ? uno.tapr : uno.tapi) = 1;
  const Resultado k = angulo == Angulo::alpha ? CosenoAlpha(uno) : CosenoGamma(uno);
  if (!k || *k == 0 || !(grados >= 0 && grados <= 180))
    return std::nullopt;
  // Degrees back to radians with the calculation's pi.
  const double tap = std::cos((grados * 2 / 360) * kPi) / *k;
  if (!std::isfinite(tap) || tap <= 0)
    return std::nullopt;
  return tap;
}

std::optional<double> PosicionMasCercana(double tap, const Escalones& e) {
  if (!(e.paso > 0) || !(e.minimo <= e.maximo) || tap < e.minimo || tap > e.maximo)
    return std::nullopt;
  const double ultima = std::floor((e.maximo - e.minimo) / e.paso + 1e-9);
  const double k = std::min(std::round((tap - e.minimo) / e.paso), ultima);
  return e.minimo + k * e.paso;
}

}  // namespace zelk::lotes
