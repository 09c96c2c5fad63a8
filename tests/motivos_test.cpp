// Reasons for the results shown as ERROR, the model's warnings and the detail of both ends: each
// path of the pass to ERROR named, the remedies they offer tried, the detail against figures worked
// by hand.
#include "engine/motivos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/calculo.h"
#include "engine/detalle.h"
#include "engine/pasada.h"
#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

using prueba::kEstadosUnidos;
using Cambios = std::vector<std::pair<std::string_view, double>>;

DatosEnlace Carga(const Cambios& cambios) {
  DatosEnlace d;
  for (const auto& p : kParametros)
    d.*p.miembro = *TextoANumero(TextoDeCarga(p, kEstadosUnidos), kEstadosUnidos);
  for (const auto& [nombre, valor] : cambios)
    d.*BuscarParametro(nombre)->miembro = valor;
  return d;
}

// A six-pulse bridge whose no-load voltage is 125 kV (E = 125 / (3 sqrt2 / pi) line to line),
// Xc = 6.2292 ohm and Id = 1600 A: at alpha = 0 it gives 125 - (3 / pi) 6.2292 1.6 = 115.48 kV.
Cambios PuenteDeLibro(double Vdci) {
  const double E = 125 / (3 * std::sqrt(2.0) / kPi);
  return {{"Nr", 1},       {"Uacr", E}, {"Uacr_nom", E}, {"Eacr_nom", E}, {"tapr", 1},
          {"Xcr", 6.2292}, {"Rcr", 0},  {"Idc", 1600},   {"Rdc", 0},      {"Vdci", Vdci}};
}

struct CasoMotivo {
  std::string nombre;
  Cambios cambios;
  // Each reason, or its beginning when it ends in "...".
  std::vector<std::string> motivos;
};

class Motivo : public testing::TestWithParam<CasoMotivo> {};

TEST_P(Motivo, DiceQueEcuacionFallaYPorCuanto) {
  const DatosEnlace d = Carga(GetParam().cambios);
  const auto motivos = MotivosDeError(d, CalcularEnlace(d), kEstadosUnidos);
  ASSERT_EQ(motivos.size(), GetParam().motivos.size()) << testing::PrintToString(motivos);
  for (std::size_t i = 0; i < motivos.size(); ++i) {
    const std::string& esperado = GetParam().motivos[i];
    if (esperado.ends_with("..."))
      EXPECT_EQ(motivos[i].substr(0, esperado.size() - 3), esperado.substr(0, esperado.size() - 3));
    else
      EXPECT_EQ(motivos[i], esperado);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Caminos, Motivo,
    testing::Values(
        CasoMotivo{"Inicio", {}, {}},
        CasoMotivo{"PuenteDeLibroPorEncimaDeSuMaximo",
                   PuenteDeLibro(115.49),
                   {"alpha: cos α = 1.0001 > 1: el rectificador no da Vdcr = 115.49 kV con este "
                    "tap; su máximo, a α = 0, es 115.48 kV; se forma con tapr ≤ 0.9999 p.u., "
                    "Uacr ≥ 92.57 kV, Vdci ≤ 115.48 kV o Idc ≤ 1598.7 A",
                    "mur: ERROR porque alpha lo es", "tgphir: ERROR porque alpha lo es",
                    "Qr: ERROR porque alpha lo es"}},
        CasoMotivo{"PorUnaMilesimaDeVoltio",
                   PuenteDeLibro(115.4825),
                   {"alpha: cos α = 1.0000002 > 1: el rectificador no da Vdcr = 115.483 kV con "
                    "este tap; su máximo, a α = 0, es 115.482 kV...",
                    "mur: ...", "tgphir: ...", "Qr: ..."}},
        CasoMotivo{"VdciDemasiadoAlta",
                   {{"Vdci", 700}},
                   {"alpha: cos α = 1.24 > 1: el rectificador no da Vdcr = 724.00 kV con este "
                    "tap; su máximo, a α = 0, es 579.38 kV; se forma con tapr ≤ 0.8042 p.u., "
                    "Uacr ≥ 621.69 kV o Vdci ≤ 555.38 kV",
                    "mur: ERROR porque alpha lo es", "tgphir: ERROR porque alpha lo es",
                    "gamma: cos γ = 1.20 > 1: el inversor no da Vdci = 700.00 kV con este tap; su "
                    "máximo, a γ = 0, es 579.38 kV; se forma con tapi ≤ 0.8312 p.u., "
                    "Uaci ≥ 601.49 kV o Vdci ≤ 579.38 kV",
                    "mui: ERROR porque gamma lo es", "tgphii: ERROR porque gamma lo es",
                    "Qr: ERROR porque alpha lo es", "Qi: ERROR porque gamma lo es"}},
        CasoMotivo{"VdciDemasiadoBaja",
                   {{"Vdci", -700}},
                   {"alpha: cos α = -1.11 < -1: el rectificador no baja a Vdcr = -676.00 kV con "
                    "este tap; su mínimo, a α = 180°, es -609.02 kV...",
                    "mur: ...", "tgphir: ...",
                    "gamma: cos γ = -1.15 < -1: el inversor no baja a Vdci = -700.00 kV con este "
                    "tap; su mínimo, a γ = 180°, es -609.02 kV...",
                    "mui: ...", "tgphii: ...", "Qr: ...", "Qi: ..."}},
        CasoMotivo{"ConmutacionQueNoTermina",
                   {{"Vdci", -400}, {"Xcr", 60}},
                   {"mur: cos(α + μ) = -1.02 < -1: la conmutación no termina antes de α + μ = "
                    "180°: la caída √2·Idc·Xcr = 169.71 kV supera (1 + cos α)·Eacr = 165.64 kV; "
                    "se forma con Idc ≤ 1893.0 A, Xcr ≤ 57.127 ohm/fase, tapr ≤ 0.9818 p.u. o "
                    "Uacr ≥ 509.24 kV",
                    "tgphir: ERROR porque mur lo es", "Qr: ERROR porque mur lo es"}},
        CasoMotivo{"SinReactancia",
                   {{"Xcr", 0}},
                   {"tgphir: sin solape (μ = 0, pues Idc·Xcr = 0) la fórmula exacta de Q/P da "
                    "0/0; sin solape, Q/P valdría tg α = 0.414; se forma con Xcr ≠ 0",
                    "Qr: ERROR porque tgphir lo es"}},
        CasoMotivo{"SinCorriente",
                   {{"Idc", 0}},
                   {"tgphir: sin solape (μ = 0, pues Idc·Xcr = 0) la fórmula exacta de Q/P da "
                    "0/0; sin solape, Q/P valdría tg α = 0.530; se forma con Idc ≠ 0",
                    "tgphii: sin solape (μ = 0, pues Idc·Xci = 0)...",
                    "Qr: ERROR porque tgphir lo es", "Qi: ERROR porque tgphii lo es"}},
        CasoMotivo{"SolapeDespreciable",
                   {{"Vdci", 1e300}, {"Uacr", 1e303}, {"Uaci", 1e303}, {"Idc", 1e3}, {"Rdc", 0}},
                   {"tgphir: sin solape (μ = 0, pues Idc·Xcr es despreciable frente a Eacr)...",
                    "tgphii: ...", "Qr: ...", "Qi: ..."}},
        CasoMotivo{
            "PotenciasQueDesbordan",
            {{"Vdci", 1e300}, {"Uacr", 1e303}, {"Uaci", 1e303}, {"Idc", 1e10}},
            {"tgphir: ...", "tgphii: ...",
             "Pr: Vdcr·Idc se sale de los números representables: los datos son demasiado "
             "grandes o demasiado pequeños",
             "Qr: ERROR porque Pr lo es", "Pi: Vdci·Idc se sale...", "Qi: ERROR porque Pi lo es"}},
        CasoMotivo{"TensionQueDesborda",
                   {{"Vdci", 1e306}, {"Idc", 1e6}},
                   {"alpha: ERROR porque Vdcr lo es", "mur: ERROR porque Vdcr lo es",
                    "tgphir: ERROR porque Vdcr lo es",
                    "gamma: cos γ no es un número finito (Eaci = 220 kV): los datos son "
                    "demasiado grandes o demasiado pequeños",
                    "mui: ERROR porque gamma lo es", "tgphii: ERROR porque gamma lo es",
                    "Vdcr: Vdci·1000 + Idc·Rdc se sale...", "Pr: ERROR porque Vdcr lo es",
                    "Qr: ERROR porque Vdcr lo es", "Pi: Vdci·Idc se sale...",
                    "Qi: ERROR porque Pi lo es"}},
        CasoMotivo{"RelacionQueDesborda",
                   {{"Eacr_nom", 1e308}, {"Uacr_nom", 1e-308}},
                   {"alpha: Eacr = Uacr·Eacr_nom/Uacr_nom/tapr se sale...",
                    "mur: ERROR porque alpha lo es", "tgphir: ERROR porque alpha lo es",
                    "Iacr: Eacr_nom/Uacr_nom se sale...", "Qr: ERROR porque alpha lo es"}},
        CasoMotivo{"CorrienteQueDesborda",
                   {{"Eaci_nom", 1e200}, {"Uaci_nom", 1e-100}, {"Uaci", 1e-100}, {"Idc", 1e10}},
                   {"alpha: ...", "mur: ...", "tgphir: ...", "tgphii: ...", "Qr: ...",
                    "Iaci: (√6/π)·Ni·Idc·Eaci_nom/Uaci_nom/tapi se sale...", "Qi: ..."}},
        CasoMotivo{"TensionAlternaQueSeAnula",
                   {{"Uacr", 1e-300}, {"Eacr_nom", 1e-300}},
                   {"alpha: cos α no es un número finito (Eacr = 0 kV)...",
                    "mur: ERROR porque alpha lo es", "tgphir: ERROR porque alpha lo es",
                    "Qr: ERROR porque alpha lo es"}}),
    prueba::PorNombre());

// The remedies of a reason: "tapr ≤ 0.9999 p.u." as the datum and the number.
std::vector<std::pair<std::string, double>> Remedios(const std::string& motivo) {
  std::vector<std::pair<std::string, double>> remedios;
  const auto inicio = motivo.find("; se forma con ");
  if (inicio == std::string::npos)
    return remedios;
  std::string resto = motivo.substr(inicio + 15);
  for (std::size_t desde = 0; desde < resto.size();) {
    std::size_t fin = std::min(resto.find(", ", desde), resto.find(" o ", desde));
    fin = std::min(fin, resto.size());
    const std::string item = resto.substr(desde, fin - desde);
    desde = fin + (fin < resto.size() && resto[fin] == ',' ? 2 : 3);
    for (const std::string signo : {" ≤ ", " ≥ "}) {
      const auto s = item.find(signo);
      if (s == std::string::npos)
        continue;
      std::string numero = item.substr(s + signo.size());
      numero = numero.substr(0, numero.find(' '));
      remedios.emplace_back(item.substr(0, s), *TextoANumero(numero, kEstadosUnidos));
    }
  }
  return remedios;
}

// Over data far from the start-up point, every result shown as ERROR has one reason, which opens
// with its name, and each datum it offers, typed as written, forms the result.
TEST(Motivos, CadaErrorTieneSuMotivoYSusRemediosLoForman) {
  std::mt19937 azar(20240611);
  std::uniform_real_distribution<double> factor(-1.5, 3.5);
  std::size_t errores = 0, remedios = 0;
  for (int caso = 0; caso < 600; ++caso) {
    DatosEnlace d = Carga({});
    for (const char* n : {"tapr", "Idc", "Xcr", "Uaci", "tapi", "Vdci", "Xci", "Rdc", "Rcr"})
      d.*BuscarParametro(n)->miembro *= factor(azar);
    if (!DatosAceptables(d))
      continue;
    const ResultadosEnlace res = CalcularEnlace(d);
    const auto motivos = MotivosDeError(d, res, kEstadosUnidos);
    std::size_t m = 0;
    for (const auto& desc : kResultados) {
      if (res.*desc.miembro)
        continue;
      ++errores;
      ASSERT_LT(m, motivos.size());
      const std::string& motivo = motivos[m++];
      EXPECT_TRUE(motivo.starts_with(std::string(desc.nombre) + ": ")) << motivo;
      for (const auto& [dato, valor] : Remedios(motivo)) {
        DatosEnlace con = d;
        con.*BuscarParametro(dato)->miembro = valor;
        EXPECT_TRUE(DatosAceptables(con) && (CalcularEnlace(con).*desc.miembro)) << motivo;
        ++remedios;
      }
    }
    EXPECT_EQ(m, motivos.size());
  }
  EXPECT_GT(errores, 300u);
  EXPECT_GT(remedios, 100u);
}

struct CasoAviso {
  std::string nombre;
  Cambios cambios;
  std::vector<std::string> avisos;
};

class Aviso : public testing::TestWithParam<CasoAviso> {};

TEST_P(Aviso, FueraDelModelo) {
  const DatosEnlace d = Carga(GetParam().cambios);
  EXPECT_EQ(AvisosDelModelo(d, CalcularEnlace(d), kEstadosUnidos), GetParam().avisos);
}

INSTANTIATE_TEST_SUITE_P(
    Limites, Aviso,
    testing::Values(
        CasoAviso{"Inicio", {}, {}},
        CasoAviso{"PuentesFraccionarios",
                  {{"Nr", 1.5}, {"Vdci", 300}},
                  {"Nr = 1.5: el número de puentes en serie es un entero positivo; se calcula "
                   "como si fueran 1.5"}},
        CasoAviso{"PuentesNegativos",
                  {{"Ni", -2}},
                  {"Ni = -2: el número de puentes en serie es un entero positivo; se calcula "
                   "como si fueran -2"}},
        CasoAviso{"TapsFueraDeLoHabitual",
                  {{"tapr", 0.69}, {"tapi", 1.31}},
                  {"tapr = 0.69: fuera de 0.7 a 1.3, poco habitual",
                   "tapi = 1.31: fuera de 0.7 a 1.3, poco habitual"}},
        CasoAviso{"TapsEnElBorde", {{"tapr", 0.7}, {"tapi", 1.3}, {"Uaci", 650}}, {}},
        CasoAviso{"MargenPequeno",
                  {{"tapi", 1.1}},
                  {"gamma = 2.12°: por debajo de 5°, poco habitual (con tan poco margen el "
                   "inversor arriesga fallos de conmutación)"}},
        // 4.999 shows as 5.00 with the two decimals of alpha: the warning shows more.
        CasoAviso{"DisparoJustoBajoCinco",
                  {{"Vdci", 553.1285}},
                  {"alpha = 4.999°: por debajo de 5°, poco habitual"}},
        CasoAviso{"SolapeDeMasDeSesenta",
                  {{"Xcr", 80}, {"Vdci", 0}},
                  {"mur = 61.97°: con un solape de 60° o más conducen más de tres válvulas a la "
                   "vez, y el modelo (dos y tres alternadas) no vale: las cifras no significan "
                   "nada"}},
        CasoAviso{"SolapeNegativo",
                  {{"Idc", -2000}},
                  {"mur = -5.33°: un solape negativo (Idc·Xcr < 0) está fuera del modelo",
                   "mui = -6.14°: un solape negativo (Idc·Xci < 0) está fuera del modelo"}}),
    prueba::PorNombre());

struct CasoDetalle {
  std::string nombre;
  Cambios cambios;
  bool inversor;
  // E, Vd0, caidaX, caidaR (kV), the cosine and the overlap (degrees), worked by hand.
  double E, Vd0, caidaX, caidaR, coseno, solape;
};

class Detalle : public testing::TestWithParam<CasoDetalle> {};

TEST_P(Detalle, ComoEnElLibro) {
  const auto& c = GetParam();
  const DetalleEnlace detalle = CalcularDetalle(Carga(c.cambios));
  const DetalleExtremo& e = c.inversor ? detalle.inversor : detalle.rectificador;
  EXPECT_NEAR(*e.E, c.E, 0.01);
  EXPECT_NEAR(*e.Vd0, c.Vd0, 0.01);
  EXPECT_NEAR(*e.caidaX, c.caidaX, 0.01);
  EXPECT_NEAR(*e.caidaR, c.caidaR, 0.01);
  EXPECT_NEAR(*e.coseno, c.coseno, 1e-4);
  EXPECT_NEAR(*e.solape, c.solape, 0.01);
  // The DC voltage of the end from its pieces, as the textbooks write it.
  const double Vd = *e.Vd0 * *e.coseno - *e.caidaX + (c.inversor ? *e.caidaR : -*e.caidaR);
  EXPECT_NEAR(Vd, c.inversor ? Carga(c.cambios).Vdci : *CalcularEnlace(Carga(c.cambios)).Vdcr,
              1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Libro, Detalle,
    testing::Values(
        // Vd0 = 125 kV and 115.48 kV at alpha = 0: 9.52 kV of reactive drop; cos(mu) = 1 - sqrt2
        // Id Xc / E = 1 - 2 x 9.52 / 125, 32.04°, less the 0.02° of alpha a hair below the top.
        CasoDetalle{"SeisPulsosEnAlphaCero", PuenteDeLibro(115.48247), false, 92.56, 125.00, 9.52,
                    0, 1.0, 32.02},
        // Twelve pulses, E = 100 kV, Xc = 5 ohm, Id = 2 kA, alpha = 15°: Vd0 = 2 x 1.35047 x 100,
        // Vd = 270.09 cos 15° - 19.10 = 241.79 kV; cos(15° + mu) = cos 15° - sqrt2 x 2 x 5 / 100.
        CasoDetalle{"DocePulsosAQuinceGrados",
                    {{"Nr", 2},
                     {"Uacr", 100},
                     {"Uacr_nom", 100},
                     {"Eacr_nom", 100},
                     {"Xcr", 5},
                     {"Rcr", 0},
                     {"Idc", 2000},
                     {"Rdc", 0},
                     {"Vdci", 241.7909}},
                    false,
                    100,
                    270.09,
                    19.10,
                    0,
                    0.96593,
                    19.46},
        // An inverter with resistance: E = 100 kV, Xc = 4 ohm, Rc = 1 ohm, Id = 1 kA, gamma =
        // 18°: Vd = 135.047 cos 18° - 3.82 + 2 = 126.62 kV; cos(18° + mu) = cos 18° - sqrt2 x 4 /
        // 100 = 0.89449, 26.56°.
        CasoDetalle{"InversorConResistencia",
                    {{"Ni", 1},
                     {"Uaci", 100},
                     {"Uaci_nom", 100},
                     {"Eaci_nom", 100},
                     {"Xci", 4},
                     {"Rci", 1},
                     {"Idc", 1000},
                     {"Vdci", 126.6183}},
                    true,
                    100,
                    135.05,
                    3.82,
                    2,
                    0.95106,
                    8.56}),
    prueba::PorNombre());

}  // namespace
}  // namespace zelk
