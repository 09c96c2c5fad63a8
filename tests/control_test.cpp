#include "engine/control.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/calculo.h"
#include "engine/pasada.h"
#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

using prueba::kEspana;
using prueba::kEstadosUnidos;

using Cambios = std::vector<std::pair<std::string_view, std::string_view>>;

DatosEnlace Enlace(const Cambios& cambios) {
  DatosEnlace d;
  for (const auto& p : kParametros)
    d.*p.miembro = *TextoANumero(p.valorCarga, kEstadosUnidos);
  for (const auto& [nombre, texto] : cambios)
    d.*BuscarParametro(nombre)->miembro = *TextoANumero(texto, kEstadosUnidos);
  return d;
}

DatosControl Control(const Cambios& cambios) {
  TextosControl textos;
  for (std::size_t i = 0; i < kNumControl; ++i)
    textos[i] = kControl[i].valorDefault;
  for (const auto& [nombre, texto] : cambios)
    textos[BuscarControl(nombre) - kControl.data()] = texto;
  return std::get<DatosControl>(LeerControl(textos, kEstadosUnidos));
}

constexpr std::array<std::string_view, kNumAvisos> kNombresAvisos{
    "OrdenDeCorriente",  "TensionPerdida",   "InversorSinMargen", "AlphaSobreMaximo",
    "AlphaFueraDeBanda", "GammaSobreMaximo", "GammaFueraDeBanda"};

constexpr std::array<std::string_view, 7> kNombresSinPunto{
    "Ninguno", "Corriente", "Tension", "Alpha", "Mur", "Gamma", "Mui"};

// "tapr tapi Idc Vdci | modo | avisos", "| sin punto: ..." when the point is none, and the 13
// result texts, as zelk shows them.
std::string Textos(const SolucionControl& s) {
  std::string t;
  for (const auto& e : kElegidos)
    t += TextoElegido(e, s.datos, kEstadosUnidos) + ' ';
  t += "| " + std::string(TextoModo(s.modo)) + " |";
  for (std::size_t a = 0; a < kNumAvisos; ++a)
    if (Tiene(s.avisos, static_cast<Aviso>(a)))
      t += ' ' + std::string(kNombresAvisos[a]);
  if (s.sinPunto != SinPunto::Ninguno)
    t += " | sin punto: " + std::string(kNombresSinPunto[static_cast<std::size_t>(s.sinPunto)]);
  t += "\n";
  for (const auto& d : kResultados)
    t += TextoResultado(s.resultados.*d.miembro, d, kEstadosUnidos) + ' ';
  t.pop_back();
  return t;
}

struct CasoControl {
  const char* nombre;
  Cambios enlace, control;
  const char* esperado;
};

class Reglas : public testing::TestWithParam<CasoControl> {};

// The start-up link under the default control data, with some data changed. The figures were worked
// out apart from this code, step by step after the rules.
TEST_P(Reglas, PuntoDeTrabajo) {
  const auto& c = GetParam();
  const DatosEnlace d = Enlace(c.enlace);
  const DatosControl k = Control(c.control);
  ASSERT_TRUE(DatosAceptables(d));
  ASSERT_FALSE(ComprobarControl(k, d.Rdc));
  const SolucionControl s = ResolverControl(d, k);
  EXPECT_EQ(Textos(s), c.esperado);
  // The 13 results are the pass's at the point chosen.
  const ResultadosEnlace pasada = CalcularEnlace(s.datos);
  for (const auto& r : kResultados)
    EXPECT_EQ(s.resultados.*r.miembro, pasada.*r.miembro) << r.nombre;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Reglas,
    testing::Values(
        // Rule 1: the order gives the current; the taps stay with their angles in the bands.
        CasoControl{"DefectoEsElInicio",
                    {},
                    {},
                    "1 1 2000.00 525 | corriente en el rectificador |\n"
                    "18.40 7.57 0.412 24.71 6.14 0.53 549 1372.27 1098.0 452.4 1372.27 -1050.0 "
                    "555.4"},
        CasoControl{"PotenciaEnElInversor",
                    {},
                    {{"consigna", "-1050"}},
                    "1 1 2000.00 525 | corriente en el rectificador |\n"
                    "18.40 7.57 0.412 24.71 6.14 0.53 549 1372.27 1098.0 452.4 1372.27 -1050.0 "
                    "555.4"},
        CasoControl{"PotenciaEnElInversorConRcomp",
                    {},
                    {{"consigna", "-1000"}, {"Rcomp", "5"}},
                    "1.0125 1.01875 1940.63 515.296855201959 | corriente en el rectificador |\n"
                    "19.57 7.15 0.431 24.75 6.06 0.53 538.584402717258 1315.09 1045.2 450.6 "
                    "1307.02 -1000.0 529.2"},
        // Rcomp = Rdc schedules the rectifier's voltage: Vdcr is Vprog.
        CasoControl{"RcompIgualRdc",
                    {},
                    {{"Rcomp", "12"}},
                    "1.0375 1.05 2091.43 499.902857142857 | corriente en el rectificador |\n"
                    "19.31 7.86 0.434 24.39 6.74 0.53 525 1383.13 1098.0 476.4 1366.67 -1045.5 "
                    "553.3"},
        CasoControl{"OrdenDeCorriente",
                    {},
                    {{"orden", "corriente"}, {"consigna", "1000"}},
                    "1.03125 1.0125 1000.00 525 | corriente en el rectificador |\n"
                    "19.12 4.08 0.388 24.88 3.24 0.50 537 665.34 537.0 208.6 677.66 -525.0 262.1"},
        CasoControl{"PotenciaCero",
                    {},
                    {{"consigna", "0"}},
                    "1.06875 1.03125 0.00 525 | corriente en el rectificador |\n"
                    "19.22 0.00 ERROR 24.34 0.00 ERROR 525 0.00 0.0 ERROR 0.00 0.0 ERROR"},
        // Rule 2: a tap walks its grid to the first position inside the band.
        CasoControl{"AlphaAltoSubeTapr",
                    {{"Uacr", "530"}},
                    {},
                    "1.05 1 2000.00 525 | corriente en el rectificador |\n"
                    "19.96 7.10 0.439 24.71 6.14 0.53 549 1306.92 1098.0 481.6 1372.27 -1050.0 "
                    "555.4"},
        CasoControl{"DesdeFueraDeLaRejilla",
                    {{"Uacr", "530"}, {"tapr", "1.003"}},
                    {},
                    "1.05 1 2000.00 525 | corriente en el rectificador |\n"
                    "19.96 7.10 0.439 24.71 6.14 0.53 549 1306.92 1098.0 481.6 1372.27 -1050.0 "
                    "555.4"},
        CasoControl{"DesdeFueraDelMargen",
                    {{"tapr", "1.3"}},
                    {},
                    "1.04375 1 2000.00 525 | corriente en el rectificador |\n"
                    "7.96 12.27 0.267 24.71 6.14 0.53 549 1314.75 1098.0 293.6 1372.27 -1050.0 "
                    "555.4"},
        CasoControl{"AlphaBajoBajaTapr",
                    {{"Uacr", "470"}},
                    {},
                    "0.98125 1 2000.00 525 | corriente en el rectificador |\n"
                    "7.91 12.31 0.267 24.71 6.14 0.53 549 1398.49 1098.0 293.0 1372.27 -1050.0 "
                    "555.4"},
        CasoControl{"GammaAltoSubeTapi",
                    {{"Uaci", "540"}},
                    {},
                    "1 1.08125 2000.00 525 | corriente en el rectificador |\n"
                    "18.40 7.57 0.412 24.56 6.17 0.53 549 1372.27 1098.0 452.4 1269.15 -1050.0 "
                    "552.5"},
        CasoControl{"GammaBajoBajaTapi",
                    {{"Uaci", "480"}},
                    {},
                    "1 1 2000.00 525 | corriente en el rectificador |\n"
                    "18.40 7.57 0.412 18.86 7.72 0.42 549 1372.27 1098.0 452.4 1372.27 -1050.0 "
                    "444.0"},
        CasoControl{"BandaMasEstrechaQueUnPaso",
                    {{"Uacr", "530"}},
                    {{"alpha_min", "19.5"}, {"alpha_max", "19.6"}},
                    "1.05 1 2000.00 525 | corriente en el rectificador | AlphaFueraDeBanda\n"
                    "19.96 7.10 0.439 24.71 6.14 0.53 549 1306.92 1098.0 481.6 1372.27 -1050.0 "
                    "555.4"},
        // Rule 3: the limits.
        CasoControl{"AlphaAltoEnElExtremo",
                    {{"Uacr", "700"}},
                    {},
                    "1.2 1 2000.00 525 | corriente en el rectificador | AlphaSobreMaximo\n"
                    "35.58 4.02 0.771 24.71 6.14 0.53 549 1143.56 1098.0 846.1 1372.27 -1050.0 "
                    "555.4"},
        CasoControl{"GammaAltoEnElExtremo",
                    {{"Uaci", "700"}},
                    {},
                    "1 1.2 2000.00 525 | corriente en el rectificador | GammaSobreMaximo\n"
                    "18.40 7.57 0.412 38.86 3.75 0.86 549 1372.27 1098.0 452.4 1143.56 -1050.0 "
                    "905.1"},
        CasoControl{"MargenDeCorriente",
                    {{"Uacr", "330"}},
                    {},
                    "0.8 1.15625 1800.00 453.418737454335 | corriente en el inversor (margen) |\n"
                    "5.00 14.65 0.245 24.74 6.36 0.53 475.018737454335 1543.80 855.0 209.3 "
                    "1068.14 -816.2 434.4"},
        CasoControl{"MargenConGammaAlto",
                    {{"Uacr", "330"}, {"Uaci", "700"}},
                    {},
                    "0.8 1.2 1800.00 453.418737454335 | corriente en el inversor (margen) | "
                    "GammaSobreMaximo\n"
                    "5.00 14.65 0.245 47.68 2.92 1.16 475.018737454335 1543.80 855.0 209.3 "
                    "1029.20 -816.2 943.7"},
        // The inverter's AC voltage cannot hold the rectifier's at any tap: no operating point.
        CasoControl{"MargenSinInversor",
                    {{"Uacr", "330"}, {"Uaci", "250"}},
                    {},
                    "0.8 0.8 1800.00 453.418737454335 | corriente en el inversor (margen) | "
                    "InversorSinMargen | sin punto: Gamma\n"
                    "5.00 14.65 0.245 ERROR ERROR ERROR 475.018737454335 1543.80 855.0 209.3 "
                    "1543.80 -816.2 ERROR"},
        CasoControl{"TensionProgramadaPerdida",
                    {{"Uaci", "350"}},
                    {},
                    "1.0625 0.8 2000.00 487.396329520024 | corriente en el rectificador | "
                    "TensionPerdida\n"
                    "19.79 7.59 0.441 15.00 9.64 0.37 511.396329520024 1291.55 1022.8 450.7 "
                    "1715.33 -974.8 358.6"},
        CasoControl{"VcmodPasaAOrdenDeCorriente",
                    {},
                    {{"Rcomp", "30"}, {"Vcmod", "480"}},
                    "1.1125 1.13125 2091.43 462.257142857143 | corriente en el rectificador | "
                    "OrdenDeCorriente\n"
                    "19.70 8.24 0.446 24.56 7.17 0.54 487.354285714286 1289.89 1019.3 454.8 "
                    "1268.51 -966.8 520.2"},
        CasoControl{"Bloqueado",
                    {{"Uacr", "700"}},
                    {{"orden", "bloqueado"}},
                    "1 1 0.00 0 | bloqueado |\n"
                    "90.00 0.00 ERROR 90.00 0.00 ERROR 0 0.00 0.0 ERROR 0.00 0.0 ERROR"}),
    prueba::PorNombre());

// The two-area system of Kundur with one LCC link, as the commercial program prints it.
TEST(Control, Kundur) {
  DatosEnlace d{};
  d.Uacr = 0.9595 * 230;
  d.Uacr_nom = 230;
  d.Eacr_nom = 230 * 0.92630;
  d.tapr = 0.9375;
  d.Nr = 2;
  d.Xcr = 13.5939;
  d.Uaci = 0.9647 * 230;
  d.Uaci_nom = 230;
  d.Eaci_nom = 230 * 0.90970;
  d.tapi = 0.94375;
  d.Ni = 2;
  d.Xci = 13.3174;
  d.Rdc = 5;
  d.Vdcnom = 500;
  const DatosControl c = Control({{"consigna", "500"},
                                  {"Vprog", "500"},
                                  {"alpha_min", "15"},
                                  {"alpha_max", "90"},
                                  {"gamma_min", "15"},
                                  {"gamma_max", "90"}});
  ASSERT_TRUE(DatosAceptables(d));
  ASSERT_FALSE(ComprobarControl(c, d.Rdc));
  const SolucionControl s = ResolverControl(d, c);
  EXPECT_EQ(s.datos.tapr, 0.9375);
  EXPECT_EQ(s.datos.tapi, 0.94375);
  EXPECT_EQ(s.modo, Modo::CorrienteRectificador);
  EXPECT_EQ(s.avisos, 0);
  EXPECT_EQ(NumeroConPatron(s.datos.Idc, kPatronPotencia, kEstadosUnidos), "990.2");
  const auto texto = [&](std::string_view nombre) {
    const auto* r = BuscarResultado(nombre);
    return TextoResultado(s.resultados.*r->miembro, *r, kEstadosUnidos);
  };
  EXPECT_EQ(texto("alpha"), "25.70");
  EXPECT_EQ(texto("gamma"), "24.61");
  EXPECT_EQ(texto("Pr"), "500.0");
  EXPECT_EQ(texto("Qr"), "298.8");
  EXPECT_EQ(texto("Pi"), "-495.1");
  EXPECT_EQ(texto("Qi"), "285.0");
}

struct CasoSinPunto {
  const char* nombre;
  Cambios enlace, control;
  SinPunto sinPunto;
};

class SinPuntoDeTrabajo : public testing::TestWithParam<CasoSinPunto> {};

// Orders no link with these data can meet, though every datum passes its checks.
TEST_P(SinPuntoDeTrabajo, DiceQuePorQue) {
  const auto& c = GetParam();
  const DatosEnlace d = Enlace(c.enlace);
  const DatosControl k = Control(c.control);
  ASSERT_TRUE(DatosAceptables(d));
  ASSERT_FALSE(ComprobarControl(k, d.Rdc));
  EXPECT_EQ(kNombresSinPunto[static_cast<std::size_t>(ResolverControl(d, k).sinPunto)],
            kNombresSinPunto[static_cast<std::size_t>(c.sinPunto)]);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Casos, SinPuntoDeTrabajo,
    testing::Values(
        // 1e308 A: the rectifier's cosine passes 1 at every tap, and so does the margin's.
        CasoSinPunto{"CorrienteEnorme", {}, {{"orden", "corriente"}, {"consigna", "1e308"}},
                     SinPunto::Alpha},
        // 10^6 A: alpha_min with the rectifier's voltage gone negative; no overlap commutates it.
        CasoSinPunto{"SinConmutacion", {}, {{"orden", "corriente"}, {"consigna", "1e6"}},
                     SinPunto::Mur},
        // 1098 MW over 10^-306 kV falls below Vcmod: P/Vprog passes the largest number.
        CasoSinPunto{"CorrienteSinFin", {}, {{"Vprog", "1e-306"}, {"Vcmod", "1"}},
                     SinPunto::Corriente},
        // 10^306 ohm of line takes the inverter's voltage to minus infinity.
        CasoSinPunto{"TensionSinFin", {{"Rdc", "1e306"}}, {{"orden", "corriente"}},
                     SinPunto::Tension}),
    prueba::PorNombre());
// clang-format on

struct CasoRechazo {
  const char* nombre;
  Cambios control;
  std::string_view dato, motivo, otro;
};

class Rechazos : public testing::TestWithParam<CasoRechazo> {};

TEST_P(Rechazos, NombranElDato) {
  const auto& c = GetParam();
  const auto r = ComprobarControl(Control(c.control), 12);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->dato->nombre, c.dato);
  EXPECT_EQ(r->motivo, c.motivo);
  EXPECT_EQ(r->otro != nullptr ? r->otro->nombre : "", c.otro);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Rechazos,
    testing::Values(
        CasoRechazo{"PasoCero", {{"tapr_paso", "0"}}, "tapr_paso", "ha de ser mayor que 0", ""},
        CasoRechazo{"BandaAlReves",
                    {{"gamma_min", "30"}, {"gamma_max", "20"}},
                    "gamma_min",
                    "no puede ser mayor que",
                    "gamma_max"},
        CasoRechazo{"TapsAlReves",
                    {{"tapi_min", "1.2"}, {"tapi_max", "0.8"}},
                    "tapi_min",
                    "no puede ser mayor que",
                    "tapi_max"},
        CasoRechazo{"TapMinimoCero", {{"tapr_min", "0"}}, "tapr_min", "ha de ser mayor que 0", ""},
        CasoRechazo{"DemasiadasPosiciones",
                    {{"tapi_paso", "0.00001"}},
                    "tapi_paso",
                    "es demasiado pequeño: más de 10000 posiciones entre el mínimo y el máximo",
                    ""},
        CasoRechazo{"AnguloNegativo",
                    {{"alpha_min", "-1"}},
                    "alpha_min",
                    "ha de estar entre 0 y 180 grados",
                    ""},
        CasoRechazo{"VprogCero", {{"Vprog", "0"}}, "Vprog", "ha de ser mayor que 0", ""},
        CasoRechazo{"RcompNegativa", {{"Rcomp", "-1"}}, "Rcomp", "no puede ser negativa", ""},
        CasoRechazo{
            "MargenUno", {{"margen", "1"}}, "margen", "ha de ser al menos 0 y menor que 1", ""},
        CasoRechazo{"CorrienteNegativa",
                    {{"orden", "corriente"}, {"consigna", "-5"}},
                    "consigna",
                    "no puede ser negativa en una orden de corriente",
                    ""},
        // 525 kV with 600 ohm of compounding cannot deliver 1000 MW at the inverter.
        CasoRechazo{
            "PotenciaInalcanzable",
            {{"consigna", "-1000"}, {"Rcomp", "600"}},
            "consigna",
            "ninguna corriente da esa potencia con la tensión programada y las resistencias",
            ""}),
    prueba::PorNombre());

TEST(Control, NumerosNoFinitosYTextos) {
  DatosControl c = Control({});
  c.Vcmod = std::numeric_limits<double>::infinity();
  const auto r = ComprobarControl(c, 12);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->dato->nombre, "Vcmod");

  TextosControl textos;
  for (std::size_t i = 0; i < kNumControl; ++i)
    textos[i] = kControl[i].valorDefault;
  textos[0] = "Potencia";
  const auto orden = LeerControl(textos, kEstadosUnidos);
  ASSERT_TRUE(std::holds_alternative<RechazoControl>(orden));
  EXPECT_EQ(std::get<RechazoControl>(orden).dato->nombre, "orden");
  // Numbers are read as the 18 data are, under the user's settings: a decimal comma in Spain.
  textos[0] = " corriente ";
  textos[4] = "0,2";
  const auto leidos = LeerControl(textos, kEspana);
  ASSERT_TRUE(std::holds_alternative<DatosControl>(leidos));
  EXPECT_EQ(std::get<DatosControl>(leidos).orden, Orden::Corriente);
  EXPECT_EQ(std::get<DatosControl>(leidos).margen, 0.2);
  textos[4] = "diez";
  EXPECT_EQ(std::get<RechazoControl>(LeerControl(textos, kEspana)).dato->nombre, "margen");
}

}  // namespace
}  // namespace zelk
