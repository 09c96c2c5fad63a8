#include "lote/barrido_memoria.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/calculo.h"
#include "lote/csv.h"
#include "lote/lectura.h"
#include "lote/tuberia.h"

namespace zelk::lotes {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TextosEntrada Vistas(const Base& base) {
  TextosEntrada t;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    t[i] = base.textos[i];
  return t;
}

struct BloqueMemoria {
  static constexpr std::size_t kPuntos = 2048;
  std::size_t desde = 0, hasta = 0;
  std::size_t rechazados = 0;
  std::string primerRechazo;
};

}  // namespace

std::optional<std::string> ComprobarBarridoEnMemoria(std::span<const Barrido> barridos,
                                                     const Base& base,
                                                     const ConfiguracionRegional& r) {
  if (barridos.empty() || barridos.size() > 2)
    return std::string("se barren uno o dos datos");
  if (barridos.size() == 2 && barridos[0].Nombre() == barridos[1].Nombre())
    return "los dos barridos son del mismo dato, «" + std::string(barridos[0].Nombre()) + "»";
  std::size_t total = 1;
  for (const auto& b : barridos) {
    if (b.puntos < 1)
      return "el barrido de «" + std::string(b.Nombre()) + "» necesita al menos un punto";
    total = total > kPuntosEnMemoria / b.puntos ? kPuntosEnMemoria + 1 : total * b.puntos;
  }
  if (total > kPuntosEnMemoria)
    return "más de " + NumeroATexto(static_cast<double>(kPuntosEnMemoria), r) +
           " puntos no caben en la ventana; zelk-calc --sweep los calcula a un archivo";
  if (auto motivo = ComprobarBarridosConControl(barridos, base.control))
    return motivo;
  return std::nullopt;
}

std::variant<BarridoEnMemoria, std::string> CalcularEnMemoria(std::span<const Barrido> barridos,
                                                              const Base& base,
                                                              const ConfiguracionRegional& r,
                                                              std::size_t hilos,
                                                              const std::atomic<bool>* parar) {
  if (auto motivo = ComprobarBarridoEnMemoria(barridos, base, r))
    return *motivo;
  BarridoEnMemoria m;
  m.barridos.assign(barridos.begin(), barridos.end());
  std::vector<Columna> columnas;
  for (const auto& b : barridos)
    columnas.push_back({std::string(b.Nombre()), b.parametro, b.control});
  std::optional<ControlDeTabla> control;
  try {
    control.emplace(columnas, base.control, r, 1, false);
  } catch (const csv::ErrorCsv& e) {
    return e.motivo;
  }
  m.control = control->Activo();
  const std::size_t interior = m.Interior();
  m.puntos = barridos[0].puntos * interior;
  // Typed as the window shows a number, and read back as the pass reads a user's text.
  std::array<std::vector<std::string>, 2> textos;
  for (std::size_t s = 0; s < barridos.size(); ++s) {
    textos[s].resize(barridos[s].puntos);
    m.valores[s].resize(barridos[s].puntos);
    for (std::size_t k = 0; k < barridos[s].puntos; ++k) {
      textos[s][k] = NumeroATexto(barridos[s].Valor(k), r);
      m.valores[s][k] = TextoANumero(textos[s][k], r).value_or(kNaN);
    }
  }
  m.resultados.assign(m.puntos * kNumResultados, kNaN);
  m.aceptado.assign(m.puntos, 0);
  if (m.control) {
    m.modos.assign(m.puntos, Modo::Bloqueado);
    m.avisos.assign(m.puntos, 0);
    m.elegidos.assign(m.puntos * kElegidos.size(), kNaN);
  }

  const DeTabla deTabla{};
  std::array<bool, kNumParametros> variables{};
  for (const auto& b : barridos)
    if (b.parametro != nullptr)
      variables[Indice(b.parametro->campo)] = true;
  const LectorFilas lector(Vistas(base), variables, deTabla, r);
  Rechazos rechazos("punto", "puntos", false);

  std::size_t siguiente = 0;
  const auto llenar = [&](BloqueMemoria& b) {
    if (parar != nullptr && parar->load(std::memory_order_relaxed))
      return false;
    b.desde = siguiente;
    b.hasta = siguiente = std::min(m.puntos, siguiente + BloqueMemoria::kPuntos);
    return b.desde < b.hasta;
  };
  const auto trabajar = [&](BloqueMemoria& b) {
    TextosEntrada entrada = Vistas(base);
    std::array<std::string_view, 2> vistas{};
    Rechazos enBloque("punto", "puntos", false);
    for (std::size_t punto = b.desde; punto < b.hasta; ++punto) {
      const std::size_t k[2] = {punto / interior, punto % interior};
      for (std::size_t s = 0; s < barridos.size(); ++s) {
        vistas[s] = textos[s][k[s]];
        if (barridos[s].parametro != nullptr)
          entrada[Indice(barridos[s].parametro->campo)] = vistas[s];
      }
      const auto donde = [&] {
        std::string texto;
        for (std::size_t s = 0; s < barridos.size(); ++s)
          texto += std::string(s ? ", " : "") + std::string(barridos[s].Nombre()) + " = " +
                   std::string(vistas[s]);
        return texto;
      };
      Punto p;
      if (control->Activo()) {
        p = control->Evaluar(entrada, deTabla, std::span(vistas.data(), barridos.size()), r,
                             enBloque, donde);
      } else {
        p.datos = lector.Leer(entrada);
        if (p.datos)
          p.resultados = CalcularEnlace(*p.datos);
        else if (enBloque.Anotar())
          enBloque.Primero(donde(), MotivosDeRechazo(entrada, deTabla, r).front());
      }
      if (!p.datos)
        continue;
      m.aceptado[punto] = 1;
      double* fila = &m.resultados[punto * kNumResultados];
      for (std::size_t n = 0; n < kNumResultados; ++n) {
        const Resultado& v = p.resultados.*kResultados[n].miembro;
        // A value that is not finite is shown as "ERROR".
        fila[n] = v && std::isfinite(*v) ? *v : kNaN;
      }
      if (p.control) {
        const SolucionControl& s = p.control->solucion;
        m.modos[punto] = s.modo;
        m.avisos[punto] = s.avisos;
        for (std::size_t e = 0; e < kElegidos.size(); ++e)
          m.elegidos[punto * kElegidos.size() + e] = s.datos.*kElegidos[e].miembro;
      }
    }
    b.rechazados = enBloque.Cuantos();
    b.primerRechazo = enBloque.Alguno() ? enBloque.PrimeroTexto() : std::string();
  };
  const auto entregar = [&](BloqueMemoria& b) { rechazos.Sumar(b.rechazados, b.primerRechazo); };
  EnOrden<BloqueMemoria>(std::max<std::size_t>(hilos, 1), llenar, trabajar, entregar);
  m.rechazados = rechazos.Cuantos();
  m.primerRechazo = rechazos.PrimeroTexto();
  return m;
}

std::vector<PuntoCurva> CurvaEnMemoria(const BarridoEnMemoria& b, std::size_t resultado,
                                       std::size_t miembro, double xMin, double xMax,
                                       std::size_t columnas) {
  const std::vector<double>& x = b.valores[0];
  const std::size_t n = x.size();
  if (n == 0 || resultado >= kNumResultados || miembro >= b.Interior())
    return {};
  // The sweep's values run one way; the curve is drawn in increasing order.
  const bool crece = n < 2 || x.front() <= x.back();
  const auto en = [&](std::size_t i) { return crece ? i : n - 1 - i; };
  // The visible run, and one point beyond each end so that the lines reach the edges.
  std::size_t primero = 0, ultimo = n;
  while (primero < n && x[en(primero)] < xMin)
    ++primero;
  while (ultimo > primero && x[en(ultimo - 1)] > xMax)
    --ultimo;
  primero = primero > 0 ? primero - 1 : 0;
  ultimo = std::min(n, ultimo + 1);
  if (primero >= ultimo)
    return {};
  CurvaReducida curva(ultimo - primero, columnas);
  const std::size_t interior = b.Interior();
  for (std::size_t i = primero; i < ultimo; ++i) {
    const std::size_t k = en(i);
    const double y = b.ResultadoEn(k * interior + miembro, resultado);
    curva.Anadir(i - primero, x[k], std::isnan(y) ? Resultado() : Resultado(y));
  }
  return curva.Terminar();
}

Curvas CurvasEnMemoria(const BarridoEnMemoria& b, std::span<const std::size_t> resultados,
                       double xMin, double xMax, std::size_t columnas,
                       const ConfiguracionRegional& r) {
  Curvas c;
  c.columnas = columnas;
  c.decimal = r.Decimal();
  if (b.barridos.empty() || b.valores[0].empty())
    return c;
  c.nombre = b.barridos[0].Nombre();
  c.titulo = b.barridos[0].Titulo();
  const auto [menor, mayor] = std::minmax_element(b.valores[0].begin(), b.valores[0].end());
  c.desde = std::max(xMin, *menor);
  c.hasta = std::min(xMax, *mayor);
  if (!(c.desde <= c.hasta)) {
    c.desde = *menor;
    c.hasta = *mayor;
  }
  if (b.barridos.size() > 1) {
    c.nombreFamilia = b.barridos[1].Nombre();
    c.tituloFamilia = b.barridos[1].Titulo();
  }
  c.miembros.resize(b.Interior());
  for (std::size_t m = 0; m < c.miembros.size(); ++m) {
    c.miembros[m].valor = b.barridos.size() > 1 ? b.valores[1][m] : 0;
    for (const std::size_t n : resultados)
      if (n < kNumResultados)
        c.miembros[m].y[n] = CurvaEnMemoria(b, n, m, xMin, xMax, columnas);
  }
  return c;
}

}  // namespace zelk::lotes
