// A sweep kept in memory for a window holds, point by point, what zelk-calc's sweep writes for the
// same data, on any number of threads; its curves run in increasing order with gaps where a point
// has no value.
#include "lote/barrido_memoria.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>

#include "lote/csv.h"
#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

using prueba::kEspana;
using prueba::kEstadosUnidos;

struct CasoBarrido {
  const char* nombre;
  std::vector<std::string> barridos;  // NAME=FROM:TO:POINTS, as --sweep takes them
  std::vector<std::pair<std::string, std::string>> control;  // control data given
  std::size_t hilos;
};

std::optional<double> Numero(const std::string& t) {
  double v = 0;
  const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size())
    return std::nullopt;
  return v;
}

lotes::Base BaseDe(const CasoBarrido& c, const ConfiguracionRegional& r) {
  lotes::Base base = lotes::BaseDeInicio(r, {});
  std::vector<std::pair<const DescripcionControl*, std::string>> control;
  for (const auto& [nombre, texto] : c.control)
    control.emplace_back(BuscarControl(nombre), texto);
  base.control = lotes::BaseControlDeInicio(r, control, {});
  return base;
}

std::vector<lotes::Barrido> Barridos(const CasoBarrido& c, const ConfiguracionRegional& r) {
  std::vector<lotes::Barrido> barridos;
  std::string error;
  for (const auto& t : c.barridos)
    barridos.push_back(*lotes::LeerBarrido(t, r, error));
  return barridos;
}

class IgualQueZelkCalc : public testing::TestWithParam<CasoBarrido> {};

TEST_P(IgualQueZelkCalc, PuntoAPunto) {
  const auto& c = GetParam();
  const auto& r = kEstadosUnidos;
  const auto base = BaseDe(c, r);
  const auto barridos = Barridos(c, r);
  std::ostringstream tabla, err;
  lotes::OpcionesSalida crudo;
  crudo.crudo = true;
  lotes::CalcularBarrido(barridos, base, r, crudo, tabla, err, nullptr, 1);
  const auto calculado = lotes::CalcularEnMemoria(barridos, base, r, c.hilos);
  ASSERT_TRUE(std::holds_alternative<lotes::BarridoEnMemoria>(calculado))
      << std::get<std::string>(calculado);
  const auto& m = std::get<lotes::BarridoEnMemoria>(calculado);

  std::istringstream in(tabla.str());
  csv::Lector lector(in);
  std::vector<std::string> cabecera, fila;
  ASSERT_TRUE(lector.Siguiente(cabecera));
  const auto columna = [&](std::string_view nombre) {
    return static_cast<std::size_t>(std::find(cabecera.begin(), cabecera.end(), nombre) -
                                    cabecera.begin());
  };
  EXPECT_EQ(m.control, columna("modo") < cabecera.size());
  std::size_t punto = 0;
  for (; lector.Siguiente(fila); ++punto) {
    ASSERT_LT(punto, m.puntos);
    EXPECT_EQ(m.aceptado[punto] != 0, fila[columna("estado")] == lotes::kEstadoBien) << punto;
    for (std::size_t s = 0; s < barridos.size() && m.aceptado[punto]; ++s) {
      EXPECT_EQ(m.Valor(punto, s), Numero(fila[s])) << punto;
    }
    for (std::size_t n = 0; n < kNumResultados; ++n) {
      const auto esperado = Numero(fila[columna(kResultados[n].nombre)]);
      const double v = m.ResultadoEn(punto, n);
      if (esperado)
        EXPECT_EQ(v, *esperado) << punto << " " << kResultados[n].nombre;
      else
        EXPECT_TRUE(std::isnan(v)) << punto << " " << kResultados[n].nombre;
    }
    if (m.control && m.aceptado[punto]) {
      EXPECT_EQ(TextoModo(m.modos[punto]), fila[columna("modo")]);
      for (std::size_t e = 0; e < kElegidos.size(); ++e)
        EXPECT_EQ(m.ElegidoEn(punto, e), Numero(fila[columna(kElegidos[e].nombre)]));
    }
  }
  EXPECT_EQ(punto, m.puntos);
  if (m.rechazados > 0) {
    EXPECT_NE(err.str().find(m.primerRechazo), std::string::npos) << err.str();
    EXPECT_NE(err.str().find(std::to_string(m.rechazados) + " "), std::string::npos);
  } else {
    EXPECT_EQ(err.str(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Barridos, IgualQueZelkCalc,
    testing::Values(
        // Past some current the rectifier cannot fire: alpha and the rest from it are ERROR.
        CasoBarrido{"IdcHastaErrores", {"Idc=500:12000:47"}, {}, 2},
        CasoBarrido{"NrConUnRechazo", {"Nr=-2:2:5"}, {}, 1},
        CasoBarrido{"Decreciente", {"Rdc=20:0.5:40"}, {}, 2},
        CasoBarrido{"Rejilla", {"Idc=1000:3000:11", "Rdc=5:15:3"}, {}, 2},
        CasoBarrido{"RejillaConRechazos", {"Nr=-1:1:3", "Ni=1:2:2"}, {}, 2},
        CasoBarrido{"ConsignaConControl", {"consigna=200:1500:14"}, {}, 2},
        CasoBarrido{"ControlDadoYRejilla",
                    {"Uacr=440:520:9", "margen=0.1:0.2:2"},
                    {{"orden", "corriente"}, {"consigna", "1800"}},
                    1},
        CasoBarrido{"MuchosBloques", {"Idc=100:5000:5001"}, {}, 2}),
    prueba::PorNombre());

TEST(BarridoEnMemoria, LoQueNoSeCalculaDicePorQue) {
  const struct {
    CasoBarrido caso;
    const char* motivo;
  } casos[] = {
      {{"Demasiados", {"Idc=1:2:1000", "Rdc=1:2:1001"}, {}, 1}, "no caben en la ventana"},
      {{"MismoDato", {"Idc=1:2:10", "Idc=1:3:10"}, {}, 1}, "mismo dato, «Idc»"},
      {{"IdcConControl", {"Idc=1:2:10"}, {{"orden", "potencia"}}, 1}, "Idc no se da"},
      {{"VdciConControl", {"consigna=1:2:10", "Vdci=1:2:3"}, {}, 1}, "Vdci no se da"},
  };
  for (const auto& [caso, motivo] : casos) {
    const auto r = lotes::CalcularEnMemoria(Barridos(caso, kEstadosUnidos),
                                            BaseDe(caso, kEstadosUnidos), kEstadosUnidos, 1);
    ASSERT_TRUE(std::holds_alternative<std::string>(r)) << caso.nombre;
    EXPECT_NE(std::get<std::string>(r).find(motivo), std::string::npos)
        << caso.nombre << ": " << std::get<std::string>(r);
  }
}

TEST(BarridoEnMemoria, SeParaCuandoSeLePide) {
  const CasoBarrido caso{"Largo", {"Idc=100:5000:100000"}, {}, 2};
  const std::atomic<bool> parar{true};
  const auto r =
      lotes::CalcularEnMemoria(Barridos(caso, kEspana), BaseDe(caso, kEspana), kEspana, 2, &parar);
  const auto& m = std::get<lotes::BarridoEnMemoria>(r);
  EXPECT_EQ(std::count(m.aceptado.begin(), m.aceptado.end(), 1), 0);
}

// A sweep from high to low is drawn from low to high; the visible part keeps one point beyond
// each edge; a rejected point is a gap, not a join.
TEST(BarridoEnMemoria, Curvas) {
  const CasoBarrido bajando{"Bajando", {"Idc=3000:500:26"}, {}, 1};
  const auto m = std::get<lotes::BarridoEnMemoria>(
      lotes::CalcularEnMemoria(Barridos(bajando, kEspana), BaseDe(bajando, kEspana), kEspana, 1));
  const auto todo = lotes::CurvaEnMemoria(m, 0, 0, -INFINITY, INFINITY, 1000);
  ASSERT_EQ(todo.size(), 26u);
  EXPECT_EQ(todo.front().x, 500);
  EXPECT_EQ(todo.back().x, 3000);
  EXPECT_EQ(*todo.front().y, m.ResultadoEn(25, 0));
  const auto parte = lotes::CurvaEnMemoria(m, 0, 0, 1000, 2000, 1000);
  ASSERT_EQ(parte.size(), 13u);
  EXPECT_EQ(parte.front().x, 900);
  EXPECT_EQ(parte.back().x, 2100);

  const CasoBarrido conCero{"ConCero", {"Nr=1:5:5", "Ni=-1:1:3"}, {}, 1};
  const auto g = std::get<lotes::BarridoEnMemoria>(
      lotes::CalcularEnMemoria(Barridos(conCero, kEspana), BaseDe(conCero, kEspana), kEspana, 1));
  // Ni = 0, the second curve of the family, is rejected at every point: no curve at all.
  EXPECT_TRUE(lotes::CurvaEnMemoria(g, 8, 1, -INFINITY, INFINITY, 1000).empty());
  EXPECT_EQ(lotes::CurvaEnMemoria(g, 8, 2, -INFINITY, INFINITY, 1000).size(), 5u);
  // As a plot takes them: a member per value of the family's datum, the results asked for.
  const std::size_t alphaYPr[] = {0, 8};
  const auto curvas = lotes::CurvasEnMemoria(g, alphaYPr, -INFINITY, INFINITY, 800, kEspana);
  EXPECT_EQ(curvas.nombre, "Nr");
  EXPECT_EQ(curvas.tituloFamilia, "Ni");
  EXPECT_EQ(curvas.decimal, ",");
  EXPECT_EQ(curvas.desde, 1);
  EXPECT_EQ(curvas.hasta, 5);
  ASSERT_EQ(curvas.miembros.size(), 3u);
  EXPECT_EQ(curvas.miembros[0].valor, -1);
  EXPECT_EQ(curvas.miembros[2].y[8].size(), 5u);
  EXPECT_TRUE(curvas.miembros[1].y[8].empty());
  EXPECT_TRUE(curvas.miembros[2].y[1].empty());
}

TEST(BarridoEnMemoria, HuecoEntrePuntos) {
  const CasoBarrido conCero{"ConCero", {"Nr=-2:2:5"}, {}, 1};
  const auto m = std::get<lotes::BarridoEnMemoria>(
      lotes::CalcularEnMemoria(Barridos(conCero, kEspana), BaseDe(conCero, kEspana), kEspana, 1));
  EXPECT_EQ(m.rechazados, 1u);
  EXPECT_EQ(m.primerRechazo, "Nr = 0: «Nr» = «0» no puede valer 0");
  const auto curva = lotes::CurvaEnMemoria(m, 8, 0, -INFINITY, INFINITY, 1000);
  std::string forma;
  for (const auto& p : curva)
    forma += p.y ? "o" : "_";
  EXPECT_EQ(forma, "oo_oo");
}

}  // namespace
}  // namespace zelk
