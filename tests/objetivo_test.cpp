// Solving for a target: the root finder over functions with several roots, gaps, jumps, turns and
// flat stretches, and over the link, where a root typed back gives the value asked for.
#include "engine/objetivo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/calculo.h"
#include "engine/pasada.h"
#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

using prueba::kEstadosUnidos;

struct CasoRaices {
  std::string nombre;
  FuncionObjetivo f;
  double desde, hasta, valor;
  std::vector<double> raices;  // the flat stretches by their start
  std::optional<double> minimo, maximo;
};

class Raices : public testing::TestWithParam<CasoRaices> {};

TEST_P(Raices, TodasEnOrden) {
  const auto& c = GetParam();
  const Busqueda b = BuscarRaices(c.f, c.desde, c.hasta, c.valor, 1e-9);
  ASSERT_EQ(b.raices.size(), c.raices.size());
  for (std::size_t i = 0; i < b.raices.size(); ++i)
    EXPECT_NEAR(b.raices[i].x, c.raices[i], 1e-9 * std::max(1.0, std::fabs(c.raices[i])));
  if (c.minimo) {
    EXPECT_NEAR(*b.minimo, *c.minimo, 1e-9);
    EXPECT_NEAR(*b.maximo, *c.maximo, 1e-9);
  } else {
    EXPECT_FALSE(b.minimo || b.maximo);
  }
}

std::optional<double> Parabola(double x) {
  return (x - 1) * (x - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Funciones, Raices,
    testing::Values(
        CasoRaices{"Recta", [](double x) { return 2 * x + 1; }, -10, 10, 4, {1.5}, -19, 21},
        CasoRaices{"DosRaices", Parabola, -10, 10, 4, {-1, 3}, 0, 121},
        CasoRaices{"Tangente", Parabola, -10, 10, 0, {1}, 0, 121},
        // A dip between two points of the grid, which only shows it as a turn above the value.
        CasoRaices{"HoyoEntrePuntos",
                   [](double x) { return 1 - std::exp(-std::pow((x - 0.3) / 0.6, 2)); },
                   -64,
                   64,
                   0.1,
                   {0.3 - 0.6 * std::sqrt(-std::log(0.9)), 0.3 + 0.6 * std::sqrt(-std::log(0.9))},
                   0,
                   1},
        CasoRaices{"Ninguna", Parabola, -10, 10, -1, {}, 0, 121},
        // An angle that reaches 0 only where its cosine reaches 1, past which it is ERROR.
        CasoRaices{"EnElBorde",
                   [](double x) -> std::optional<double> {
                     if (x > 1)
                       return std::nullopt;
                     return std::acos(x);
                   },
                   0,
                   3,
                   0,
                   {1},
                   0,
                   std::acos(0.0)},
        CasoRaices{"ErrorEnMedio",
                   [](double x) -> std::optional<double> {
                     if (x > 2 && x < 3)
                       return std::nullopt;
                     return x;
                   },
                   0,
                   10,
                   5,
                   {5},
                   0,
                   10},
        CasoRaices{"SaltoQueNoPasaPorElValor",
                   [](double x) -> std::optional<double> { return x < 0.37 ? 0.0 : 1.0; },
                   0,
                   1,
                   0.5,
                   {},
                   0,
                   1},
        CasoRaices{"PlanoEnElValor",
                   [](double x) -> std::optional<double> { return x < 3 ? x : 3.0; },
                   0,
                   10,
                   3,
                   {3},
                   0,
                   3},
        CasoRaices{
            "PlanoFuera", [](double) -> std::optional<double> { return 7.0; }, 0, 10, 3, {}, 7, 7},
        CasoRaices{"SiempreError",
                   [](double) -> std::optional<double> { return std::nullopt; },
                   0,
                   10,
                   3,
                   {},
                   std::nullopt,
                   std::nullopt},
        CasoRaices{"MargenDeUnPunto",
                   [](double x) -> std::optional<double> { return x; },
                   2,
                   2,
                   2,
                   {2},
                   2,
                   2}),
    prueba::PorNombre());

TEST(Raices, UnTramoPlanoDiceDondeAcaba) {
  const auto b =
      BuscarRaices([](double x) -> std::optional<double> { return std::round(x); }, 0, 10, 4, 1e-9);
  ASSERT_EQ(b.raices.size(), 1u);
  EXPECT_EQ(b.raices[0].x, 3.5);
  EXPECT_NEAR(*b.raices[0].hasta, 4.5, 1e-12);
}

DatosEnlace Inicio() {
  DatosEnlace d;
  for (const auto& p : kParametros)
    d.*p.miembro = *TextoANumero(TextoDeCarga(p, kEstadosUnidos), kEstadosUnidos);
  return d;
}

struct CasoObjetivo {
  std::string nombre;
  const char* resultado;
  double valor;
  const char* dato;
  bool control;
  std::size_t raices;
};

class ObjetivoEnlace : public testing::TestWithParam<CasoObjetivo> {};

// Each root, typed back as its shortest text, gives the value asked for to the digits shown.
TEST_P(ObjetivoEnlace, CadaRaizDaElValor) {
  const auto& c = GetParam();
  const DatosEnlace d = Inicio();
  std::optional<DatosControl> control;
  if (c.control) {
    DatosControl k;
    for (const auto& dc : kControl)
      if (dc.miembro != nullptr)
        k.*dc.miembro = *TextoANumero(dc.valorDefault, kEstadosUnidos);
    control = k;
  }
  const Variable v{BuscarParametro(c.dato), BuscarControl(c.dato)};
  const Objetivo o{BuscarResultado(c.resultado), nullptr};
  const Margen m = MargenPorDefecto(v, d, control.value_or(DatosControl{}));
  const Busqueda b = BuscarRaices([&](double x) { return ValorObjetivo(d, control, v, x, o); },
                                  m.minimo, m.maximo, c.valor, o.Tolerancia(c.valor));
  ASSERT_EQ(b.raices.size(), c.raices);
  for (const auto& r : b.raices) {
    const Resultado en = ValorObjetivo(d, control, v, r.x, o);
    ASSERT_TRUE(en);
    EXPECT_EQ(TextoResultado(en, *o.resultado, kEstadosUnidos),
              TextoResultado(c.valor, *o.resultado, kEstadosUnidos));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Objetivos, ObjetivoEnlace,
    testing::Values(CasoObjetivo{"AlphaConIdc", "alpha", 15, "Idc", false, 1},
                    CasoObjetivo{"AlphaCeroConVdci", "alpha", 0, "Vdci", false, 1},
                    CasoObjetivo{"PotenciaConIdc", "Pr", 500, "Idc", false, 1},
                    CasoObjetivo{"QrConVdciDosVeces", "Qr", 300, "Vdci", false, 2},
                    CasoObjetivo{"GammaConTapi", "gamma", 18, "tapi", false, 1},
                    CasoObjetivo{"VdcrConIdc", "Vdcr", 530, "Idc", false, 1},
                    CasoObjetivo{"SolapeQueNoLlega", "mur", 60, "Xcr", false, 0},
                    CasoObjetivo{"PotenciaBajoControl", "Pr", 800, "consigna", true, 1}),
    prueba::PorNombre());

}  // namespace
}  // namespace zelk
