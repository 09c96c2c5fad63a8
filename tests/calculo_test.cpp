#include "engine/calculo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/pasada.h"
#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

using prueba::kEstadosUnidos;

// The start-up data with some parameters changed.
DatosEnlace Carga(const std::vector<std::pair<std::string_view, double>>& cambios = {}) {
  DatosEnlace d;
  for (const auto& p : kParametros)
    d.*p.miembro = *TextoANumero(TextoDeCarga(p, kEstadosUnidos), kEstadosUnidos);
  for (const auto& [nombre, valor] : cambios)
    d.*BuscarParametro(nombre)->miembro = valor;
  return d;
}

// The 13 result texts as the window shows them under the full stop, joined by blanks.
std::string Textos(const ResultadosEnlace& r) {
  std::string s;
  for (const auto& d : kResultados) {
    if (!s.empty())
      s += ' ';
    s += TextoResultado(r.*d.miembro, d, kEstadosUnidos);
  }
  return s;
}

struct CasoEnlace {
  const char* nombre;
  std::vector<std::pair<std::string_view, double>> cambios;
  // alpha mur tgphir gamma mui tgphii Vdcr Iacr Pr Qr Iaci Pi Qi
  const char* esperado;
};

class Enlace : public testing::TestWithParam<CasoEnlace> {};

TEST_P(Enlace, Resultados) {
  EXPECT_EQ(Textos(CalcularEnlace(Carga(GetParam().cambios))), GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Enlace,
    testing::Values(
        CasoEnlace{
            "Inicio",
            {},
            "18.40 7.57 0.412 24.71 6.14 0.53 549 1372.27 1098.0 452.4 1372.27 -1050.0 555.4"},
        CasoEnlace{
            "ReactanciasDefault",
            {{"Xcr", 4}, {"Xci", 4}},
            "18.26 7.81 0.412 24.60 6.33 0.53 549 1372.27 1098.0 452.3 1372.27 -1050.0 555.3"},
        CasoEnlace{
            "RcrUno",
            {{"Rcr", 1}},
            "15.78 8.38 0.369 24.71 6.14 0.53 549 1372.27 1098.0 405.0 1372.27 -1050.0 555.4"},
        CasoEnlace{
            "RciUno",
            {{"Rci", 1}},
            "18.40 7.57 0.412 26.49 5.82 0.57 549 1372.27 1098.0 452.4 1372.27 -1050.0 593.8"},
        CasoEnlace{
            "NiTres",
            {{"Ni", 3}},
            "18.40 7.57 0.412 52.12 3.54 1.37 549 1372.27 1098.0 452.4 2058.40 -1050.0 1440.2"},
        CasoEnlace{
            "TapiAlto",
            {{"tapi", 1.1}},
            "18.40 7.57 0.412 2.12 17.07 0.23 549 1372.27 1098.0 452.4 1247.52 -1050.0 240.7"},
        CasoEnlace{
            "RdcCero",
            {{"Rdc", 0}},
            "24.71 6.14 0.529 24.71 6.14 0.53 525 1372.27 1050.0 555.4 1372.27 -1050.0 555.4"},
        CasoEnlace{
            "RdcConDecimales",
            {{"Rdc", 12.345}},
            "18.19 7.63 0.408 24.71 6.14 0.53 549.69 1372.27 1099.4 449.0 1372.27 -1050.0 555.4"},
        CasoEnlace{"IdcMil",
                   {{"Idc", 1000}},
                   "23.62 3.34 0.473 26.36 3.06 0.53 537 686.13 537.0 254.2 686.13 -525.0 278.2"},
        CasoEnlace{
            "CuatroPuentes",
            {{"Nr", 4}, {"Ni", 4}},
            "60.86 3.22 1.920 62.18 3.19 2.03 549 2744.54 1098.0 2107.7 2744.54 -1050.0 2132.0"},
        CasoEnlace{
            "VdcnomNoCuenta",
            {{"Vdcnom", 1e300}},
            "18.40 7.57 0.412 24.71 6.14 0.53 549 1372.27 1098.0 452.4 1372.27 -1050.0 555.4"},
        // cos(alpha) = 3.418: no firing angle, and nothing formed from it.
        CasoEnlace{
            "XcrGrande",
            {{"Xcr", 388}},
            "ERROR ERROR ERROR 24.71 6.14 0.53 549 1372.27 1098.0 ERROR 1372.27 -1050.0 555.4"},
        CasoEnlace{
            "XciGrande",
            {{"Xci", 388}},
            "18.40 7.57 0.412 ERROR ERROR ERROR 549 1372.27 1098.0 452.4 1372.27 -1050.0 ERROR"},
        CasoEnlace{
            "TaprAlto",
            {{"tapr", 1.1}},
            "ERROR ERROR ERROR 24.71 6.14 0.53 549 1247.52 1098.0 ERROR 1372.27 -1050.0 555.4"},
        // Negative cosines give the principal value of arccos; the inverter's overlap then
        // cannot be formed (cos(gamma + mu) = -1.035).
        CasoEnlace{"InversionDeTension",
                   {{"Vdci", -600}},
                   "160.81 13.07 -0.245 170.00 ERROR ERROR -576 1372.27 -1152.0 282.2 1372.27 "
                   "1200.0 ERROR"},
        // cos(alpha) = cos(gamma) = 0: right angles, no overlap, a zero denominator.
        CasoEnlace{"CosenoCero",
                   {{"Vdci", 0}, {"Idc", 0}},
                   "90.00 0.00 ERROR 90.00 0.00 ERROR 0 0.00 0.0 ERROR 0.00 0.0 ERROR"},
        // Beyond the range of a double: the converter voltage cannot be formed.
        CasoEnlace{
            "TensionEnorme",
            {{"Uacr", 1e306}},
            "ERROR ERROR ERROR 24.71 6.14 0.53 549 1372.27 1098.0 ERROR 1372.27 -1050.0 555.4"},
        CasoEnlace{"CaidaEnorme",
                   {{"Rdc", 1e308}, {"Idc", 1e10}},
                   "ERROR ERROR ERROR ERROR ERROR ERROR ERROR 6861337646.38 ERROR ERROR "
                   "6861337646.38 -5250000000.0 ERROR"},
        CasoEnlace{
            "RelacionEnorme",
            {{"Uaci_nom", 1e-320}},
            "18.40 7.57 0.412 ERROR ERROR ERROR 549 1372.27 1098.0 452.4 ERROR -1050.0 ERROR"}),
    prueba::PorNombre());

TEST(Enlace, EjemploResuelto) {
  const auto r = CalcularEnlace(Carga());
  EXPECT_NEAR(*r.alpha, AGrados(0.321196036), 1e-7);
  EXPECT_NEAR(*r.mur, AGrados(0.132175839), 1e-7);
  EXPECT_NEAR(*r.tgphir, 0.412055142, 1e-9);
  EXPECT_NEAR(*r.gamma, AGrados(0.431190800), 1e-7);
  EXPECT_NEAR(*r.mui, AGrados(0.107101293), 1e-7);
  EXPECT_NEAR(*r.tgphii, 0.528973911, 1e-9);
  EXPECT_NEAR(*r.Iacr, 1372.267529, 1e-6);
  EXPECT_EQ(*r.Vdcr, 549);
  EXPECT_EQ(*r.Pr, 1098);
  EXPECT_NEAR(*r.Qr, 452.436546, 1e-6);
  EXPECT_EQ(*r.Pi, -1050);
  EXPECT_NEAR(*r.Qi, 555.422606, 1e-6);
  // The line loss separates the two active powers.
  EXPECT_NEAR(*r.Pr + *r.Pi, 12 * 2000.0 * 2000.0 / 1e6, 1e-9);
}

TEST(Enlace, ResultadosSiempreFinitos) {
  const double extremos[] = {0,  -0.0, 1e-320, -1e-320, 1e-10,  1,
                             -1, 1e10, -1e10,  1e300,   -1e300, std::numeric_limits<double>::max()};
  for (const auto& p : kParametros) {
    for (double v : extremos) {
      const auto r = CalcularEnlace(Carga({{p.nombre, v}}));
      for (const auto& d : kResultados) {
        const auto& valor = r.*d.miembro;
        if (valor) {
          EXPECT_TRUE(std::isfinite(*valor)) << p.nombre << "=" << v << " " << d.nombre;
        }
      }
    }
  }
}

struct CasoAngulo {
  double coseno;
  double resta;
  std::optional<double> radianes;
};

class Angulo : public testing::TestWithParam<CasoAngulo> {};

TEST_P(Angulo, ValorPrincipal) {
  const auto& c = GetParam();
  const auto v = PasoAngulo(c.coseno, c.resta);
  ASSERT_EQ(v.has_value(), c.radianes.has_value()) << c.coseno;
  if (v) {
    EXPECT_NEAR(*v, *c.radianes, 1e-12) << c.coseno;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Angulo,
    testing::Values(CasoAngulo{1, 0, 0.0}, CasoAngulo{-1, 0, kPi}, CasoAngulo{0, 0, kPi / 2},
                    CasoAngulo{-0.0, 0, kPi / 2}, CasoAngulo{0.5, 0, std::acos(0.5)},
                    CasoAngulo{-0.5, 0, std::acos(-0.5) - std::acos(-1.0) + kPi},
                    CasoAngulo{0.5, 0.25, std::acos(0.5) - 0.25},
                    CasoAngulo{std::nextafter(1.0, 2.0), 0, std::nullopt},
                    CasoAngulo{-1.0000001, 0, std::nullopt}, CasoAngulo{3.418, 0, std::nullopt},
                    CasoAngulo{std::numeric_limits<double>::quiet_NaN(), 0, std::nullopt},
                    CasoAngulo{std::numeric_limits<double>::infinity(), 0, std::nullopt}));

TEST(Angulo, ConversionAGradosConLaPiDelCalculo) {
  EXPECT_NEAR(AGrados(1), 57.2958279, 1e-7);
  EXPECT_EQ(NumeroConPatron(AGrados(*PasoAngulo(-0.5, 0)), kPatronAngulo, kEstadosUnidos),
            "120.00");
}

TEST(Razon, DenominadorCero) {
  EXPECT_FALSE(PasoRazon(kPi / 2, 0).has_value());
  EXPECT_FALSE(PasoRazon(0, 0).has_value());
  ASSERT_TRUE(PasoRazon(0.321196036, 0.132175839).has_value());
  EXPECT_NEAR(*PasoRazon(0.321196036, 0.132175839), 0.412055142, 1e-8);
}

}  // namespace
}  // namespace zelk
