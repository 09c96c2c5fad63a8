#include "apps/zelk-calc/zelk_calc.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

struct Salida {
  int estado;
  std::string out, err;
};

Salida Ejecutar(std::vector<std::string_view> args,
                const ConfiguracionRegional& regional = prueba::kEstadosUnidos) {
  const EntornoCalc entorno{regional,
                            [](std::string_view nombre) {
                              return nombre == "es_ES" ? std::optional(prueba::kEspana)
                                                       : std::nullopt;
                            },
                            nullptr, nullptr};
  std::ostringstream out, err;
  const int estado = EjecutarCalc(args, entorno, out, err);
  return {estado, out.str(), err.str()};
}

const char* const kSalidaInicio =
    "alpha\t18.40\nmur\t7.57\ntgphir\t0.412\ngamma\t24.71\nmui\t6.14\ntgphii\t0.53\nVdcr\t549\n"
    "Iacr\t1372.27\nPr\t1098.0\nQr\t452.4\nIaci\t1372.27\nPi\t-1050.0\nQi\t555.4\n";

TEST(ZelkCalc, ValoresDelInicio) {
  const auto s = Ejecutar({});
  EXPECT_EQ(s.estado, 0);
  EXPECT_EQ(s.out, kSalidaInicio);
  EXPECT_EQ(s.err, "");
}

TEST(ZelkCalc, CamposTecleados) {
  const auto s = Ejecutar({"Rdc=12.345", "Idc=1000"});
  EXPECT_EQ(s.estado, 0);
  EXPECT_NE(s.out.find("Vdcr\t537.345\n"), std::string::npos) << s.out;
  EXPECT_NE(s.out.find("Iacr\t686.13\n"), std::string::npos) << s.out;
}

TEST(ZelkCalc, ConfiguracionPorNombre) {
  const auto s = Ejecutar({"--locale", "es_ES", "Rdc=12,345"});
  EXPECT_EQ(s.estado, 0);
  EXPECT_NE(s.out.find("Vdcr\t549,69\n"), std::string::npos) << s.out;
  EXPECT_EQ(Ejecutar({"--locale=es_ES"}).out.substr(0, 12), "alpha\t18,40\n");
}

TEST(ZelkCalc, PasadaRechazada) {
  const auto s = Ejecutar({"Nr=dos"});
  EXPECT_EQ(s.estado, 3);
  EXPECT_EQ(s.err,
            "ERROR EN DATOS. Se sobreescriben con los valores por defecto.\n"
            "zelk-calc: «Nr» = «dos» no es un número\n");
  EXPECT_EQ(s.out.substr(0, 12), "alpha\t18.26\n");
}

TEST(ZelkCalc, Ayuda) {
  const auto s = Ejecutar({"Nr=3", "--help"});
  EXPECT_EQ(s.estado, 0);
  EXPECT_EQ(s.out.rfind(kUsoCalc, 0), 0u);
  EXPECT_NE(s.out.find("Eaci_nom"), std::string::npos);
  EXPECT_EQ(s.err, "");
}

// The start-up texts as the window writes them under the settings in force: "3.88" under a
// decimal comma would read as 388.
TEST(ZelkCalc, AyudaConLosTextosDelInicioDeCadaConfiguracion) {
  const auto ingles = Ejecutar({"--help"});
  EXPECT_NE(ingles.out.find("(inicio: 3.88)"), std::string::npos) << ingles.out;
  for (const auto& s :
       {Ejecutar({"--help"}, prueba::kEspana), Ejecutar({"--locale", "es_ES", "--help"})}) {
    EXPECT_EQ(s.estado, 0);
    EXPECT_NE(s.out.find("(inicio: 3,88)"), std::string::npos) << s.out;
    EXPECT_EQ(s.out.find("3.88"), std::string::npos) << s.out;
  }
}

TEST(ZelkCalc, Version) {
  for (const auto& args : {std::vector<std::string_view>{"--version"}, {"Nr=2", "--version"}}) {
    const auto s = Ejecutar(args);
    EXPECT_EQ(s.estado, 0);
    EXPECT_EQ(s.out, "zelk-calc " ZELK_VERSION "\n");
    EXPECT_EQ(s.err, "");
  }
}

struct CasoUso {
  std::string nombre;
  std::vector<std::string_view> args;
  std::string motivo;
};

class ErroresDeUso : public testing::TestWithParam<CasoUso> {};

// Every usage error says what was wrong before the usage line, and nothing runs.
TEST_P(ErroresDeUso, NombranLoQueFalla) {
  const auto s = Ejecutar(GetParam().args);
  EXPECT_EQ(s.estado, 2);
  EXPECT_EQ(s.out, "");
  EXPECT_EQ(s.err, "zelk-calc: " + GetParam().motivo + "\n" + std::string(kUsoCalc) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Argumentos, ErroresDeUso,
    testing::Values(
        // A name typed as NAME=TEXT gets a column's hint.
        CasoUso{"DatoDesconocido", {"uacr=5"}, "no hay ningún dato «uacr»; ¿es el dato «Uacr»?"},
        CasoUso{
            "DatoConUnidad", {"Idc[A]=1000"}, "no hay ningún dato «Idc[A]»; ¿es el dato «Idc»?"},
        CasoUso{"DatoDeControl",
                {"vprog=500"},
                "no hay ningún dato «vprog»; ¿es el dato de control «Vprog»?"},
        CasoUso{"DatoConCirilica",
                {"\u0406dc=1000"},
                "no hay ningún dato «\u0406dc»; ¿es el dato «Idc»? (el nombre lleva U+0406)"},
        CasoUso{"DatoSinParecido", {"caso=1"}, "no hay ningún dato «caso»"},
        CasoUso{"ResultadoNoEsDato", {"alpha=5"}, "no hay ningún dato «alpha»"},
        CasoUso{"SinIgual", {"Nr"}, "argumento mal formado: «Nr» (se espera NOMBRE=TEXTO)"},
        CasoUso{"SinNombre", {"=5"}, "argumento mal formado: «=5» (se espera NOMBRE=TEXTO)"},
        CasoUso{"Suelto",
                {"Nr=2", "suelto"},
                "argumento mal formado: «suelto» (se espera NOMBRE=TEXTO)"},
        CasoUso{"OpcionDesconocida", {"--verbose"}, "opción desconocida: --verbose"},
        CasoUso{"OpcionDesconocidaConValor", {"--bogus=3"}, "opción desconocida: --bogus"},
        CasoUso{"OpcionCortaDesconocida", {"-x"}, "opción desconocida: -x"},
        CasoUso{"BanderasJuntas", {"-hx"}, "opción desconocida: -hx"},
        CasoUso{"FaltaElValor", {"--locale"}, "--locale: falta el valor"},
        CasoUso{"FaltaElBarrido", {"Nr=2", "--sweep"}, "--sweep: falta el valor"},
        CasoUso{"LocaleDesconocido",
                {"--locale", "xx_YY"},
                "--locale: no se conoce la configuración regional «xx_YY»"},
        CasoUso{"LocaleVacio", {"--locale", ""}, "--locale: el valor está vacío"},
        CasoUso{"LocaleVacioConIgual", {"--locale="}, "--locale: el valor está vacío"},
        CasoUso{"CsvVacio", {"--csv", ""}, "--csv: el valor está vacío"},
        CasoUso{"SalidaVacia", {"--sweep", "Idc=1:2:2", "-o", ""}, "-o: el valor está vacío"},
        CasoUso{"SalidaLargaVacia",
                {"--sweep", "Idc=1:2:2", "--output="},
                "--output: el valor está vacío"},
        CasoUso{"BarridoVacio", {"--sweep", ""}, "--sweep: el valor está vacío"},
        CasoUso{
            "GraficoVacio", {"--sweep", "Idc=1:2:2", "--plot", ""}, "--plot: el valor está vacío"},
        CasoUso{"BanderaConValor", {"--raw=1"}, "--raw no lleva valor"},
        CasoUso{"DosVeces", {"--csv", "a.csv", "--csv", "b.csv"}, "--csv: dada más de una vez"},
        CasoUso{"SalidaDosVeces",
                {"--sweep", "Idc=1:2:2", "-o", "a", "--output", "b"},
                "--output: dada más de una vez"},
        CasoUso{"TamanoSinGrafico",
                {"--sweep", "Idc=1:2:2", "--plot-size", "900x700"},
                "--plot-size va con --plot"},
        CasoUso{"RejillaSinTope",
                {"--sweep", "Idc=1:3000:10000000", "--sweep", "Rdc=0:20:10000000"},
                "la rejilla tendría 100000000000000 puntos; a lo sumo 10000000"},
        CasoUso{"RejillaJustoPorEncima",
                {"--sweep", "Idc=1:3000:5000", "--sweep", "Rdc=0:20:2001"},
                "la rejilla tendría 10005000 puntos; a lo sumo 10000000"},
        CasoUso{"GraficoDeFormatoDesconocido",
                {"--sweep", "Idc=1:2:2", "--plot", "x.gif"},
                "el gráfico ha de ser .svg o .png: «x.gif»"},
        CasoUso{"TapMargenConCero",
                {"--tap-for", "alpha=89", "--tap-step", "0.5", "--tap-range", "-1:1"},
                "--tap-range MIN:MAX: los taps son mayores que 0 y MIN <= MAX"},
        CasoUso{"TapMargenEnorme",
                {"--tap-for", "alpha=89", "--tap-step", "0.5", "--tap-range", "-1e308:1e308"},
                "--tap-range MIN:MAX: los taps son mayores que 0 y MIN <= MAX"},
        CasoUso{"TapMargenAlReves",
                {"--tap-for", "alpha=15", "--tap-step", "0.1", "--tap-range", "1.1:0.9"},
                "--tap-range MIN:MAX: los taps son mayores que 0 y MIN <= MAX"},
        CasoUso{"TapPasoDiminuto",
                {"--tap-for", "alpha=15", "--tap-step", "1e-320", "--tap-range", "0.9:1.1"},
                "--tap-step: el paso 9.99988867182683E-321 es demasiado pequeño para 0.9:1.1 "
                "(más de 1000000 posiciones)"},
        CasoUso{"TapPasoNegativo",
                {"--tap-for", "alpha=15", "--tap-step", "-0.1", "--tap-range", "0.9:1.1"},
                "--tap-step: el paso ha de ser mayor que 0"},
        CasoUso{"TapPasoSinMargen",
                {"--tap-for", "alpha=15", "--tap-step", "0.1"},
                "--tap-step PASO y --tap-range MIN:MAX van juntos, con números"}),
    prueba::PorNombre());

struct CasoTap {
  std::string nombre;
  std::vector<std::string_view> args;
  std::string err;
};

class TapInservible : public testing::TestWithParam<CasoTap> {};

// A tap that cannot be used is an error with its reason and status 3, never a tap printed with
// status 0.
TEST_P(TapInservible, DiceElMotivo) {
  const auto s = Ejecutar(GetParam().args);
  EXPECT_EQ(s.estado, 3);
  EXPECT_EQ(s.out, "");
  EXPECT_EQ(s.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Taps, TapInservible,
    testing::Values(
        CasoTap{
            "DatosRechazados",
            {"--tap-for", "alpha=15", "Nr=0"},
            "zelk-calc: ERROR EN DATOS: «Nr» = «0» no puede valer 0; no se busca ningún tapr\n"},
        CasoTap{"DatoQueNoEsNumero",
                {"--tap-for", "gamma=18", "Idc=mil"},
                "zelk-calc: ERROR EN DATOS: «Idc» = «mil» no es un número; no se busca ningún "
                "tapi\n"},
        CasoTap{"PosicionSinAngulo",
                {"--tap-for", "alpha=0", "--tap-step", "0.1", "--tap-range", "1:1.2"},
                "zelk-calc: con tapr = 1.1, alpha no se puede formar; ese tap no sirve\n"}),
    prueba::PorNombre());

// The tap sought needs no usable text of its own: it is what is being found.
TEST(ZelkCalc, ElTapBuscadoNoSeComprueba) {
  const auto s = Ejecutar({"--tap-for", "alpha=15", "tapr=0"});
  EXPECT_EQ(s.estado, 0) << s.err;
  EXPECT_TRUE(s.out.starts_with("tapr_exacto\t1.01798727339588\n")) << s.out;
}

// A build that draws no plots refuses --plot before any work and says so in its help.
TEST(ZelkCalc, SinGraficos) {
  const auto s = Ejecutar({"--sweep", "Idc=1:2:2", "--plot", "x.svg"});
  EXPECT_EQ(s.estado, 2);
  EXPECT_EQ(s.out, "");
  EXPECT_TRUE(
      s.err.starts_with("zelk-calc: --plot: esta versión de zelk-calc no dibuja gráficos\n"))
      << s.err;
  const auto ayuda = Ejecutar({"--help"}).out;
  EXPECT_NE(ayuda.find("  --plot ARCHIVO       esta versión de zelk-calc no dibuja gráficos\n"),
            std::string::npos);
  EXPECT_EQ(ayuda.find("--plot-size"), std::string::npos);
}

// Standard output that cannot be written is a failure, whatever the mode.
TEST(ZelkCalc, SalidaEstandarQueFalla) {
  const EntornoCalc entorno{prueba::kEstadosUnidos, nullptr, nullptr, nullptr};
  for (const auto& args : {std::vector<std::string_view>{},
                           {"--help"},
                           {"--version"},
                           {"--sweep", "Idc=1:2:3"},
                           {"--tap-for", "alpha=15"}}) {
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(EjecutarCalc(args, entorno, out, err), 2);
    EXPECT_TRUE(err.str().starts_with("zelk-calc: no se puede escribir en la salida estándar: "))
        << err.str();
  }
}

}  // namespace
}  // namespace zelk
